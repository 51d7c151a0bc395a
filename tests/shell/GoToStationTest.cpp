// Going to a station through Ctrl+G on the demo street, whose axis runs east along y = 0
// from x = 0 to 300, and on a copy whose axis is turned.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "ShellFixture.h"
#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"

namespace vellmar::test {
namespace {

class GoToStationTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFiles({DemoCopy("demo.pln")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Drawer().Street().MainAxis() != nullptr; }, 10000));
    Drawer().SetView({{10, 20, 0}, 0.05f, 1.0f});
    form_->PlanChanged();
    Settle();
  }
  QDialog* Form() { return form_->findChild<QDialog*>("goToStationForm"); }
  // Ctrl+G, the text typed into the field and Enter, as a user does.
  void Type(const QString& text) {
    QTest::keyClick(form_.get(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form() != nullptr && Form()->isVisible(); }, 5000));
    auto* field = Form()->findChild<QLineEdit*>("station");
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 5000));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    // The test library types ASCII only; the rest goes in as an input method would.
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
      QTest::keyClicks(field, text);
    } else {
      field->insert(text);
    }
    QTest::keyClick(field, Qt::Key_Return);
  }
  QString Error() { return Form()->findChild<QLabel*>("error")->text(); }
};

TEST_F(GoToStationTest, CentresOnTheAxisThereWithTheAxisRunningLeftToRight) {
  struct TCase {
    QString Text;
    float X;
  };
  const TCase cases[] = {{"0+50", 50}, {"1+23.45", 123.45f}, {"ПК 2+00", 200}, {"-0+10", -10}, {"310", 310}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    Type(c.Text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form()->isVisible(); }, 5000));
    EXPECT_NEAR(Drawer().Centre().x, c.X, 1e-3);
    EXPECT_NEAR(Drawer().Centre().y, 0.0, 1e-4);
    EXPECT_NEAR(Drawer().Rotation(), 0.0, 1e-6);
    EXPECT_EQ(Drawer().Scale(), 0.05f);  // the scale stays
  }
}

TEST_F(GoToStationTest, TurnsThePlanWhereTheAxisRunsAnotherWay) {
  // The axis turned to run north-east: (0, 0) to (30, 40), 50 m long.
  TAbstractItem* axis = Drawer().Street().MainAxis();
  axis->Points().SetVertex(1, {30, 40, 0});
  Type("0+25");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form()->isVisible(); }, 5000));
  EXPECT_NEAR(Drawer().Centre().x, 15, 1e-4);
  EXPECT_NEAR(Drawer().Centre().y, 20, 1e-4);
  // The axis direction, turned as the view turns the plan, points right on the screen.
  const TXYZ onScreen = RotateAngle(TXYZ{0.6f, 0.8f, 0}, Drawer().Rotation());
  EXPECT_NEAR(onScreen.x, 1.0, 1e-6);
  EXPECT_NEAR(onScreen.y, 0.0, 1e-6);
}

TEST_F(GoToStationTest, WhatIsNotAStationIsNamedAndTheViewStays) {
  const TViewState before = Drawer().View();
  Type("1,5");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Error().isEmpty(); }, 5000));
  EXPECT_TRUE(Error().contains("1,5")) << Error().toStdString();
  EXPECT_TRUE(Form()->isVisible());
  EXPECT_EQ(Drawer().Centre().x, before.Centre.x);
  EXPECT_EQ(Drawer().Rotation(), before.Rotation);
  // Fixed in place, it goes.
  Type("0+50");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form()->isVisible(); }, 5000));
  EXPECT_NEAR(Drawer().Centre().x, 50, 1e-3);
}

TEST_F(GoToStationTest, AStreetWithoutAnAxisSaysSo) {
  form_->CloseAllMIClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Drawer().Street().MainAxis() == nullptr; }, 5000));
  const TViewState before = Drawer().View();
  Type("0+50");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Error().contains("оси"); }, 5000));
  EXPECT_EQ(Drawer().Centre().x, before.Centre.x);
}

}  // namespace
}  // namespace vellmar::test
