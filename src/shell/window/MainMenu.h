#pragma once
// The window's menu bar, where people who know other desktop programs look first: File
// (open, recent files, reload, close, print, export, quit), View (fit, zoom, turn, the
// view's history and bookmarks, all streets, full screen, the panels), Tools (the mouse
// modes, identify, measure, go to station) and Help (the keys, about). The entries are
// the window's own actions where it has them; the floating view buttons are clicked
// through entries that only name their keys, so every key still reaches one handler.
// The menus belong to the window's menu bar; this object lives as long as the window.

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace vellmar {

class TFloatingAction;
class TMainForm;

class TMainMenu final : public QObject {
  Q_OBJECT

 public:
  explicit TMainMenu(TMainForm& form);

  QMenu& RecentMenu() { return *recent_; }
  // The window in full screen or back (F11).
  void ToggleFullScreen();

 private:
  void BuildFileMenu();
  void BuildViewMenu();
  void BuildToolsMenu();
  void BuildHelpMenu();
  void FillRecentMenu();
  // A new entry with its object name and keys; the first key is the one menus show.
  QAction* Add(QMenu& menu, const char* name, const QString& text, const QList<QKeySequence>& keys);
  // The window's action of that name, put into the menu.
  void AddExisting(QMenu& menu, const char* name);
  // An entry that clicks the floating action of that name (its key shown, not taken).
  QAction* AddFloating(QMenu& menu, const char* name, const QString& text);

  TMainForm& form_;
  QMenu* recent_ = nullptr;
};

}  // namespace vellmar
