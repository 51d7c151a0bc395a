// Open streets through the real window: tabs, naming, refusals, closing, saving, autosave.

#include <fstream>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
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
  EXPECT_TRUE(form_->windowTitle().startsWith(QString::fromUtf8("Street.pln — Vellmar.  Mem usage "))) << form_->windowTitle().toStdString();
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

// Open files were known by their names with letter case ignored: on Linux "Main.pln"
// beside an open "main.pln" is another file and was refused, while a symbolic or a hard
// link to the open file was read a second time.
TEST_F(ShellTest, ASecondOpenOfTheSameFileIsRefusedWithTheMessageWhateverItsNameButLetterCaseCounts) {
  const QString path = DemoCopy("main.pln");
  std::filesystem::create_directory(dir_ / "sub");
  std::filesystem::create_symlink(dir_ / "main.pln", dir_ / "link.pln");
  std::filesystem::create_hard_link(dir_ / "main.pln", dir_ / "hard.pln");
  struct TCase {
    const char* What;
    QString Name;
    bool Refused;
  };
  const TCase cases[] = {
      {"the same name", path, true},
      {"a symbolic link", Q(dir_ / "link.pln"), true},
      {"a hard link", Q(dir_ / "hard.pln"), true},
      {"a dot and a dot-dot", Q(dir_ / "sub" / ".." / "." / "main.pln"), true},
      {"another letter case", DemoCopy("Main.pln"), false},
  };
  for (const bool background : {false, true}) {
    for (const TCase& c : cases) {
      const std::string what = std::string(c.What) + (background ? ", in the background" : "");
      Streets().CloseAll();
      form_->OpenFiles({path});
      prompts_->Messages.clear();
      if (background) {
        form_->OpenFilesInBackground({c.Name});
        WaitForOpening();
      } else {
        form_->OpenFiles({c.Name});
      }
      EXPECT_EQ(Streets().StreetCount(), c.Refused ? 1 : 2) << what;
      EXPECT_EQ(prompts_->Messages, c.Refused ? QStringList{kAlreadyOpen} : QStringList{}) << what;
      EXPECT_EQ(Streets().CurrentFileName(), c.Refused ? path : TStreetsHolderModule::StreetPath(c.Name)) << what;
    }
  }
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

// The tab menu's "Закрыть" closed the current street, not the tab right-clicked.
TEST_F(ShellTest, RightClickingATabMakesItCurrentSoItsMenuClosesThatTab) {
  form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln"), DemoCopy("c.pln")});
  ASSERT_EQ(Streets().CurrentIndex(), 2);
  QTabBar& tabs = form_->StreetsTab();
  const QPoint at = tabs.tabRect(0).center();
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, tabs.mapToGlobal(at));
  QApplication::sendEvent(&tabs, &click);
  EXPECT_EQ(Streets().CurrentIndex(), 0);
  EXPECT_EQ(form_->FileNameLabel().text(), Streets().FileNameAt(0));
  QAction* close = nullptr;
  QMenu* shown = nullptr;
  for (QMenu* menu : form_->findChildren<QMenu*>()) {
    if (!menu->isVisible()) continue;
    shown = menu;
    for (QAction* action : menu->actions()) {
      if (action->text() == QStringLiteral("Закрыть")) close = action;
    }
  }
  ASSERT_NE(close, nullptr) << "the tab menu is shown";
  shown->hide();
  close->trigger();
  EXPECT_EQ(Tabs(*form_), (QStringList{"b.pln", "c.pln"}));
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

// The recent-files list and the open dialog's last file were written between adding a
// street and making it current, and after writing a saved file: a settings file that
// could not be written left the new tab behind the pristine street, reported a save that
// worked as failed and kept a tab open that the user had saved and closed.
TEST_F(ShellTest, AnUnwritableSettingsFileIsOneWarningAndOpeningSavingAndClosingComplete) {
  const std::filesystem::path settings =
      QSettings(QSettings::IniFormat, QSettings::UserScope, ProgramKeyName(), ProgramKeyName()).fileName().toStdString();
  // A directory where the file would be written: no user, not even root, can write it.
  std::filesystem::remove(settings);
  std::filesystem::create_directories(settings);
  struct TRemove {
    std::filesystem::path Directory;
    ~TRemove() { std::filesystem::remove_all(Directory); }
  } const remove{settings};
  const QString a = DemoCopy("a.pln"), b = DemoCopy("b.pln");
  prompts_->FilesToChoose = {a, b};
  form_->OpenStreetExecute();
  WaitForOpening();
  Settle();
  EXPECT_EQ(Tabs(*form_), (QStringList{"a.pln", "b.pln"}));
  EXPECT_EQ(form_->StreetsTab().currentIndex(), 1);
  EXPECT_EQ(form_->FileNameLabel().text(), b);
  ASSERT_EQ(prompts_->Messages.size(), 1) << prompts_->Messages.join("|").toStdString();
  EXPECT_TRUE(prompts_->Messages[0].contains(QString::fromStdString(settings.string())));

  Streets().CurrentStreet().SetWorkTime(55);
  Streets().CurrentStreet().MarkModified();
  prompts_->Answers = {TAnswer::Yes};
  form_->CloseStreetMIClick();
  EXPECT_EQ(Tabs(*form_), QStringList{"a.pln"});
  EXPECT_EQ(prompts_->Messages.size(), 1) << prompts_->Messages.join("|").toStdString();
  TStreetStructure reread;
  reread.LoadFromFile(b.toStdString());
  EXPECT_EQ(reread.WorkTime(), 55);
}

}  // namespace vellmar::test
