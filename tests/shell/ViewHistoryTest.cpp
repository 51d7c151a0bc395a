// Back and Forward through the views of a street, with real keys, drags and mouse buttons.

#include <QAction>
#include <QTabBar>

#include "document/StreetStructure.h"
#include "shell/plan/PlanSurface.h"
#include "shell/tools/ViewHistoryActions.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

class ViewHistoryTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFiles({DemoCopy("demo.pln")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Drawer().Street().MainAxis() != nullptr; }, 10000));
    // The view the street opened with comes first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return History().Count() == 1; }, 10000));
  }
  // A view set as go-to or "show all" sets it, then left to stand until it is recorded.
  void Look(const TViewState& view) {
    const size_t before = History().Count();
    Drawer().SetView(view);
    form_->PlanChanged();
    ASSERT_EQ_SOON(History().Count(), before + 1);
  }
  TViewHistory& History() { return form_->findChild<TViewHistoryActions*>("viewHistory")->History(); }
  static void ExpectSame(const TViewState& a, const TViewState& b) {
    EXPECT_EQ(a.Centre.x, b.Centre.x);
    EXPECT_EQ(a.Centre.y, b.Centre.y);
    EXPECT_EQ(a.Scale, b.Scale);
    EXPECT_EQ(a.Rotation, b.Rotation);
  }
  void Key(int key) { QTest::keyClick(form_.get(), static_cast<Qt::Key>(key), Qt::AltModifier); }
};

TEST_F(ViewHistoryTest, BackAndForwardReturnTheExactViews) {
  const TViewState a{{10.25f, -3.5f, 0}, 0.031f, 0.3f};
  const TViewState b{{150, 7, 0}, 0.012f, -1.1f};
  Look(a);
  Look(b);
  // A pan by a real drag in the shift mode ends a third view.
  QTest::keyClick(form_.get(), Qt::Key_F5);
  QTest::mousePress(&form_->Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  QTest::mouseMove(&form_->Surface(), QPoint(350, 240));
  QTest::mouseMove(&form_->Surface(), QPoint(420, 300));
  QTest::mouseRelease(&form_->Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(420, 300));
  const TViewState panned = Drawer().View();
  ASSERT_NE(panned.Centre.x, b.Centre.x);
  ASSERT_EQ_SOON(History().Count(), size_t{4});  // the view the street opened with, a, b and the pan

  Key(Qt::Key_Left);
  ASSERT_EQ_SOON(Drawer().Centre().x, b.Centre.x);
  ExpectSame(Drawer().View(), b);
  Key(Qt::Key_Left);
  ASSERT_EQ_SOON(Drawer().Centre().x, a.Centre.x);
  ExpectSame(Drawer().View(), a);
  // Standing on a view Back showed records nothing new.
  QTest::qWait(TViewHistoryActions::kSettleMs * 2);
  EXPECT_EQ(History().Count(), size_t{4});
  Key(Qt::Key_Right);
  ASSERT_EQ_SOON(Drawer().Centre().x, b.Centre.x);
  ExpectSame(Drawer().View(), b);
  // The mouse's forward button over the plan.
  QTest::mouseClick(&form_->Surface(), Qt::ForwardButton, Qt::NoModifier, QPoint(200, 200));
  ASSERT_EQ_SOON(Drawer().Centre().x, panned.Centre.x);
  ExpectSame(Drawer().View(), panned);
  QTest::mouseClick(&form_->Surface(), Qt::BackButton, Qt::NoModifier, QPoint(200, 200));
  ASSERT_EQ_SOON(Drawer().Centre().x, b.Centre.x);
}

TEST_F(ViewHistoryTest, AViewLeftAMomentAgoIsWhereForwardReturns) {
  const TViewState a{{10, 0, 0}, 0.02f, 0};
  const TViewState b{{200, 0, 0}, 0.02f, 0.5f};
  Look(a);
  // Back at once, before the new view has stood still.
  Drawer().SetView(b);
  form_->PlanChanged();
  Key(Qt::Key_Left);
  ASSERT_EQ_SOON(Drawer().Centre().x, a.Centre.x);
  Key(Qt::Key_Right);
  ASSERT_EQ_SOON(Drawer().Centre().x, b.Centre.x);
  ExpectSame(Drawer().View(), b);
}

TEST_F(ViewHistoryTest, EachStreetHasItsOwnHistory) {
  const TViewState a{{10, 0, 0}, 0.02f, 0};
  const TViewState b{{20, 0, 0}, 0.02f, 0};
  Look(a);
  Look(b);
  form_->OpenFiles({DemoCopy("second.pln")});
  ASSERT_EQ_SOON(Streets().StreetCount(), 2);
  ASSERT_EQ_SOON(History().Count(), size_t{1});
  const TViewState opened = Drawer().View();
  const TViewState second{{250, 5, 0}, 0.04f, 0.2f};
  ASSERT_NE(opened.Centre.x, second.Centre.x);
  Look(second);
  Key(Qt::Key_Left);  // the second street's first view is the one it opened with
  ASSERT_EQ_SOON(Drawer().Centre().x, opened.Centre.x);
  ExpectSame(Drawer().View(), opened);
  form_->StreetsTab().setCurrentIndex(0);
  ASSERT_EQ_SOON(Drawer().Centre().x, b.Centre.x);
  Key(Qt::Key_Left);
  ASSERT_EQ_SOON(Drawer().Centre().x, a.Centre.x);
}

}  // namespace
}  // namespace vellmar::test
