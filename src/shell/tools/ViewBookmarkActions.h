#pragma once
// Named views of the current street's file: the toolbar's bookmark button opens a menu
// (also Ctrl+B) that adds the view as a bookmark (also Ctrl+D; a small window asks for
// the name), lists the bookmarks to go to, and renames or deletes them. Going to a
// bookmark is a view change like any other, so Back returns from it. A street that is
// not kept in a file has no bookmarks.

#include <cstddef>
#include <optional>

#include <QObject>
#include <QString>

#include "document/ViewBookmarks.h"

class QAction;
class QDialog;
class QMenu;

namespace vellmar {

class IPlanWindow;
class TTextFieldForm;

class TViewBookmarkActions final : public QObject {
  Q_OBJECT

 public:
  // Adds the actions "bookmarkAdd" (Ctrl+D) and "bookmarks" (Ctrl+B), the toolbar button
  // of the latter and its menu "bookmarksMenu". A child of the window named
  // "viewBookmarks", which the window deletes ahead of its own children.
  explicit TViewBookmarkActions(IPlanWindow& form);
  ~TViewBookmarkActions() override;

  // The full path of the current street's file; empty when it has none.
  QString FilePath() const;
  TViewBookmarks Bookmarks() const;
  void GoTo(std::size_t index);
  // Asks for the name of a new bookmark of the view, or the new name of a bookmark.
  void AskName(std::optional<std::size_t> renaming = std::nullopt);
  // The window that asks, "bookmarkNameForm", its field "name" and its error line "error".
  QDialog& NameForm();
  // Filled anew each time it opens: add, the bookmarks, rename and delete.
  QMenu& Menu() { return *menu_; }

 private:
  void FillMenu();
  // Keeps the bookmark under the name asked for; what is wrong, else empty.
  QString ApplyName(const QString& text);
  void Remove(std::size_t index);
  // Stores the changed bookmarks of the file; what went wrong, else empty.
  static QString Store(const QString& filePath, const TViewBookmarks& bookmarks);

  IPlanWindow& form_;
  QAction* add_;
  QAction* open_;
  QMenu* menu_;
  TTextFieldForm* nameForm_ = nullptr;
  QMenu* renameMenu_;
  QMenu* removeMenu_;
  // What the name window was opened for: the file, the view then, the bookmark renamed.
  QString namingPath_;
  TViewState namingView_;
  std::optional<std::size_t> renaming_;
  int changeHook_;
};

}  // namespace vellmar
