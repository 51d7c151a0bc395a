// View bookmarks of a street file: kept in the settings by the file's path, made through
// Ctrl+D and the name window, gone to from the bookmark menu after a restart, recorded in
// the view history like any other view change.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "document/StreetStructure.h"
#include "shell/tools/BookmarkSettings.h"
#include "shell/tools/ViewBookmarkActions.h"
#include "shell/tools/ViewHistoryActions.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

void ExpectSameView(const TViewState& a, const TViewState& b) {
  EXPECT_EQ(a.Centre.x, b.Centre.x);
  EXPECT_EQ(a.Centre.y, b.Centre.y);
  EXPECT_EQ(a.Scale, b.Scale);
  EXPECT_EQ(a.Rotation, b.Rotation);
}

TEST_F(ShellTest, BookmarksAreKeptPerFileWhateverTheirNamesAndPathsHold) {
  const QString street = QStringLiteral("/tmp/планы с пробелами/ул. Мира = 1; 2.pln");
  const QString neighbour = QStringLiteral("/tmp/планы с пробелами/ул. Мира = 1; 3.pln");
  TViewBookmarks bookmarks;
  const std::vector<TViewBookmark> made{
      {"Перекрёсток у моста", {{412345.67f, 6123456.5f, 0}, 0.0123456789f, -2.7182817f}},
      {"a=b;c", {{1, 2, 0}, 0.5f, 0.25f}},
      {";=[Bookmarks]\\", {{-3, 4, 0}, 1e-5f, 3.1f}},
  };
  for (const TViewBookmark& bookmark : made) ASSERT_TRUE(bookmarks.Add(bookmark.Name, bookmark.View));
  WriteViewBookmarks(street, bookmarks);
  WriteViewBookmarks(neighbour, TViewBookmarks::FromLines({"0 0 0 1 0 Другой"}));

  const TViewBookmarks read = ReadViewBookmarks(street);
  ASSERT_EQ(read.Items().size(), made.size());
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(read.Items()[i].Name, made[i].Name);
    ExpectSameView(read.Items()[i].View, made[i].View);
  }
  ASSERT_EQ(ReadViewBookmarks(neighbour).Items().size(), 1u);
  EXPECT_TRUE(ReadViewBookmarks(QStringLiteral("/tmp/планы с пробелами")).Items().empty());
  // One value per file: the path's slashes make no sections of their own.
  EXPECT_EQ(SettingNames(QStringLiteral("Bookmarks")).size(), 2);
}

class ViewBookmarksTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path_ = DemoCopy("улица с закладками.pln");
    Open();
  }
  void Open() {
    form_->OpenFilesInBackground({path_});
    WaitForOpening();
    ASSERT_SOON(Drawer().Street().MainAxis() != nullptr, 10000);
  }
  TViewBookmarkActions& Bookmarks() { return *form_->findChild<TViewBookmarkActions*>("viewBookmarks"); }
  QDialog* NameForm() { return form_->findChild<QDialog*>("bookmarkNameForm"); }
  // Ctrl+D, the name put into the field, Enter.
  void Add(const QString& name) {
    QTest::keyClick(form_.get(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_SOON(NameForm() != nullptr && NameForm()->isVisible(), 5000);
    auto* field = NameForm()->findChild<QLineEdit*>("name");
    ASSERT_SOON(field->hasFocus(), 5000);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    // The test library types ASCII only; the rest goes in as an input method would.
    field->insert(name);
    QTest::keyClick(field, Qt::Key_Return);
  }
  // Ctrl+B opens the menu; a click on the bookmark's entry.
  void ChooseFromMenu(const QString& name) {
    QTest::keyClick(form_.get(), Qt::Key_B, Qt::ControlModifier);
    QMenu& menu = Bookmarks().Menu();
    ASSERT_SOON(menu.isVisible(), 5000);
    QAction* entry = nullptr;
    for (QAction* action : menu.actions()) {
      if (action->text() == name) entry = action;
    }
    ASSERT_NE(entry, nullptr) << name.toStdString();
    QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, menu.actionGeometry(entry).center());
    ASSERT_SOON(!menu.isVisible(), 5000);
  }
  void Show(const TViewState& view) {
    Drawer().SetView(view);
    form_->PlanChanged();
    Settle();
  }
  QString path_;
};

TEST_F(ViewBookmarksTest, ABookmarkGivesBackItsExactViewAfterARestart) {
  const TViewState crossing{{150.123f, -2.75f, 0}, 0.0371f, 0.4363323f};
  const TViewState stop{{125, 10.5f, 0}, 0.021f, -1.25f};
  Show(crossing);
  Add(QStringLiteral("Переход; светофор = 1"));
  ASSERT_SOON(!NameForm()->isVisible(), 5000);
  Show(stop);
  Add(QStringLiteral("Остановка"));
  ASSERT_SOON(!NameForm()->isVisible(), 5000);
  // A name taken already is refused and the window stays to pick another.
  Add(QStringLiteral(" Остановка "));
  ASSERT_SOON(!NameForm()->findChild<QLabel*>("error")->text().isEmpty(), 5000);
  EXPECT_TRUE(NameForm()->isVisible());
  NameForm()->reject();

  form_.reset();
  MakeForm();
  Open();
  // Each view stands until the history has it.
  TViewHistory& history = form_->findChild<TViewHistoryActions*>("viewHistory")->History();
  ASSERT_SOON(history.Count() > 0, 5000);
  const size_t opened = history.Count();
  ChooseFromMenu(QStringLiteral("Переход; светофор = 1"));
  ASSERT_SOON(history.Count() == opened + 1, 5000);
  ExpectSameView(Drawer().View(), crossing);
  ChooseFromMenu(QStringLiteral("Остановка"));
  ASSERT_SOON(history.Count() == opened + 2, 5000);
  ExpectSameView(Drawer().View(), stop);
  // Back walks from the bookmark's view to the one before it.
  QTest::keyClick(form_.get(), Qt::Key_Left, Qt::AltModifier);
  ASSERT_SOON(Drawer().Centre().x == crossing.Centre.x, 5000);
  ExpectSameView(Drawer().View(), crossing);
}

TEST_F(ViewBookmarksTest, RenamingAndDeletingChangeOnlyThatBookmark) {
  Show({{10, 0, 0}, 0.02f, 0});
  Add(QStringLiteral("Начало"));
  ASSERT_SOON(!NameForm()->isVisible(), 5000);
  Show({{290, 0, 0}, 0.02f, 0});
  Add(QStringLiteral("Конец"));
  ASSERT_SOON(!NameForm()->isVisible(), 5000);

  Bookmarks().AskName(0);
  auto* field = NameForm()->findChild<QLineEdit*>("name");
  EXPECT_EQ(field->text(), QStringLiteral("Начало"));
  ASSERT_SOON(field->hasFocus(), 5000);
  field->clear();
  field->insert(QStringLiteral("Площадь Мира"));
  QTest::keyClick(field, Qt::Key_Return);
  ASSERT_SOON(!NameForm()->isVisible(), 5000);
  TViewBookmarks stored = ReadViewBookmarks(TStreetsHolderModule::StreetPath(path_));
  ASSERT_EQ(stored.Items().size(), 2u);
  EXPECT_EQ(stored.Items()[0].Name, "Площадь Мира");
  EXPECT_EQ(stored.Items()[0].View.Centre.x, 10.0f);

  // Delete through the menu's "Delete" list.
  QTest::keyClick(form_.get(), Qt::Key_B, Qt::ControlModifier);
  QMenu& menu = Bookmarks().Menu();
  ASSERT_SOON(menu.isVisible(), 5000);
  QMenu* remove = nullptr;
  for (QAction* action : menu.actions()) {
    if (action->menu() && action->menu()->objectName() == QLatin1String("removeBookmark")) remove = action->menu();
  }
  ASSERT_NE(remove, nullptr);
  remove->actions().front()->trigger();
  menu.close();
  stored = ReadViewBookmarks(TStreetsHolderModule::StreetPath(path_));
  ASSERT_EQ(stored.Items().size(), 1u);
  EXPECT_EQ(stored.Items()[0].Name, "Конец");
}

TEST_F(ShellTest, AStreetWithoutAFileHasNoBookmarks) {
  auto* bookmarks = form_->findChild<TViewBookmarkActions*>("viewBookmarks");
  EXPECT_TRUE(bookmarks->FilePath().isEmpty());
  EXPECT_FALSE(form_->findChild<QAction*>("bookmarkAdd")->isEnabled());
  bookmarks->AskName();
  EXPECT_EQ(form_->findChild<QDialog*>("bookmarkNameForm"), nullptr);
}

}  // namespace
}  // namespace vellmar::test
