// The layers panel on the demo street, through the real window: its check boxes, double
// clicks and "Show all" button change what the plan draws, its counts follow the tabs.
// The demo's cross-section (metres): houses at 20..140 × -34..-20, the southern lawn at
// y -14..-11, the southern carriageway at y -11..-4.

#include <QDockWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "document/ItemList.h"
#include "document/LayerChoice.h"
#include "document/StreetStructure.h"
#include "shell/plan/PlanSurface.h"
#include "shell/tools/LayersPanel.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

constexpr int kRoadway = 2, kLawn = 4, kHouse = 6;

class LayersPanelTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFilesInBackground({DemoCopy("demo.pln")});
    WaitForOpening();
    ASSERT_SOON(Drawer().Street().MainAxis() != nullptr, 10000);
    // The toolbar's toggle (Ctrl+L) shows the panel.
    QTest::keyClick(form_.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_SOON(Panel().Dock().isVisible(), 5000);
  }
  TLayersPanel& Panel() { return *form_->findChild<TLayersPanel*>(); }
  QTreeWidget& List() { return Panel().List(); }
  QWidget* Viewport() { return List().viewport(); }
  QRect RowRect(int kind) { return List().visualItemRect(Panel().Row(kind)); }
  Qt::CheckState Check(int kind) { return Panel().Row(kind)->checkState(TLayersPanel::kNameColumn); }
  // A real click on the row's check box, at the left of its name.
  void ClickCheckBox(int kind) {
    List().scrollToItem(Panel().Row(kind));
    const QRect row = RowRect(kind);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(row.left() + 10, row.center().y()));
  }
  void DoubleClickName(int kind) {
    List().scrollToItem(Panel().Row(kind));
    const QRect row = RowRect(kind);
    const QPoint at(row.left() + 80, row.center().y());
    // The click a double click starts with, which the test library may leave out.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(Viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }
  // The square of 12 × 12 device pixels around a world point, rotation 0.
  QImage Square(const QImage& plan, double x, double y) {
    const TXYZ centre = Drawer().Centre();
    const double ppu = Drawer().PixelsPerUnit();
    const int px = static_cast<int>(plan.width() / 2 + (x - centre.x) * ppu);
    const int py = static_cast<int>(plan.height() / 2 - (y - centre.y) * ppu);
    return plan.copy(px - 6, py - 6, 12, 12);
  }
  QImage Plan() {
    form_->PlanChanged();
    Settle();
    return form_->Surface().grabFramebuffer();
  }
};

TEST_F(LayersPanelTest, UntickingAKindTakesItsPixelsOffThePlanAndTickingBringsThemBack) {
  struct TCase {
    const char* Name;
    int Kind;
    double X, Y;  // inside an item of the kind
    double OtherX, OtherY;  // where the kind is not
  };
  const TCase cases[] = {
      {"house", kHouse, 80, -27, 80, -16},
      {"lawn", kLawn, 230, -12.5, 230, -16},
      {"carriageway", kRoadway, 210, -9.5, 210, -16},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Drawer().SetView({{static_cast<float>(c.X), static_cast<float>(c.Y), 0}, 0.05f, 0});
    const QImage shown = Plan();
    ASSERT_EQ(Check(c.Kind), Qt::Checked);
    ClickCheckBox(c.Kind);
    ASSERT_EQ_SOON(form_->VisibleLayers().Contains(c.Kind), false);
    EXPECT_EQ(Check(c.Kind), Qt::Unchecked);
    const QImage hidden = Plan();
    int changed = 0;
    const QImage before = Square(shown, c.X, c.Y), after = Square(hidden, c.X, c.Y);
    for (int y = 0; y < before.height(); ++y) {
      for (int x = 0; x < before.width(); ++x) changed += before.pixel(x, y) != after.pixel(x, y);
    }
    EXPECT_GT(changed, before.width() * before.height() * 3 / 4);
    EXPECT_EQ(Square(hidden, c.OtherX, c.OtherY), Square(shown, c.OtherX, c.OtherY)) << "other kinds stay";
    ClickCheckBox(c.Kind);
    ASSERT_EQ_SOON(form_->VisibleLayers().Contains(c.Kind), true);
    EXPECT_EQ(Square(Plan(), c.X, c.Y), before);
  }
}

TEST_F(LayersPanelTest, CountsAreTheCurrentStreetsAndFollowTheTabs) {
  const auto expectCounts = [&](TStreetStructure& street) {
    for (int kind = 0; kind < kKindCount; ++kind) {
      EXPECT_EQ(Panel().Row(kind)->text(TLayersPanel::kCountColumn), QString::number(street.ItemList(kind).Count()))
          << kind;
    }
  };
  TStreetStructure& demo = Drawer().Street();
  ASSERT_SOON(Panel().Row(kHouse)->text(TLayersPanel::kCountColumn) == QLatin1String("4"), 5000);
  expectCounts(demo);
  // A new empty street beside it; the tabs are switched with the mouse.
  Streets().SetCurrentIndex(Streets().NewStreet());
  form_->PlanChanged();
  ASSERT_SOON(Panel().Row(kHouse)->text(TLayersPanel::kCountColumn) == QLatin1String("0"), 5000);
  ClickCheckBox(kLawn);
  ASSERT_EQ_SOON(form_->VisibleLayers().Contains(kLawn), false);
  QTabBar& tabs = form_->StreetsTab();
  QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, tabs.tabRect(0).center());
  ASSERT_SOON(&Drawer().Street() == &demo, 5000);
  ASSERT_SOON(Panel().Row(kHouse)->text(TLayersPanel::kCountColumn) == QLatin1String("4"), 5000);
  expectCounts(demo);
  // The kinds shown are the window's: the other tab shows the same ones.
  EXPECT_EQ(Check(kLawn), Qt::Unchecked);
  EXPECT_EQ(Check(kHouse), Qt::Checked);
}

TEST_F(LayersPanelTest, DoubleClickShowsOnlyThatKindAndAgainWhatWasShown) {
  const TKindSet start = form_->VisibleLayers();
  ASSERT_FALSE(start.Contains(34)) << "the area-calculation kind starts hidden";
  DoubleClickName(kLawn);
  ASSERT_EQ_SOON(form_->VisibleLayers(), TKindSet{kLawn});
  for (int kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(Check(kind), kind == kLawn ? Qt::Checked : Qt::Unchecked) << kind;
  // Only the lawn is drawn: the carriageway beside it shows the background.
  Drawer().SetView({{230, -11, 0}, 0.05f, 0});
  const QImage alone = Plan();
  DoubleClickName(kLawn);
  ASSERT_EQ_SOON(form_->VisibleLayers(), start);
  EXPECT_EQ(Check(kHouse), Qt::Checked);
  EXPECT_NE(Square(Plan(), 230, -9.5), Square(alone, 230, -9.5));

  QTest::mouseClick(List().parentWidget()->findChild<QPushButton*>("showAllLayers"), Qt::LeftButton);
  ASSERT_EQ_SOON(form_->VisibleLayers(), TLayerChoice::Every());
  EXPECT_EQ(Check(34), Qt::Checked);
}

TEST_F(LayersPanelTest, ThePanelComesBackWhereItWasAfterARestart) {
  Panel().Dock().setFloating(true);
  ASSERT_SOON(Panel().Dock().isFloating(), 5000);
  form_.reset();
  MakeForm();
  ASSERT_TRUE(Panel().Dock().isVisible());
  EXPECT_TRUE(Panel().Dock().isFloating());
  QTest::keyClick(form_.get(), Qt::Key_L, Qt::ControlModifier);
  ASSERT_SOON(!Panel().Dock().isVisible(), 5000);
  form_.reset();
  MakeForm();
  EXPECT_FALSE(Panel().Dock().isVisible());
}

}  // namespace
}  // namespace vellmar::test
