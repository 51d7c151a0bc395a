#pragma once
// The window's status bar for the plan: the world point under the pointer, its station
// and offset along the current street's main axis, the scale at the screen's real size
// and the rotation. The texts follow every pointer move over the plan and every view
// change; nothing here asks for a redraw. The labels belong to the window's status bar;
// this object only fills them.

#include <optional>

#include <QObject>
#include <QPoint>
#include <QString>

class QLabel;

namespace vellmar {

class IPlanWindow;

class TPlanStatusBar final : public QObject {
  Q_OBJECT

 public:
  // Labels named "coordinates", "station", "scale" and "rotation".
  explicit TPlanStatusBar(IPlanWindow& form);
  ~TPlanStatusBar() override;

  // The place under a device pixel of the plan surface.
  void ShowPointer(QPoint device);
  // Scale and rotation, and the place under the pointer anew (the view moved under it).
  void ShowView();

 private:
  // Screen pixels per metre of the screen itself.
  double DevicePixelsPerMetre() const;

  IPlanWindow& form_;
  QLabel* coordinates_;
  QLabel* station_;
  QLabel* scale_;
  QLabel* rotation_;
  std::optional<QPoint> pointer_;
  int changeHook_;
};

}  // namespace vellmar
