#pragma once
// The layers panel: a dockable list of the 41 item kinds with their marks, names, the
// number of items each has in the current street and a check box that shows or hides the
// kind on the plan (the window's visible kinds, kept in the settings as before). A double
// click shows only that kind, another one what was shown before; "Show all" shows every
// kind. The list follows every change of the window: a tab switch, a street loaded or
// reloaded, the kinds shown.

#include <vector>

#include <QObject>

#include "document/LayerChoice.h"

class QAction;
class QDockWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vellmar {

class IPlanWindow;

class TLayersPanel final : public QObject {
  Q_OBJECT

 public:
  // The columns of the list.
  enum TColumn { kNameColumn = 0, kCountColumn = 1 };

  // Adds the dock "layersPanel" on the window's right, hidden, and the toolbar's toggle
  // for it, the action "layersPanelToggle" (Ctrl+L). A child of the window, which the
  // window deletes ahead of its own children.
  explicit TLayersPanel(IPlanWindow& form);
  ~TLayersPanel() override;

  QDockWidget& Dock() { return *dock_; }
  // The list "layers": one row per kind, in kind order; the row's data is the kind index.
  QTreeWidget& List() { return *list_; }
  // The row of a kind, nullptr when the registry has no such kind.
  QTreeWidgetItem* Row(int kind) const;

 private:
  // Rows brought up to date with the current street and the visible kinds; only rows
  // that changed are written.
  void Refresh();
  void Ticked(QTreeWidgetItem* row, int column);
  void DoubleClicked(QTreeWidgetItem* row);
  void Show(const TKindSet& visible);

  IPlanWindow& form_;
  QDockWidget* dock_;
  QTreeWidget* list_;
  QAction* toggle_;
  TLayerChoice choice_;
  std::vector<TLayerRow> shown_;
  int changeHook_;
};

}  // namespace vellmar
