// The view actions, keys, wheel zones and mouse modes, driven by real input events on
// the window.

#include <cmath>
#include <numbers>
#include <vector>

#include <QWheelEvent>

#include "document/StreetStructure.h"
#include "render/DxRenderer.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/PlanSurface.h"
#include "shell/tools/MainPlanControls.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

constexpr double kTurn = std::numbers::pi / 60;

bool Near(double a, double b, double tolerance = 1e-4) { return std::fabs(a - b) <= tolerance * std::max(1.0, std::fabs(b)); }

}  // namespace

class NavigationTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    SetPlainView();
    form_->PlanChanged();
    Settle();
  }
  TPlanSurface& Surface() { return form_->Surface(); }
  double Ppu() { return Drawer().PixelsPerUnit(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(&Surface(), key, modifiers); }
  void Wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(at, Surface().mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    // Wheel events reach the window from the widget under the pointer; a synthesized one
    // does not travel up, so it goes to the window itself.
    QApplication::sendEvent(form_.get(), &event);
  }
};

TEST_F(NavigationTest, EveryShortcutDoesItsActionsEffect) {
  struct TCase {
    const char* Name;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    double Dx, Dy;  // centre change in pixels
    double Turn;
    double ScaleFactor;
  };
  const TCase cases[] = {
      {"Left", Qt::Key_Left, Qt::NoModifier, -100, 0, 0, 1},
      {"Right", Qt::Key_Right, Qt::NoModifier, 100, 0, 0, 1},
      {"Up", Qt::Key_Up, Qt::NoModifier, 0, 100, 0, 1},
      {"Down", Qt::Key_Down, Qt::NoModifier, 0, -100, 0, 1},
      {"Home", Qt::Key_Home, Qt::NoModifier, 0, 0, -kTurn, 1},
      {"End", Qt::Key_End, Qt::NoModifier, 0, 0, kTurn, 1},
      {"keypad +", Qt::Key_Plus, Qt::KeypadModifier, 0, 0, 0, std::numbers::sqrt2},
      {"keypad -", Qt::Key_Minus, Qt::KeypadModifier, 0, 0, 0, 1 / std::numbers::sqrt2},
      {"+ of the main keys does nothing", Qt::Key_Plus, Qt::NoModifier, 0, 0, 0, 1},
      {"Shift+Left is no shortcut", Qt::Key_Left, Qt::ShiftModifier, 0, 0, 0, 1},
  };
  for (const TCase& c : cases) {
    SetPlainView();
    const double ppu = Ppu();
    Key(c.Key, c.Modifiers);
    const TViewState view = Drawer().View();
    EXPECT_TRUE(Near(view.Centre.x, c.Dx / ppu)) << c.Name << ": x " << view.Centre.x;
    EXPECT_TRUE(Near(view.Centre.y, c.Dy / ppu)) << c.Name << ": y " << view.Centre.y;
    EXPECT_TRUE(Near(view.Rotation, c.Turn)) << c.Name << ": rotation " << view.Rotation;
    EXPECT_TRUE(Near(view.Scale, 0.01 * c.ScaleFactor)) << c.Name << ": scale " << view.Scale;
  }
}

TEST_F(NavigationTest, F3RunsTheOpenDialog) {
  prompts_->FilesToChoose = {DemoCopy("a.pln")};
  Key(Qt::Key_F3);
  WaitForOpening();
  EXPECT_EQ(Streets().StreetCount(), 1);
  EXPECT_EQ(Streets().CurrentFileName(), prompts_->FilesToChoose[0]);
}

TEST_F(NavigationTest, ScaleUpThenScaleDownReturnsTheScale) {
  Drawer().SetScale(0.0123f);
  Key(Qt::Key_Plus, Qt::KeypadModifier);
  Key(Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_NEAR(Drawer().Scale(), 0.0123f, 0.0123f * 1e-6f);
}

TEST_F(NavigationTest, ShiftsFollowTheRotation) {
  Drawer().SetView({{0.0f, 0.0f, 0.0f}, 0.01f, static_cast<float>(std::numbers::pi / 2)});
  const double ppu = Ppu();
  Drawer().ShiftPixels(100, 0);
  EXPECT_NEAR(Drawer().Centre().x, 0.0, 1e-4);
  EXPECT_NEAR(Drawer().Centre().y, -100 / ppu, 1e-3);
}

TEST_F(NavigationTest, ScaleDownStopsAtTheSmallestScaleButStillRedraws) {
  Drawer().SetScale(1e-6f);
  Settle();
  Key(Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(Drawer().Scale(), 1e-6f);
  EXPECT_TRUE(form_->NeedsRedraw());
}

TEST_F(NavigationTest, CtrlHomeFitsTheWholeStreet) {
  form_->OpenFiles({DemoCopy("a.pln")});
  Drawer().SetView({{5000.0f, 5000.0f, 0.0f}, 3.0f, 1.0f});
  Key(Qt::Key_Home, Qt::ControlModifier);
  const TViewState fitted = FitStreetViewTo(Drawer().Street(), Drawer().ViewportWidth(), Drawer().ViewportHeight());
  EXPECT_EQ(Drawer().Centre().x, fitted.Centre.x);
  EXPECT_EQ(Drawer().Scale(), fitted.Scale);
  EXPECT_EQ(Drawer().Rotation(), 0.0f);
}

// The whole street filled about half the window: its larger extent plus one unit was
// made half the width.
TEST_F(NavigationTest, CtrlHomeFillsTheWindowWithTheStreetButForAMarginOfAFewPerCent) {
  struct TCase {
    const char* What;
    float X, Y;  // the far corner of the street's points, the near one at the origin
    bool ByWidth;  // the extent that reaches its side first
  };
  const TCase cases[] = {{"a wide street", 100, 10, true}, {"a tall street", 10, 100, false},
                         {"a square street in a wide window", 100, 100, false}};
  const double w = Drawer().ViewportWidth(), h = Drawer().ViewportHeight();
  ASSERT_GT(w, h);
  for (const TCase& c : cases) {
    Streets().NewStreet();
    Streets().CurrentStreet().Points().NewPoint({0, 0, 0});
    Streets().CurrentStreet().Points().NewPoint({c.X, c.Y, 0});
    Key(Qt::Key_Home, Qt::ControlModifier);
    // The street's bounds on the screen, in device pixels, as shares of the viewport.
    const double ppu = Ppu(), cx = Drawer().Centre().x, cy = Drawer().Centre().y;
    const double left = w / 2 - cx * ppu, right = w / 2 + (c.X - cx) * ppu;
    const double top = h / 2 - (c.Y - cy) * ppu, bottom = h / 2 + cy * ppu;
    const double across = (right - left) / w, up = (bottom - top) / h;
    const double share = c.ByWidth ? across : up;
    EXPECT_GE(share, 0.9) << c.What;
    EXPECT_LE(share, 0.97) << c.What;
    EXPECT_LE(c.ByWidth ? up : across, share + 1e-6) << c.What << ": the other extent fits too";
    EXPECT_NEAR(left, w - right, 1.0) << c.What << ": centred across";
    EXPECT_NEAR(top, h - bottom, 1.0) << c.What << ": centred up";
  }
}

TEST_F(NavigationTest, FunctionKeysChooseTheMouseModesWithTheirCursors) {
  TMainPlanControls& controls = form_->Controls();
  const std::pair<Qt::Key, TMouseEvents*> cases[] = {{Qt::Key_F5, &controls.ShiftViewMode()},
                                                     {Qt::Key_F6, &controls.SelectAreaMode()},
                                                     {Qt::Key_F7, &controls.ZoomMode()},
                                                     {Qt::Key_F8, &controls.RotateMode()}};
  for (const auto& [key, mode] : cases) {
    Key(key);
    EXPECT_EQ(form_->MouseMode(), mode) << key;
    EXPECT_FALSE(Surface().cursor().pixmap().isNull()) << "mode " << key << " shows its own cursor";
  }
}

TEST_F(NavigationTest, QHeldInTheZoomModeGivesTheShiftModeAndReleaseRestoresIt) {
  TMainPlanControls& controls = form_->Controls();
  Key(Qt::Key_F7);
  QTest::keyPress(&Surface(), Qt::Key_Q);
  EXPECT_EQ(form_->MouseMode(), &controls.ShiftViewMode());
  QTest::keyPress(&Surface(), Qt::Key_W);
  EXPECT_EQ(form_->MouseMode(), &controls.ShiftViewMode()) << "W does nothing while Q is held";
  QTest::keyRelease(&Surface(), Qt::Key_Q);
  EXPECT_EQ(form_->MouseMode(), &controls.ZoomMode());
}

TEST_F(NavigationTest, DraggingKeepsTheGrabbedPointUnderThePointer) {
  Drawer().SetRotation(0.7f);
  Key(Qt::Key_F5);
  const QPoint from(300, 200), to(420, 330);
  const TXYZ grabbed = Drawer().ScreenToWorld(from.x(), from.y());
  QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&Surface(), QPoint(350, 250));
  QTest::mouseMove(&Surface(), to);
  QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, to);
  const TXYZ under = Drawer().ScreenToWorld(to.x(), to.y());
  EXPECT_NEAR(under.x, grabbed.x, 0.5 / Ppu());
  EXPECT_NEAR(under.y, grabbed.y, 0.5 / Ppu());
}

// At start no mouse mode is chosen, and dragging the plan did nothing.
TEST_F(NavigationTest, WithNoModeChosenALeftDragPansAndNothingElseDoes) {
  ASSERT_EQ(form_->MouseMode(), nullptr);
  struct TCase {
    const char* What;
    Qt::MouseButton Button;
    Qt::KeyboardModifiers Modifiers;
    bool Pans;
  };
  const TCase cases[] = {{"left", Qt::LeftButton, Qt::NoModifier, true},
                         {"right", Qt::RightButton, Qt::NoModifier, false},
                         {"shift and left", Qt::LeftButton, Qt::ShiftModifier, false}};
  for (const TCase& c : cases) {
    SetPlainView();
    const QPoint from(300, 200), to(420, 330);
    const TXYZ grabbed = Drawer().ScreenToWorld(from.x(), from.y());
    QTest::mousePress(&Surface(), c.Button, c.Modifiers, from);
    QTest::mouseMove(&Surface(), to);
    QTest::mouseRelease(&Surface(), c.Button, c.Modifiers, to);
    const TXYZ under = Drawer().ScreenToWorld(to.x(), to.y());
    if (c.Pans) {
      EXPECT_NEAR(under.x, grabbed.x, 0.5 / Ppu()) << c.What;
      EXPECT_NEAR(under.y, grabbed.y, 0.5 / Ppu()) << c.What;
    } else {
      EXPECT_EQ(Drawer().Centre().x, 0.0f) << c.What;
      EXPECT_EQ(Drawer().Centre().y, 0.0f) << c.What;
    }
  }
  EXPECT_EQ(form_->MouseMode(), nullptr) << "no mode is chosen by dragging";
  EXPECT_TRUE(Surface().cursor().pixmap().isNull()) << "the plain cursor stays";
}

TEST_F(NavigationTest, ARightButtonDragMovesNothingInTheShiftMode) {
  Key(Qt::Key_F5);
  QTest::mousePress(&Surface(), Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
  QTest::mouseMove(&Surface(), QPoint(400, 300));
  QTest::mouseRelease(&Surface(), Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  EXPECT_EQ(Drawer().Centre().x, 0.0f);
  EXPECT_EQ(Drawer().Centre().y, 0.0f);
}

TEST_F(NavigationTest, ASelectionOf19PixelsDoesNothingAnd20PixelsZooms) {
  struct TCase {
    int Width, Height;
    bool Zooms;
  };
  for (const TCase& c : {TCase{19, 40, false}, TCase{40, 19, false}, TCase{20, 20, true}, TCase{200, 100, true}}) {
    SetPlainView();
    Key(Qt::Key_F6);
    const QPoint from(100, 100), to(100 + c.Width, 100 + c.Height);
    const TXYZ middle = Drawer().ScreenToWorld((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
    QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&Surface(), to);
    QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, to);
    const double w = Drawer().ViewportWidth(), h = Drawer().ViewportHeight();
    const double factor = c.Zooms ? std::min(h / c.Height, w / c.Width) : 1.0;
    EXPECT_TRUE(Near(Drawer().Scale(), 0.01 * factor)) << c.Width << "x" << c.Height << ": " << Drawer().Scale();
    EXPECT_NEAR(Drawer().Centre().x, c.Zooms ? middle.x : 0.0f, 1e-3) << c.Width << "x" << c.Height;
    EXPECT_NEAR(Drawer().Centre().y, c.Zooms ? middle.y : 0.0f, 1e-3) << c.Width << "x" << c.Height;
  }
}

TEST_F(NavigationTest, ZoomModeDoublesTheScaleFrom100To200PixelsAndIgnoresTheMiddle) {
  Key(Qt::Key_F7);
  const int w = Drawer().ViewportWidth(), h = Drawer().ViewportHeight();
  const QPoint middle(w / 2, h / 2);
  QTest::mousePress(&Surface(), Qt::RightButton, Qt::NoModifier, middle + QPoint(100, 0));
  QTest::mouseMove(&Surface(), middle + QPoint(200, 0));
  QTest::mouseRelease(&Surface(), Qt::RightButton, Qt::NoModifier, middle + QPoint(200, 0));
  EXPECT_TRUE(Near(Drawer().Scale(), 0.02)) << "any button zooms: " << Drawer().Scale();

  SetPlainView();
  QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(w / 10 - 1, 0));
  QTest::mouseMove(&Surface(), middle + QPoint(300, 0));
  QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(300, 0));
  EXPECT_EQ(Drawer().Scale(), 0.01f) << "a press near the middle starts nothing";
}

TEST_F(NavigationTest, RotateModeTurnsThePlanWithThePointer) {
  Key(Qt::Key_F8);
  const int w = Drawer().ViewportWidth(), h = Drawer().ViewportHeight();
  const QPoint middle(w / 2, h / 2);
  // From the right of the middle to below it: a quarter turn clockwise on the screen.
  QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(100, 0));
  QTest::mouseMove(&Surface(), middle + QPoint(0, 100));
  QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(0, 100));
  EXPECT_NEAR(Drawer().Rotation(), -std::numbers::pi / 2, 0.02);
}

TEST_F(NavigationTest, AnArrowKeyWithAButtonHeldOnlyNudgesThePointer) {
  QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
  Key(Qt::Key_Left);
  QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
  EXPECT_EQ(Drawer().Centre().x, 0.0f);
}

TEST_F(NavigationTest, TheWheelActsByTheNineZones) {
  struct TCase {
    const char* Zone;
    double X, Y;  // fraction of the surface
    double Dx, Dy, Turn;
  };
  // One notch forward: e = 2, shifts of 100 pixels, turns of 2 degrees.
  const double t = 2 * std::numbers::pi / 180;
  const TCase cases[] = {
      {"top left", 0.05, 0.05, 0, 0, -t},     {"top", 0.5, 0.05, 0, -100, 0},      {"top right", 0.95, 0.05, 0, 0, t},
      {"left", 0.05, 0.5, 100, 0, 0},         {"right", 0.95, 0.5, -100, 0, 0},    {"bottom left", 0.05, 0.95, 0, 0, t},
      {"bottom", 0.5, 0.95, 0, 100, 0},       {"bottom right", 0.95, 0.95, 0, 0, -t},
  };
  const QSize size = Surface().size();
  for (const TCase& c : cases) {
    SetPlainView();
    const double ppu = Ppu();
    Wheel(QPoint(static_cast<int>(size.width() * c.X), static_cast<int>(size.height() * c.Y)), 120);
    const TViewState view = Drawer().View();
    EXPECT_TRUE(Near(view.Centre.x, c.Dx / ppu)) << c.Zone << ": x " << view.Centre.x;
    EXPECT_TRUE(Near(view.Centre.y, c.Dy / ppu)) << c.Zone << ": y " << view.Centre.y;
    EXPECT_TRUE(Near(view.Rotation, c.Turn)) << c.Zone << ": rotation " << view.Rotation;
  }
}

TEST_F(NavigationTest, TheWheelInTheMiddleZoomsAboutThePointer) {
  const QPoint at(300, 250);
  const TXYZ before = Drawer().ScreenToWorld(at.x(), at.y());
  Wheel(at, 120, Qt::ControlModifier);
  EXPECT_TRUE(Near(Drawer().Scale(), 0.01 * std::pow(1.1, -5), 1e-5)) << Drawer().Scale();
  const TXYZ after = Drawer().ScreenToWorld(at.x(), at.y());
  EXPECT_NEAR(after.x, before.x, 1.0 / Ppu());
  EXPECT_NEAR(after.y, before.y, 1.0 / Ppu());
}

TEST_F(NavigationTest, AWheelTurnOutsideTheSurfaceIsNotHandled) {
  Settle();
  Wheel(QPoint(-5, 100), 120);
  EXPECT_FALSE(form_->NeedsRedraw());
  EXPECT_EQ(Drawer().Scale(), 0.01f);
}

// Only the sign of each wheel event counted: a touchpad sending a notch in four parts
// zoomed four full steps.
TEST_F(NavigationTest, TheWheelStepsOncePerNotchOfAngleHoweverTheEventsSplitIt) {
  struct TCase {
    const char* What;
    std::vector<int> Deltas;
    int Steps;
  };
  // In order: the angle left over from one case counts in the next.
  const TCase cases[] = {
      {"a notch in four parts", {30, 30, 30, 30}, 1},
      {"a standard notch", {120}, 1},
      {"two notches at once", {240}, 2},
      {"backwards in three parts", {-40, -40, -40}, -1},
      {"turning back drops the part of a notch", {100, -100}, 0},
      {"the part left completes with the next", {-20}, -1},
  };
  const QPoint middle(Surface().width() / 2, Surface().height() / 2);
  for (const TCase& c : cases) {
    SetPlainView();
    for (const int delta : c.Deltas) Wheel(middle, delta);
    EXPECT_TRUE(Near(Drawer().Scale(), 0.01 * std::pow(1.1, -2 * c.Steps), 1e-5)) << c.What << ": " << Drawer().Scale();
  }
}

}  // namespace vellmar::test
