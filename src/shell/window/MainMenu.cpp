#include "shell/window/MainMenu.h"

#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "shell/files/StreetReload.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/FloatingAction.h"
#include "shell/print/PrintForm.h"
#include "shell/window/HelpWindows.h"
#include "shell/window/MainForm.h"

namespace vellmar {

TMainMenu::TMainMenu(TMainForm& form) : QObject(&form), form_(form) {
  setObjectName(QStringLiteral("mainMenu"));
  BuildFileMenu();
  BuildViewMenu();
  BuildToolsMenu();
  BuildHelpMenu();
}

QAction* TMainMenu::Add(QMenu& menu, const char* name, const QString& text, const QList<QKeySequence>& keys) {
  auto* action = new QAction(text, &form_);
  action->setObjectName(QString::fromLatin1(name));
  // A key listed twice would make the action's shortcut ambiguous, and it would not fire.
  QList<QKeySequence> unique;
  for (const QKeySequence& key : keys) {
    if (!key.isEmpty() && !unique.contains(key)) unique << key;
  }
  action->setShortcuts(unique);
  // Also the window's: its key handler triggers window actions when it is not the active one.
  form_.addAction(action);
  menu.addAction(action);
  return action;
}

void TMainMenu::AddExisting(QMenu& menu, const char* name) {
  if (auto* action = form_.findChild<QAction*>(QString::fromLatin1(name))) menu.addAction(action);
}

QAction* TMainMenu::AddFloating(QMenu& menu, const char* name, const QString& text) {
  TFloatingAction& floating = form_.FloatingActions().Named(QString::fromLatin1(name));
  const QString key = floating.ShortCut().Text();
  // After a tab the menu shows the key; the key itself stays the floating action's.
  auto* action = menu.addAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key);
  action->setObjectName(QStringLiteral("menu") + QString::fromLatin1(name));
  action->setCheckable(floating.Toggle());
  connect(action, &QAction::triggered, this, [this, &floating] {
    floating.Click();
    form_.PlanChanged();
  });
  connect(&menu, &QMenu::aboutToShow, action, [action, &floating] {
    action->setEnabled(floating.Enabled());
    action->setChecked(floating.Down());
  });
  return action;
}

void TMainMenu::BuildFileMenu() {
  QMenu& menu = *form_.menuBar()->addMenu(tr("&Файл"));
  menu.setObjectName(QStringLiteral("fileMenu"));
  AddExisting(menu, "openStreet");
  recent_ = menu.addMenu(tr("Недавние файлы"));
  recent_->setObjectName(QStringLiteral("recentMenu"));
  connect(recent_, &QMenu::aboutToShow, this, &TMainMenu::FillRecentMenu);
  connect(Add(menu, "reloadStreet", tr("Прочитать заново"), {QKeySequence(Qt::CTRL | Qt::Key_R)}), &QAction::triggered,
          &form_, [this] { form_.Reload().ReloadTab(form_.Streets().CurrentIndex()); });
  menu.addSeparator();
  connect(Add(menu, "closeStreet", tr("Закрыть"), {QKeySequence(QKeySequence::Close), QKeySequence(Qt::CTRL | Qt::Key_W)}),
          &QAction::triggered, &form_, &TMainForm::CloseStreetMIClick);
  connect(Add(menu, "closeAll", tr("Закрыть все"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)}), &QAction::triggered,
          &form_, &TMainForm::CloseAllMIClick);
  menu.addSeparator();
  AddExisting(menu, "print");
  connect(Add(menu, "exportPdf", tr("Экспорт PDF…"), {}), &QAction::triggered, &form_,
          [this] { form_.OpenPrintForm().ExportPdfExecute(); });
  connect(Add(menu, "exportImage", tr("Экспорт изображения…"), {}), &QAction::triggered, &form_,
          [this] { form_.OpenPrintForm().ExportImageExecute(); });
  menu.addSeparator();
  Add(menu, "quit", tr("Выход"), {QKeySequence(QKeySequence::Quit), QKeySequence(Qt::CTRL | Qt::Key_Q)})
      ->setMenuRole(QAction::QuitRole);
  connect(form_.findChild<QAction*>(QStringLiteral("quit")), &QAction::triggered, &form_, &QWidget::close);
}

void TMainMenu::FillRecentMenu() {
  recent_->clear();
  const QStringList files = TStreetsHolderModule::RecentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString& file = files[i];
    // The first nine are reached by their digit.
    const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(file) : file;
    QAction* entry = recent_->addAction(text);
    entry->setToolTip(file);
    connect(entry, &QAction::triggered, &form_, [this, file] { form_.OpenFilesInBackground({file}); });
  }
  if (files.isEmpty()) recent_->addAction(tr("(нет)"))->setEnabled(false);
  recent_->addSeparator();
  QAction* clear = recent_->addAction(tr("Очистить"));
  clear->setObjectName(QStringLiteral("clearRecent"));
  clear->setEnabled(!files.isEmpty());
  connect(clear, &QAction::triggered, this, [] { TStreetsHolderModule::ClearRecentFiles(); });
}

void TMainMenu::BuildViewMenu() {
  QMenu& menu = *form_.menuBar()->addMenu(tr("&Вид"));
  menu.setObjectName(QStringLiteral("viewMenu"));
  AddFloating(menu, "ShowAll", tr("Показать весь объект"));
  connect(Add(menu, "zoomIn", tr("Крупнее"),
              {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}),
          &QAction::triggered, this, [this] { form_.FloatingActions().Named(QStringLiteral("ScaleUp")).Click(); });
  connect(Add(menu, "zoomOut", tr("Мельче"), {QKeySequence(QKeySequence::ZoomOut), QKeySequence(Qt::CTRL | Qt::Key_Minus)}),
          &QAction::triggered, this, [this] { form_.FloatingActions().Named(QStringLiteral("ScaleDown")).Click(); });
  AddFloating(menu, "RotCW", tr("Повернуть по часовой стрелке"));
  AddFloating(menu, "RotCCW", tr("Повернуть против часовой стрелки"));
  menu.addSeparator();
  AddExisting(menu, "viewBack");
  AddExisting(menu, "viewForward");
  AddExisting(menu, "bookmarks");
  AddExisting(menu, "bookmarkAdd");
  menu.addSeparator();
  AddFloating(menu, "AllStreetsDraw", tr("Все улицы сразу"));
  QAction* fullScreen = Add(menu, "fullScreen", tr("Во весь экран"), {QKeySequence(QKeySequence::FullScreen), QKeySequence(Qt::Key_F11)});
  fullScreen->setCheckable(true);
  connect(fullScreen, &QAction::triggered, this, &TMainMenu::ToggleFullScreen);
  connect(&menu, &QMenu::aboutToShow, fullScreen, [this, fullScreen] { fullScreen->setChecked(form_.isFullScreen()); });
  QMenu& panels = *menu.addMenu(tr("Панели"));
  panels.setObjectName(QStringLiteral("panelsMenu"));
  AddExisting(panels, "layersPanelToggle");
  if (auto* identify = form_.findChild<QDockWidget*>(QStringLiteral("identifyPanel"))) {
    QAction* toggle = identify->toggleViewAction();
    toggle->setObjectName(QStringLiteral("identifyPanelToggle"));
    panels.addAction(toggle);
  }
}

void TMainMenu::ToggleFullScreen() {
  if (form_.isFullScreen()) {
    form_.showNormal();
  } else {
    form_.showFullScreen();
  }
}

void TMainMenu::BuildToolsMenu() {
  QMenu& menu = *form_.menuBar()->addMenu(tr("&Инструменты"));
  menu.setObjectName(QStringLiteral("toolsMenu"));
  AddFloating(menu, "ShiftView", tr("Таскать вид"));
  AddFloating(menu, "SelectArea", tr("Выбрать видимую область"));
  AddFloating(menu, "Zoom", tr("Масштаб плавно"));
  AddFloating(menu, "Rotate", tr("Вращение плавно"));
  menu.addSeparator();
  AddFloating(menu, "Identify", tr("Сведения об объекте"));
  AddFloating(menu, "Measure", tr("Измерение длины и площади"));
  AddExisting(menu, "measureClear");
  menu.addSeparator();
  AddExisting(menu, "goToStation");
}

void TMainMenu::BuildHelpMenu() {
  QMenu& menu = *form_.menuBar()->addMenu(tr("&Справка"));
  menu.setObjectName(QStringLiteral("helpMenu"));
  connect(Add(menu, "keys", tr("Клавиши"), {QKeySequence(QKeySequence::HelpContents), QKeySequence(Qt::Key_F1)}),
          &QAction::triggered, &form_, [this] { ShowKeysWindow(form_); });
  QAction* about = Add(menu, "about", tr("О программе"), {});
  about->setMenuRole(QAction::AboutRole);
  connect(about, &QAction::triggered, &form_, [this] { ShowAboutWindow(form_); });
}

}  // namespace vellmar
