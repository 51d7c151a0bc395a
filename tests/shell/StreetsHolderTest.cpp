// Open streets through the real window: tabs, naming, refusals, closing, saving, autosave.

#include <fstream>

#include <QFileInfo>
#include <QLabel>
#include <QTabBar>

#include "document/StreetStructure.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

QStringList Tabs(TMainForm& form) {
  QStringList tabs;
  for (int i = 0; i < form.StreetsTab().count(); ++i) tabs << form.StreetsTab().tabText(i);
  return tabs;
}

const QString kAlreadyOpen = QStringLiteral("Файл уже загружен.");

}  // namespace

TEST_F(ShellTest, StartsWithOnePristineStreetNamedStreetPln) {
  EXPECT_EQ(Tabs(*form_), QStringList{QStringLiteral("Street.pln")});
  EXPECT_TRUE(form_->StreetsTab().isVisible());
  EXPECT_TRUE(Streets().StreetAt(0).IsPristine());
  EXPECT_TRUE(form_->windowTitle().startsWith(QStringLiteral("Vellmar.  Mem usage "))) << form_->windowTitle().toStdString();
}

TEST_F(ShellTest, NewStreetsTakeTheFirstFreeName) {
  Streets().NewStreet();
  Streets().NewStreet();
  form_->PlanChanged();
  EXPECT_EQ(Tabs(*form_), (QStringList{"Street.pln", "Street1.pln", "Street2.pln"}));
  EXPECT_EQ(Streets().CurrentIndex(), 2);
}

TEST_F(ShellTest, OpeningThreeFilesReplacesThePristineStreetAndTheLastIsCurrent) {
  prompts_->FilesToChoose = {DemoCopy("a.pln"), DemoCopy("b.pln"), DemoCopy("c.pln")};
  form_->OpenStreetExecute();
  WaitForOpening();
  EXPECT_EQ(Tabs(*form_), (QStringList{"a.pln", "b.pln", "c.pln"}));
  EXPECT_EQ(Streets().CurrentIndex(), 2);
  EXPECT_EQ(form_->StreetsTab().currentIndex(), 2);
  EXPECT_EQ(form_->FileNameLabel().text(), prompts_->FilesToChoose[2]);
  EXPECT_TRUE(prompts_->Messages.isEmpty()) << prompts_->Messages.join("|").toStdString();
}

TEST_F(ShellTest, TheSamePathInOtherLetterCaseIsRefusedWithTheMessage) {
  const QString path = DemoCopy("Main.pln");
  form_->OpenFiles({path});
  const QString upper = QFileInfo(path).absolutePath() + QStringLiteral("/MAIN.PLN");
  form_->OpenFiles({upper});
  EXPECT_EQ(prompts_->Messages, QStringList{kAlreadyOpen});
  EXPECT_EQ(Tabs(*form_), QStringList{"Main.pln"});
}

TEST_F(ShellTest, ADamagedFileIsReportedOnceAndLeavesTheOtherTabsAlone) {
  form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln")});
  form_->StreetsTab().setCurrentIndex(0);
  const std::filesystem::path damaged = dir_ / "damaged.pln";
  std::ofstream(damaged, std::ios::binary) << "TAGSSIZE\x08\x00\x00\x00STREET  garbage";
  prompts_->FilesToChoose = {Q(damaged), DemoCopy("c.pln")};
  form_->OpenStreetExecute();
  WaitForOpening();
  ASSERT_EQ(prompts_->Messages.size(), 1);
  EXPECT_FALSE(prompts_->Messages[0].isEmpty());
  // The good file after the damaged one still opens; nothing of the damaged one does.
  EXPECT_EQ(Tabs(*form_), (QStringList{"a.pln", "b.pln", "c.pln"}));
  EXPECT_EQ(Streets().CurrentIndex(), 2);
}

TEST_F(ShellTest, ClosingATabMovesTheCurrentOneAsTheTabsShift) {
  struct TCase {
    int Current;
    int Closed;
    int ExpectedCurrent;
    const char* ExpectedName;
  };
  const TCase cases[] = {{2, 0, 1, "c.pln"}, {0, 0, 0, "b.pln"}, {1, 1, 0, "a.pln"}, {0, 2, 0, "a.pln"},
                         {2, 2, 1, "b.pln"}};
  for (const TCase& c : cases) {
    Streets().CloseAll();
    form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln"), DemoCopy("c.pln")});
    Streets().SetCurrentIndex(c.Current);
    Streets().CloseStreet(c.Closed, false);
    EXPECT_EQ(Streets().CurrentIndex(), c.ExpectedCurrent) << "current " << c.Current << ", closed " << c.Closed;
    EXPECT_EQ(QFileInfo(Streets().CurrentFileName()).fileName().toStdString(), c.ExpectedName)
        << "current " << c.Current << ", closed " << c.Closed;
  }
}

TEST_F(ShellTest, ClosingTheOnlyTabLeavesANewEmptyStreet) {
  form_->OpenFiles({DemoCopy("a.pln")});
  form_->CloseStreetMIClick();
  EXPECT_EQ(Tabs(*form_), QStringList{"Street.pln"});
  EXPECT_TRUE(Streets().CurrentStreet().IsPristine());
}

// Streets hold the plan's vertex buffers and textures: every way a street goes frees
// it inside the device scope (the window makes its GL context current there).
TEST_F(ShellTest, EveryWayAStreetGoesFreesItInsideTheDeviceScope) {
  int freed = 0;
  Streets().SetDeviceScope([&](const std::function<void()>& work) {
    const TStreetStructure* before = &Streets().StreetAt(0);
    const int count = Streets().StreetCount();
    work();
    freed += Streets().StreetCount() < count || (count > 0 && &Streets().StreetAt(0) != before);
  });
  form_->OpenFiles({DemoCopy("a.pln")});  // drops the pristine street
  EXPECT_EQ(freed, 1);
  Streets().NewStreet();
  form_->CloseStreetMIClick();
  EXPECT_EQ(freed, 2);
  Streets().ReplaceStreet(0, std::make_unique<TStreetStructure>());  // a reload
  EXPECT_EQ(freed, 3);
  form_->CloseAllMIClick();
  EXPECT_EQ(freed, 4);
}

TEST_F(ShellTest, AModifiedStreetIsClosedOnlyAsTheUserAnswers) {
  struct TCase {
    TAnswer Answer;
    int TabsLeft;
  };
  for (const TCase& c : {TCase{TAnswer::Cancel, 2}, TCase{TAnswer::No, 1}}) {
    Streets().CloseAll();
    form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln")});
    Streets().StreetAt(1).MarkModified();
    prompts_->Answers = {c.Answer};
    form_->CloseStreetMIClick();
    EXPECT_EQ(prompts_->Questions.back(), QStringLiteral("Улица не сохранена.Сохранять?"));
    EXPECT_EQ(Streets().StreetCount(), c.TabsLeft);
  }
}

TEST_F(ShellTest, SavingOnCloseWritesTheStreetToItsFile) {
  const QString path = DemoCopy("a.pln");
  form_->OpenFiles({path});
  std::filesystem::remove(path.toStdString());
  Streets().CurrentStreet().SetWorkTime(77);
  Streets().CurrentStreet().MarkModified();
  prompts_->SaveName = path;
  prompts_->Answers = {TAnswer::Yes};
  form_->CloseStreetMIClick();
  ASSERT_TRUE(std::filesystem::exists(path.toStdString()));
  TStreetStructure reread;
  reread.LoadFromFile(path.toStdString());
  EXPECT_EQ(reread.WorkTime(), 77);
  QStringList recent;
  ReadSettingList("StreetsHolderModule", "RecentFiles", recent);
  EXPECT_EQ(recent.value(0), path);
}

TEST_F(ShellTest, AutosaveWritesACopyBesideTheStreetAndNeverACopyOfACopy) {
  const QString path = DemoCopy("Main.pln");
  form_->OpenFiles({path});
  TStreetStructure& street = Streets().CurrentStreet();
  street.MarkModified();
  Streets().AutoSave();
  const std::filesystem::path copy = dir_ / "_autosave_Main.pln";
  ASSERT_TRUE(std::filesystem::exists(copy));
  EXPECT_TRUE(street.Modified()) << "the street itself is still unsaved";

  form_->OpenFiles({Q(copy)});
  Streets().CurrentStreet().MarkModified();
  Streets().AutoSave();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "_autosave__autosave_Main.pln"));

  // A street without a file of its own gets no copy either.
  Streets().NewStreet();
  Streets().CurrentStreet().MarkModified();
  Streets().AutoSave();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "_autosave_Street.pln"));
  EXPECT_TRUE(prompts_->Messages.isEmpty());
}

TEST_F(ShellTest, AnUnmodifiedStreetIsNotAutosaved) {
  form_->OpenFiles({DemoCopy("Main.pln")});
  Streets().AutoSave();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "_autosave_Main.pln"));
}

TEST_F(ShellTest, AMinuteOfActivityCountsOneMinuteOnTheCurrentStreet) {
  form_->OpenFiles({DemoCopy("a.pln")});
  const int before = Streets().CurrentStreet().WorkTime();
  Streets().WorkingTimer().stop();
  form_->PlanChanged();
  EXPECT_TRUE(Streets().WorkingTimer().isActive()) << "activity starts the minute";
  Streets().CountWorkedMinute();
  EXPECT_EQ(Streets().CurrentStreet().WorkTime(), before + 1);
}

TEST_F(ShellTest, ClosingTheWindowAsksAboutUnsavedStreetsAndCancelKeepsItOpen) {
  form_->OpenFiles({DemoCopy("a.pln")});
  Streets().CurrentStreet().MarkModified();
  prompts_->Answers = {TAnswer::Cancel};
  EXPECT_FALSE(form_->close());
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(prompts_->Questions, QStringList{QStringLiteral("Есть несохраненные улицы. Сохранять?")});
  prompts_->Answers = {TAnswer::No};
  EXPECT_TRUE(form_->close());
}

TEST_F(ShellTest, ClosingTheWindowWithNothingUnsavedAsksNothing) {
  form_->OpenFiles({DemoCopy("a.pln")});
  EXPECT_TRUE(form_->close());
  EXPECT_TRUE(prompts_->Questions.isEmpty());
}

TEST_F(ShellTest, TheOpenDialogStartsOnTheFileChosenInTheLastRun) {
  const QString path = DemoCopy("a.pln");
  prompts_->FilesToChoose = {path};
  form_->OpenStreetExecute();
  WaitForOpening();
  form_.reset();
  MakeForm();
  prompts_->FilesToChoose = {};
  form_->OpenStreetExecute();
  EXPECT_EQ(prompts_->StartedOn, path);
}

}  // namespace vellmar::test
