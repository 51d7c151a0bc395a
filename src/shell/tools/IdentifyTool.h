#pragma once
// Identifying what is drawn on the plan: in the identify mode a click, and in every mode
// a Ctrl+click, finds the topmost shown item of the visible kinds under the pointer and
// shows what it is in a dockable panel (its kind, size and fields, as vellmar-info
// --pick tells them), outlining it on the plan; a click where nothing is clears both.
// The mode's action (F9) joins the window's floating actions; the panel and the overlay
// belong to the window. The item is remembered by its street, kind and ID and forgotten
// when another street is shown, so a street closed or read anew leaves nothing to draw.

#include <cstdint>

#include <QObject>
#include <QPoint>

#include "shell/plan/MouseEvents.h"

class QDockWidget;
class QTableWidget;

namespace vellmar {

class TAbstractItem;
class IPlanWindow;
class TStreetStructure;

class TIdentifyTool final : public QObject {
  Q_OBJECT

 public:
  // Pixels round lines and points that still hit them.
  static constexpr double kPickPixels = 3.0;

  // The action "Identify", the dock "identifyPanel" holding the table "identifyTable".
  explicit TIdentifyTool(IPlanWindow& form);
  ~TIdentifyTool() override;

  TMouseEvents& Mode() { return mode_; }
  // Identifies the item under a device pixel of the plan surface.
  void IdentifyAt(QPoint device);
  // The item shown in the panel, nullptr when none.
  TAbstractItem* Identified() const;

 private:
  void Show(TAbstractItem* item);
  void DrawHighlight();
  // Forgets the item once its street is closed or another one is shown.
  void DropWhenStreetClosed();

  IPlanWindow& form_;
  TMouseEvents mode_;
  QDockWidget* dock_;
  QTableWidget* table_;
  const TStreetStructure* street_ = nullptr;
  int32_t kind_ = -1;
  int32_t id_ = 0;
  int drawHook_;
  int changeHook_;
};

}  // namespace vellmar
