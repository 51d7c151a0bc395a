// Settings: the INI file helpers, window positions and what survives a restart.

#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>

#include "document/KindRegistry.h"
#include "platform/text/Cp1251.h"
#include "shell/ui/FormPosition.h"
#include "ShellFixture.h"

namespace vellmar::test {

TEST(FitFormToWorkArea, KeepsTheWindowOnTheWorkArea) {
  const QRect work(0, 30, 1000, 700);
  struct TCase {
    const char* What;
    QRect Form;
    QRect Expected;
  };
  const TCase cases[] = {
      {"inside stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
      {"off the right and bottom moves back", {800, 600, 400, 300}, {600, 430, 400, 300}},
      {"off the left and top moves back", {-50, 0, 400, 300}, {0, 30, 400, 300}},
      {"too large is cut to the work area", {-10, -10, 2000, 900}, {0, 30, 1000, 700}},
  };
  for (const TCase& c : cases) EXPECT_EQ(FitFormToWorkArea(c.Form, work), c.Expected) << c.What;
}

TEST(RecentList, MovesAnExistingNameToTheFrontAndKeepsTheLimit) {
  ClearSettings();
  for (const char* name : {"a", "b", "c", "d"}) AddToRecentList("Sec", "List", name, 3);
  QStringList list;
  ReadSettingList("Sec", "List", list);
  EXPECT_EQ(list, (QStringList{"d", "c", "b"}));
  AddToRecentList("Sec", "List", "B", 3);
  ReadSettingList("Sec", "List", list);
  EXPECT_EQ(list, (QStringList{"B", "d", "c"}));
}

TEST(SettingList, IsLeftAloneWhenTheSectionIsMissingAndEmptiedWhenTheValueIs) {
  ClearSettings();
  QStringList list{"kept"};
  ReadSettingList("Nowhere", "List", list);
  EXPECT_EQ(list, QStringList{"kept"});
  WriteSettingString("Somewhere", "Other", "x");
  ReadSettingList("Somewhere", "List", list);
  EXPECT_TRUE(list.isEmpty());
}

TEST(SettingList, IsStoredAsLinesEachEndedByCrLf) {
  ClearSettings();
  WriteSettingList("Directory\\Names", "List", {"one", "two"});
  EXPECT_EQ(ReadSettingString("Directory\\Names", "List"), QStringLiteral("one\r\ntwo\r\n"));
}

TEST_F(ShellTest, AFirstRunShowsEveryKindButTheAreaCalculationAndAutosavesEveryMinute) {
  for (int kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(form_->VisibleLayers().Contains(kind), kind != 34) << kind;
  EXPECT_EQ(Streets().AutoSaveTimer().interval(), 60000);
}

TEST_F(ShellTest, SettingsSurviveARestart) {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect placed(work.left() + 40, work.top() + 50, 700, 520);
  form_->setGeometry(placed);
  TKindSet layers;
  layers.Include(2);
  layers.Include(3);
  form_->SetVisibleLayers(layers);
  const QString path = DemoCopy("a.pln");
  form_->OpenFiles({path});
  form_.reset();
  WriteSettingInteger("StreetsHolderModule", "AutoSaveTimer.Interval", 5);
  MakeForm(false);
  EXPECT_EQ(form_->geometry(), placed);
  EXPECT_EQ(form_->VisibleLayers(), layers);
  EXPECT_EQ(Streets().AutoSaveTimer().interval(), 5 * 60000);
  QStringList recent;
  ReadSettingList("StreetsHolderModule", "RecentFiles", recent);
  EXPECT_EQ(recent, QStringList{path});
  form_.reset();
  EXPECT_EQ(ReadSettingInteger("StreetsHolderModule", "AutoSaveTimer.Interval"), 5);
  EXPECT_EQ(ReadSettingString("MainForm", "VisibleLayers").toStdString(),
            Cp1251ToUtf8(TKindRegistry::KindSetToText(layers)));
}

TEST_F(ShellTest, AStoredPositionOffTheScreenIsPulledBack) {
  form_.reset();
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  WriteSettingInteger("MainForm\\Pos", "Left", work.right() - 100);
  WriteSettingInteger("MainForm\\Pos", "Top", work.top() - 300);
  WriteSettingInteger("MainForm\\Pos", "Width", 700);
  WriteSettingInteger("MainForm\\Pos", "Height", work.height() + 500);
  MakeForm(false);
  EXPECT_TRUE(work.contains(form_->geometry())) << form_->geometry().x() << "," << form_->geometry().y();
  EXPECT_EQ(form_->width(), 700);
}

}  // namespace vellmar::test
