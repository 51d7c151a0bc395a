#pragma once
// Measuring on the plan: in the measure mode (F10) each left click adds a point of a
// polyline, whose length, with the segment to the pointer while it is drawn, shows in
// the status bar. A click on the first point of a line of three or more points (within
// the snap radius, and nearer than any other place to snap to) closes it: the status bar
// then gives its perimeter and area. A right
// click ends the line where it is; the next left click starts a new one; Esc clears it.
// Points snap to the nearest vertex of a shown item within the snap radius, else to the
// nearest point of an item's line or of the main axis, marked over the plan; Shift held
// places the point where the pointer is, and the marker follows the key at once. A Ctrl+click identifies instead, as in every mode.
// A measurement belongs to its street: showing another one clears it. The line, the
// marker and the status text belong to the window; nothing changes the street.

#include <memory>
#include <optional>

#include <QObject>
#include <QPoint>

#include "geometry/XYZ.h"
#include "items/ItemSnapper.h"
#include "shell/plan/MouseEvents.h"

class QAction;
class QLabel;

namespace vellmar {

class IPlanWindow;
class TStreetStructure;

class TMeasureTool final : public QObject {
  Q_OBJECT

 public:
  // Device pixels within which points snap, and a click closes the line on its first point.
  static constexpr double kSnapPixels = 10.0;

  // The action "Measure", the window action "measureClear" (Esc) and the status bar's
  // label "measure".
  explicit TMeasureTool(IPlanWindow& form);
  ~TMeasureTool() override;

  TMouseEvents& Mode() { return mode_; }
  const TXYZArray& Points() const { return points_; }
  bool Closed() const { return closed_; }
  // Where the next point would go and what it snapped to, as the marker shows it.
  const std::optional<TSnap>& Snapped() const { return snap_; }
  void Clear();

 private:
  void Click(QPoint device, Qt::KeyboardModifiers modifiers);
  void Hover(QPoint device, Qt::KeyboardModifiers modifiers);
  // The world point for a device pixel, snapped unless Shift is held.
  TXYZ Place(QPoint device, Qt::KeyboardModifiers modifiers);
  // Whether the click closes the line: the first point is within the snap radius and no
  // other place to snap to is nearer.
  bool OnFirstPoint(QPoint device, Qt::KeyboardModifiers modifiers);
  void ShowLength();
  void Draw();
  // The snapper of the street shown, made when first needed for it.
  const TItemSnapper& Snapper();
  // Drops the snapper of a street closed, and the measurement once another street is shown.
  void FollowStreet();
  // Clear without asking for a redraw.
  void Forget();

  IPlanWindow& form_;
  TMouseEvents mode_;
  QAction* clear_;
  QLabel* label_;
  TXYZArray points_;
  bool closed_ = false;
  bool ended_ = false;
  std::optional<TXYZ> pointer_;
  // The device pixel of the last move in the mode, where Shift going down or up places again.
  std::optional<QPoint> hovered_;
  std::optional<TSnap> snap_;
  std::unique_ptr<TItemSnapper> snapper_;
  const TStreetStructure* snapperStreet_ = nullptr;
  const TStreetStructure* measuredStreet_ = nullptr;
  int drawHook_;
  int changeHook_;
};

}  // namespace vellmar
