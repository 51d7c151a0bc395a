// Identifying and measuring on the demo street with real clicks in the real window. The
// demo's cross-section (south to north): sidewalk -18..-14, lawn -14..-11, carriageway
// -11..-4, median, carriageway 4..11, lawn 11..14 (it ends at x = 260), sidewalk 14..18;
// curbs at y = ±11; a crossing sign with its plate (5.19.1, 4.7 m square) mounted at
// (146, -16.5), over the southern sidewalk; a speed limit painted at (40, -9.25).

#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "shell/plan/MouseEvents.h"
#include "shell/plan/PlanSurface.h"
#include "shell/tools/IdentifyTool.h"
#include "shell/tools/MeasureTool.h"
#include "shell/ui/Translation.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

class IdentifyMeasureTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFiles({DemoCopy("demo.pln")});
    ASSERT_SOON(Drawer().Street().MainAxis() != nullptr, 10000);
  }
  // The view centred on the point at the pixels a metre, unturned.
  void View(float x, float y, double pixelsPerMetre) {
    Drawer().SetView({{x, y, 0}, static_cast<float>(2.0 * pixelsPerMetre / Drawer().ViewportWidth()), 0});
    form_->PlanChanged();
    Settle();
  }
  void Click(double x, double y, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseMove(&form_->Surface(), PixelOver(x, y));
    QTest::mouseClick(&form_->Surface(), button, modifiers, PixelOver(x, y));
  }
  // The value the panel shows for a field, nothing when it has no such row.
  std::optional<QString> Row(const QString& name) {
    auto* table = form_->findChild<QTableWidget*>("identifyTable");
    for (int row = 0; row < table->rowCount(); ++row) {
      if (table->item(row, 0)->text() == name) return table->item(row, 1)->text();
    }
    return std::nullopt;
  }
  QLabel& MeasureLabel() { return *form_->statusBar()->findChild<QLabel*>("measure"); }
  // Whether a pixel near the device point has the colour (each channel within 40).
  bool ColourNear(const QImage& image, QPoint device, int reach, QRgb colour) {
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        const QRgb p = image.pixel(device + QPoint(dx, dy));
        if (std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40 &&
            std::abs(qBlue(p) - qBlue(colour)) < 40)
          return true;
      }
    }
    return false;
  }
  QPoint DeviceAt(double x, double y) { return form_->Surface().DevicePoint(PixelOver(x, y)); }
  TIdentifyTool& Identify() { return form_->Identify(); }
  TMeasureTool& Measure() { return form_->Measure(); }
};

TEST_F(IdentifyMeasureTest, AClickIdentifiesTheTopmostItemAndAMissClearsIt) {
  QTest::keyClick(form_.get(), Qt::Key_F9);
  ASSERT_EQ(form_->MouseMode(), &Identify().Mode());
  struct TCase {
    const char* What;
    double X, Y;
    int Kind;  // -1: nothing there
    QString Field, Value;
  };
  const TCase cases[] = {
      {"the sign's plate over the sidewalk", 147.8, -17.8, 22, "Знак_1", "5.19.1"},
      {"the sign's name from the descriptions", 147.8, -17.8, 22, "Название_1", "Пешеходный переход"},
      {"the sign painted on the carriageway", 40, -9.5, 16, "Знак", "3.24-60"},
      {"the curb over the lawn", 30, 11.1, 8, "Длина", "260.00 м"},
      {"the lawn, with its area", 30, 12.5, 4, "Площадь", "780.00 м²"},
      {"a line marking by its name", 60, 7.5, 10, "Тип_разметки", "1.5"},
      {"nothing", -20, 60, -1, "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    // However near the last case's click, this one is no double-click.
    View(static_cast<float>(c.X), static_cast<float>(c.Y), 10);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    Click(c.X, c.Y);
    if (c.Kind < 0) {
      ASSERT_EQ_SOON(Identify().Identified(), nullptr);
      EXPECT_FALSE(Row("Вид").has_value());
      continue;
    }
    ASSERT_SOON(Identify().Identified() != nullptr && Identify().Identified()->KindIndex() == c.Kind, 5000);
    EXPECT_EQ(Row(c.Field), std::optional<QString>(c.Value));
    EXPECT_TRUE(form_->findChild<QWidget*>("identifyPanel")->isVisible());
  }
}

TEST_F(IdentifyMeasureTest, CtrlClickIdentifiesInThePanModeAndOutlinesTheItem) {
  View(30, 10, 10);
  QTest::keyClick(form_.get(), Qt::Key_F5);
  const TXYZ centre = Drawer().Centre();
  Click(30, 11.1, Qt::ControlModifier);
  ASSERT_SOON(Identify().Identified() != nullptr, 5000);
  EXPECT_EQ(Identify().Identified()->KindIndex(), 8);
  EXPECT_EQ(Drawer().Centre().x, centre.x) << "the click dragged the plan";
  Settle();
  // The curb drawn over in the highlight's orange, the lawn's edge further up not.
  const QImage frame = form_->Surface().grabFramebuffer();
  EXPECT_TRUE(ColourNear(frame, DeviceAt(25, 11), 1, qRgb(245, 100, 0)));
  EXPECT_FALSE(ColourNear(frame, DeviceAt(25, 14), 1, qRgb(245, 100, 0)));
  Click(30, 60, Qt::ControlModifier);
  ASSERT_EQ_SOON(Identify().Identified(), nullptr);
  Settle();
  EXPECT_FALSE(ColourNear(form_->Surface().grabFramebuffer(), DeviceAt(25, 11), 1, qRgb(245, 100, 0)));
}

TEST_F(IdentifyMeasureTest, PointsSnapToAVertexWithinTheRadiusOnly) {
  // 10 device pixels a metre: the snap radius is a metre.
  View(260, 14, 10);
  QTest::keyClick(form_.get(), Qt::Key_F10);
  ASSERT_EQ(form_->MouseMode(), &Measure().Mode());
  struct TCase {
    const char* What;
    double X, Y;
    Qt::KeyboardModifiers Modifiers;
    double ExpectedX, ExpectedY;
  };
  const TCase cases[] = {
      {"to the lawn's corner, 0.78 m away", 260.6, 14.5, Qt::NoModifier, 260, 14},
      {"to the sidewalk's edge, the corner 2 m away", 262, 14.5, Qt::NoModifier, 262, 14},
      {"nowhere with Shift held", 260.6, 14.5, Qt::ShiftModifier, 260.6, 14.5},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    ASSERT_TRUE(Measure().Points().empty());
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    Click(c.X, c.Y, c.Modifiers);
    ASSERT_EQ(Measure().Points().size(), 1u);
    // Shift places the point on the pixel clicked: within half a pixel.
    EXPECT_NEAR(Measure().Points()[0].x, c.ExpectedX, 0.06);
    EXPECT_NEAR(Measure().Points()[0].y, c.ExpectedY, 0.06);
    if (c.Modifiers == Qt::NoModifier) {
      EXPECT_EQ(Measure().Points()[0].x, static_cast<float>(c.ExpectedX));
      EXPECT_EQ(Measure().Points()[0].y, static_cast<float>(c.ExpectedY));
    }
  }
}

TEST_F(IdentifyMeasureTest, TheSnapMarkerShowsWhereThePointWouldGo) {
  View(260, 14, 10);
  QTest::keyClick(form_.get(), Qt::Key_F10);
  QTest::mouseMove(&form_->Surface(), PixelOver(260.5, 14.4));
  ASSERT_SOON(Measure().Snapped().has_value(), 5000);
  EXPECT_EQ(Measure().Snapped()->Kind, TSnapKind::Vertex);
  Settle();
  // A square of 7 pixels round the corner, in the marker's magenta.
  const QPoint corner = DeviceAt(260, 14);
  const QImage frame = form_->Surface().grabFramebuffer();
  EXPECT_TRUE(ColourNear(frame, corner + QPoint(7, 0), 1, qRgb(230, 0, 150)));
  EXPECT_FALSE(ColourNear(frame, corner + QPoint(20, 0), 1, qRgb(230, 0, 150)));
}

TEST_F(IdentifyMeasureTest, ShiftDownOrUpMovesTheMarkerWithoutAMouseMove) {
  // The marker used to stay where the last mouse move had put it until the next move.
  View(260, 14, 10);
  QTest::keyClick(form_.get(), Qt::Key_F10);
  // From elsewhere first: a move to where the pointer already is sends no event.
  QTest::mouseMove(&form_->Surface(), PixelOver(250, 5));
  QTest::mouseMove(&form_->Surface(), PixelOver(260.5, 14.4));
  ASSERT_SOON(Measure().Snapped().has_value(), 5000);
  const QPoint marker = DeviceAt(260, 14) + QPoint(7, 0);
  struct TStep {
    const char* What;
    bool Press;
    Qt::KeyboardModifiers Modifiers;  // as the event carries them: with or without the key itself
    bool Snapped;
  };
  const TStep steps[] = {
      {"Shift down, the event not counting it yet: the point is the pointer's", true, Qt::NoModifier, false},
      {"Shift up, the event still counting it: the corner again", false, Qt::ShiftModifier, true},
      {"Shift down, the event counting it", true, Qt::ShiftModifier, false},
      {"Shift up, the event no longer counting it", false, Qt::NoModifier, true},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.What);
    if (step.Press) {
      QTest::keyPress(form_.get(), Qt::Key_Shift, step.Modifiers);
    } else {
      QTest::keyRelease(form_.get(), Qt::Key_Shift, step.Modifiers);
    }
    ASSERT_EQ(Measure().Snapped().has_value(), step.Snapped);
    Settle();
    EXPECT_EQ(ColourNear(form_->Surface().grabFramebuffer(), marker, 1, qRgb(230, 0, 150)), step.Snapped);
  }
}

TEST_F(IdentifyMeasureTest, TheLengthOfAHedgeAndTheAreaOfALawnAndEscClears) {
  View(70, -19, 4);
  QTest::keyClick(form_.get(), Qt::Key_F10);
  // The hedge along the southern sidewalk, end to end, ended by a right click.
  Click(0, -19);
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  Click(140, -19);
  Click(140, -19, Qt::NoModifier, Qt::RightButton);
  ASSERT_EQ_SOON(MeasureLabel().text(), QString("Длина 140.00 м"));
  EXPECT_FALSE(Measure().Closed());

  // The northern lawn round its four corners, closed on the first.
  View(130, 12.5, (Drawer().ViewportWidth() - 60) / 260.0);
  const double corners[][2] = {{0, 11}, {260, 11}, {260, 14}, {0, 14}, {0, 11}};
  for (const auto& corner : corners) {
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    Click(corner[0], corner[1]);
  }
  ASSERT_EQ_SOON(MeasureLabel().text(), QString("Периметр 526.00 м, площадь 780.00 м²"));
  EXPECT_TRUE(Measure().Closed());
  EXPECT_EQ(Measure().Points().size(), 4u);

  QTest::keyClick(form_.get(), Qt::Key_Escape);
  ASSERT_SOON(MeasureLabel().isHidden(), 5000);
  EXPECT_TRUE(Measure().Points().empty());
}

TEST_F(IdentifyMeasureTest, AnotherStreetShownEndsTheMeasurement) {
  View(70, -19, 4);
  QTest::keyClick(form_.get(), Qt::Key_F10);
  Click(0, -19);
  ASSERT_EQ(Measure().Points().size(), 1u);
  form_->OpenFiles({DemoCopy("second.pln")});
  ASSERT_SOON(Streets().StreetCount() == 2 && &Drawer().Street() == &Streets().StreetAt(1), 10000);
  ASSERT_SOON(Measure().Points().empty(), 5000);
  EXPECT_TRUE(MeasureLabel().isHidden());
}

}  // namespace
// Under an English locale the window says nothing in Russian about the plan: the layers'
// kind names, the status bar's station and scale, the identify panel's kind and field
// names, the measure's text. Only what the user or the sign library wrote stays as written.
class EnglishTextsTest : public IdentifyMeasureTest {
 protected:
  void SetUp() override {
    ClearSettings();
    translation_ = std::make_unique<TTranslation>(QLocale(QLocale::English));
    IdentifyMeasureTest::SetUp();
  }
  void TearDown() override {
    IdentifyMeasureTest::TearDown();
    translation_.reset();
  }
  static bool Cyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
  }
  std::unique_ptr<TTranslation> translation_;
};

TEST_F(EnglishTextsTest, LayersStatusBarIdentifyAndMeasureSpeakEnglish) {
  QStringList texts;
  auto* layers = form_->findChild<QTreeWidget*>(QStringLiteral("layers"));
  ASSERT_NE(layers, nullptr);
  for (int i = 0; i < layers->topLevelItemCount(); ++i) texts << layers->topLevelItem(i)->text(0);
  EXPECT_TRUE(texts.contains(QStringLiteral("Carriageway")));

  View(123, -3, 10);
  QTest::mouseMove(&form_->Surface(), PixelOver(123, -3));
  ASSERT_EQ_SOON(form_->statusBar()->findChild<QLabel*>("station")->text(), QStringLiteral("Sta 1+23.00, 3.00 m right"));
  for (const QLabel* label : form_->statusBar()->findChildren<QLabel*>()) texts << label->text();

  // The sign with its numbered fields, a line marking with its yes/no value.
  for (const QPointF at : {QPointF(147.8, -17.8), QPointF(60, 7.5)}) {
    View(static_cast<float>(at.x()), static_cast<float>(at.y()), 10);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    Click(at.x(), at.y(), Qt::ControlModifier);
    ASSERT_SOON(Identify().Identified() != nullptr, 5000);
    auto* table = form_->findChild<QTableWidget*>("identifyTable");
    for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, 0)->text();
    texts << Row(QStringLiteral("Kind")).value_or(QStringLiteral("no Kind row"));
  }
  EXPECT_EQ(Row(QStringLiteral("Mirrored")).value_or(QString()), QStringLiteral("No"));
  EXPECT_TRUE(texts.contains(QStringLiteral("Sign 1"))) << texts.join(" | ").toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("Road sign")));

  QTest::keyClick(form_.get(), Qt::Key_F10);
  Click(30, 0);
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  Click(40, 0);
  ASSERT_SOON(MeasureLabel().text().startsWith(QStringLiteral("Length ")), 5000);
  texts << MeasureLabel().text();

  QStringList russian;
  for (const QString& text : texts) {
    if (Cyrillic(text)) russian << text;
  }
  EXPECT_TRUE(russian.isEmpty()) << russian.join(" | ").toStdString();
}

}  // namespace vellmar::test
