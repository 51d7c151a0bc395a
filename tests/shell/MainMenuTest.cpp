// The menu bar and the standard keys through the real window: every entry is where
// people look for it and carries the key they know, the keys do what the entries do,
// recent files outlive the window, Help lists every key and names the version, and the
// title leads with the file and its unsaved mark.

#include <cmath>
#include <numbers>

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

#include "document/StreetStructure.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/FloatingButton.h"
#include "shell/print/PrintForm.h"
#include "shell/window/MainMenu.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

QAction* ActionNamed(TMainForm& form, const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }

// The entries of a menu and its submenus, by object name.
QStringList EntriesOf(const QMenu& menu) {
  QStringList names;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    names << (action->objectName().isEmpty() ? action->text() : action->objectName());
    if (action->menu()) names += EntriesOf(*action->menu());
  }
  return names;
}

struct TMenuEntry {
  const char* Menu;
  const char* Action;
  QKeySequence Key;  // empty: no key of its own
};

const TMenuEntry kEntries[] = {
    {"fileMenu", "openStreet", QKeySequence(Qt::CTRL | Qt::Key_O)},
    {"fileMenu", "openStreet", QKeySequence(Qt::Key_F3)},
    {"fileMenu", "reloadStreet", QKeySequence(Qt::CTRL | Qt::Key_R)},
    {"fileMenu", "closeStreet", QKeySequence(Qt::CTRL | Qt::Key_W)},
    {"fileMenu", "closeAll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)},
    {"fileMenu", "print", QKeySequence(Qt::CTRL | Qt::Key_P)},
    {"fileMenu", "exportPdf", {}},
    {"fileMenu", "exportImage", {}},
    {"fileMenu", "quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    {"viewMenu", "menuShowAll", {}},
    {"viewMenu", "zoomIn", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
    {"viewMenu", "zoomIn", QKeySequence(Qt::CTRL | Qt::Key_Equal)},
    {"viewMenu", "zoomOut", QKeySequence(Qt::CTRL | Qt::Key_Minus)},
    {"viewMenu", "menuRotCW", {}},
    {"viewMenu", "menuRotCCW", {}},
    {"viewMenu", "viewBack", QKeySequence(Qt::ALT | Qt::Key_Left)},
    {"viewMenu", "viewForward", QKeySequence(Qt::ALT | Qt::Key_Right)},
    {"viewMenu", "bookmarks", QKeySequence(Qt::CTRL | Qt::Key_B)},
    {"viewMenu", "menuAllStreetsDraw", {}},
    {"viewMenu", "fullScreen", QKeySequence(Qt::Key_F11)},
    {"viewMenu", "layersPanelToggle", QKeySequence(Qt::CTRL | Qt::Key_L)},
    {"viewMenu", "identifyPanelToggle", {}},
    {"toolsMenu", "menuIdentify", {}},
    {"toolsMenu", "menuMeasure", {}},
    {"toolsMenu", "goToStation", QKeySequence(Qt::CTRL | Qt::Key_G)},
    {"helpMenu", "keys", QKeySequence(Qt::Key_F1)},
    {"helpMenu", "about", {}},
};

}  // namespace

TEST_F(ShellTest, EveryMenuEntryIsInItsMenuWithItsKey) {
  for (const TMenuEntry& entry : kEntries) {
    SCOPED_TRACE(std::string(entry.Action));
    auto* menu = form_->menuBar()->findChild<QMenu*>(QString::fromLatin1(entry.Menu));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(EntriesOf(*menu).contains(QString::fromLatin1(entry.Action))) << EntriesOf(*menu).join(' ').toStdString();
    QAction* action = form_->findChild<QAction*>(QString::fromLatin1(entry.Action));
    ASSERT_NE(action, nullptr);
    if (!entry.Key.isEmpty()) {
      EXPECT_TRUE(action->shortcuts().contains(entry.Key)) << entry.Key.toString().toStdString();
    }
  }
  // An entry for a floating button names the button's key after a tab, as menus show keys.
  EXPECT_TRUE(ActionNamed(*form_, "menuShowAll")->text().endsWith(QStringLiteral("\tCtrl+Home")));
  EXPECT_TRUE(ActionNamed(*form_, "menuIdentify")->text().endsWith(QStringLiteral("\tF9")));
}

TEST_F(ShellTest, NoTwoActionsOfTheWindowShareAKey) {
  // A shared key is ambiguous to Qt, and then neither action fires.
  QMap<QString, QString> owner;
  for (const QAction* action : form_->findChildren<QAction*>()) {
    for (const QKeySequence& key : action->shortcuts()) {
      const QString text = key.toString();
      EXPECT_FALSE(owner.contains(text)) << text.toStdString() << ": " << owner.value(text).toStdString() << " and "
                                         << action->objectName().toStdString();
      owner.insert(text, action->objectName());
    }
  }
  for (const auto& floating : form_->FloatingActions().All()) {
    const QString text = floating->ShortCut().Text();
    if (!text.isEmpty()) {
      EXPECT_FALSE(owner.contains(text)) << text.toStdString();
    }
  }
}

TEST_F(ShellTest, StandardKeysDoWhatTheirEntriesDo) {
  form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln")});
  ASSERT_EQ(Streets().StreetCount(), 2);
  const auto key = [&](int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_.get(), static_cast<Qt::Key>(k), modifiers);
    Settle();
  };

  const float scale = Drawer().Scale();
  key(Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_NEAR(Drawer().Scale(), scale * std::numbers::sqrt2, scale * 1e-5);
  key(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_NEAR(Drawer().Scale(), scale, scale * 1e-5);

  key(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(Streets().StreetCount(), 1);

  prompts_->FilesToChoose = {};
  prompts_->StartedOn = QStringLiteral("not asked");
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_NE(prompts_->StartedOn, QStringLiteral("not asked"));

  key(Qt::Key_F11);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->isFullScreen(); }, 3000));
  key(Qt::Key_F11);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->isFullScreen(); }, 3000));

  key(Qt::Key_F1);
  auto* keys = form_->findChild<QDialog*>(QStringLiteral("keysWindow"));
  ASSERT_NE(keys, nullptr);
  EXPECT_TRUE(keys->isVisible());
  keys->close();

  key(Qt::Key_P, Qt::ControlModifier);
  auto* print = form_->findChild<TPrintForm*>();
  ASSERT_NE(print, nullptr);
  print->close();
  QTest::qWait(50);

  key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->isVisible(); }, 3000));
}

TEST_F(ShellTest, RecentFilesOutliveTheWindowAndCanBeCleared) {
  const QString a = DemoCopy("a.pln"), b = DemoCopy("b.pln");
  form_->OpenFiles({a});
  form_->OpenFiles({b});
  MakeForm();  // a new run of the program
  auto* menu = form_->findChild<QMenu*>(QStringLiteral("recentMenu"));
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QStringList shown;
  for (const QAction* action : menu->actions()) shown << action->toolTip();
  ASSERT_GE(shown.size(), 2);
  EXPECT_EQ(shown[0], TStreetsHolderModule::StreetPath(b));
  EXPECT_EQ(shown[1], TStreetsHolderModule::StreetPath(a));

  menu->actions()[1]->trigger();
  WaitForOpening();
  EXPECT_EQ(Streets().CurrentFileName(), TStreetsHolderModule::StreetPath(a));

  form_->findChild<QAction*>(QStringLiteral("clearRecent"))->trigger();
  EXPECT_TRUE(TStreetsHolderModule::RecentFiles().isEmpty());
  emit menu->aboutToShow();
  EXPECT_FALSE(form_->findChild<QAction*>(QStringLiteral("clearRecent"))->isEnabled());
}

TEST_F(ShellTest, TheKeysWindowListsEveryKeyOfTheWindow) {
  ActionNamed(*form_, "keys")->trigger();
  auto* table = form_->findChild<QTableWidget*>(QStringLiteral("keys"));
  ASSERT_NE(table, nullptr);
  QStringList listed;
  for (int i = 0; i < table->rowCount(); ++i) listed << table->item(i, 0)->text();
  const QString all = listed.join(QStringLiteral(", "));
  QStringList expected;
  for (const QAction* action : form_->actions()) {
    for (const QKeySequence& key : action->shortcuts()) expected << key.toString(QKeySequence::NativeText);
  }
  for (const auto& floating : form_->FloatingActions().All()) expected << floating->ShortCut().Text();
  expected.removeAll(QString());
  ASSERT_GT(expected.size(), 25);
  for (const QString& key : expected) EXPECT_TRUE(all.contains(key)) << key.toStdString() << " missing";
  // The held keys and the wheel are there too.
  EXPECT_TRUE(listed.contains(QStringLiteral("Q (держать)")) || listed.contains(QStringLiteral("Q (hold)")));
}

TEST_F(ShellTest, AboutNamesTheVersionAndTheLicences) {
  ActionNamed(*form_, "about")->trigger();
  auto* text = form_->findChild<QLabel*>(QStringLiteral("aboutText"));
  ASSERT_NE(text, nullptr);
  for (const char* part : {"Vellmar 1.", "Qt 6", "LGPL-3.0", "FreeType", "Cairo", "libpng"}) {
    EXPECT_TRUE(text->text().contains(QString::fromLatin1(part))) << part;
  }
}

TEST_F(ShellTest, TheTitleLeadsWithTheFileAndItsUnsavedMark) {
  form_->OpenFiles({DemoCopy("demo.pln")});
  Settle();
  EXPECT_TRUE(form_->windowTitle().startsWith(QString::fromUtf8("demo.pln — Vellmar.  Mem usage ")))
      << form_->windowTitle().toStdString();
  Streets().StreetAt(Streets().CurrentIndex()).MarkModified();
  form_->PlanChanged();
  Settle();
  EXPECT_TRUE(form_->windowTitle().startsWith(QString::fromUtf8("demo.pln* — Vellmar.  Mem usage ")))
      << form_->windowTitle().toStdString();
}

TEST_F(ShellTest, TheFirstWindowTakesTwoThirdsOfTheScreen) {
  form_.reset();  // it stores its position as it goes
  ClearSettings();
  MakeForm(false);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_NEAR(form_->width(), area.width() * 2 / 3, 2);
  EXPECT_NEAR(form_->height(), area.height() * 2 / 3, 40);  // the frame may be counted in
  EXPECT_GT(form_->width(), 640);
}

TEST_F(ShellTest, TooltipsNameTheirKeys) {
  for (const auto& floating : form_->FloatingActions().All()) {
    const QString key = floating->ShortCut().Text();
    TFloatingButton* button = floating->ExistingButton();
    if (key.isEmpty() || button == nullptr) continue;
    EXPECT_TRUE(button->toolTip().contains(key)) << button->toolTip().toStdString();
  }
  for (QToolButton* button : form_->findChildren<QToolButton*>()) {
    const QAction* action = button->defaultAction();
    if (action == nullptr || action->shortcut().isEmpty()) continue;
    EXPECT_TRUE(action->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)))
        << action->toolTip().toStdString();
  }
}

}  // namespace vellmar::test
