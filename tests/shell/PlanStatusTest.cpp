// The status bar under the plan, read while real pointer moves cross the demo street.

#include <QLabel>
#include <QScreen>
#include <QStatusBar>

#include <cmath>
#include <numbers>
#include <string>

#include "document/StreetStructure.h"
#include "shell/plan/PlanSurface.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

class PlanStatusTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFiles({DemoCopy("demo.pln")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Drawer().Street().MainAxis() != nullptr; }, 10000));
  }
  QString Text(const char* label) { return form_->statusBar()->findChild<QLabel*>(label)->text(); }
  bool Shown(const char* label) { return !form_->statusBar()->findChild<QLabel*>(label)->isHidden(); }
  // Moves the pointer over the world point; the view has no rotation.
  void PointAt(double x, double y) { QTest::mouseMove(&form_->Surface(), PixelOver(x, y)); }
};

TEST_F(PlanStatusTest, PointerMovesShowTheWorldPointAndItsStationWithoutARedraw) {
  // 10 device pixels a metre, so every whole metre is a whole pixel.
  Drawer().SetView({{150, 0, 0}, static_cast<float>(20.0 / Drawer().ViewportWidth()), 0});
  form_->PlanChanged();
  Settle();
  struct TCase {
    double X, Y;
    QString Coordinates, Station;
  };
  // The demo's axis runs east along y = 0 from x = 0 to 300; south is on its right.
  const TCase cases[] = {
      {123, -3, "X 123.00  Y -3.00", "ПК 1+23.00, +3.00 м справа"},
      {150, 12, "X 150.00  Y 12.00", "ПК 1+50.00, -12.00 м слева"},
      {140, 0, "X 140.00  Y 0.00", "ПК 1+40.00, 0.00 м"},
  };
  const int frames = form_->FrameCount();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Station.toStdString());
    PointAt(c.X, c.Y);
    ASSERT_EQ_SOON(Text("coordinates"), c.Coordinates);
    EXPECT_EQ(Text("station"), c.Station);
    EXPECT_TRUE(Shown("station"));
  }
  QTest::qWait(50);
  EXPECT_EQ(form_->FrameCount(), frames) << "a pointer move redrew the plan";
}

TEST_F(PlanStatusTest, BeyondTheAxisEndsTheEndSegmentsRunOn) {
  Drawer().SetView({{0, 0, 0}, static_cast<float>(20.0 / Drawer().ViewportWidth()), 0});
  form_->PlanChanged();
  Settle();
  PointAt(-12, 2);
  ASSERT_EQ_SOON(Text("station"), QString("ПК -0+12.00, -2.00 м слева"));
  Drawer().SetView({{300, 0, 0}, static_cast<float>(20.0 / Drawer().ViewportWidth()), 0});
  form_->PlanChanged();
  Settle();
  PointAt(305, -1);
  ASSERT_EQ_SOON(Text("station"), QString("ПК 3+05.00, +1.00 м справа"));
}

TEST_F(PlanStatusTest, ScaleAtTheScreensSizeAndRotationFollowTheView) {
  const QScreen* screen = form_->Surface().screen();
  const double pixelsPerMetre = screen->physicalDotsPerInch() * form_->Surface().devicePixelRatioF() / 0.0254;
  // One metre of the plan on 2 mm of screen: 1:500.
  const double ppu = pixelsPerMetre / 500.0;
  Drawer().SetView({{150, 0, 0}, static_cast<float>(2.0 * ppu / Drawer().ViewportWidth()),
                    static_cast<float>(-30.0 * std::numbers::pi / 180.0)});
  form_->PlanChanged();
  ASSERT_EQ_SOON(Text("scale"), QString("1:500"));
  EXPECT_EQ(Text("rotation"), QString("330.0°"));
  Drawer().SetRotation(static_cast<float>(2 * std::numbers::pi - 0.0001));
  form_->PlanChanged();
  ASSERT_EQ_SOON(Text("rotation"), QString("0.0°"));
}

TEST_F(PlanStatusTest, AStreetWithoutAnAxisShowsNoStation) {
  PointAt(10, 10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("station"); }, 5000));
  form_->CloseAllMIClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Drawer().Street().MainAxis() == nullptr; }, 5000));
  PointAt(10, 10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Shown("station"); }, 5000));
  EXPECT_FALSE(Text("coordinates").isEmpty());
}

}  // namespace
}  // namespace vellmar::test
