#pragma once
// The fourteen view actions shown as floating buttons over the plan (shift, turn, zoom,
// fit, the four mouse modes, all streets at once) and the four mouse modes that drag
// the plan, select the visible area, zoom and turn it smoothly. Everything acts on the
// current street's view through the window's plan drawer and ends with PlanChanged. The
// actions belong to the window's action list, the modes to this object.

#include <QPoint>

#include "geometry/XYZ.h"
#include "shell/plan/MouseEvents.h"
#include "shell/ui/Pictures.h"

namespace vellmar {

class IPlanWindow;
class TFloatingActions;

class TMainPlanControls {
 public:
  // Adds the actions to the list; pictures are drawn for the given device pixel ratio.
  TMainPlanControls(IPlanWindow& form, TFloatingActions& actions, qreal pixelRatio);

  // A floating action in the row of the view actions that makes the mode the active one,
  // as F5 to F8 do for the four modes here.
  static void AddModeAction(IPlanWindow& form, const QString& name, const QString& hint, TButtonPicture picture,
                            int key, TMouseEvents& mode);

  TMouseEvents& ShiftViewMode() { return shiftViewMode_; }
  TMouseEvents& SelectAreaMode() { return selectAreaMode_; }
  TMouseEvents& ZoomMode() { return zoomMode_; }
  TMouseEvents& RotateMode() { return rotateMode_; }

 private:
  void AddActions(TFloatingActions& actions, qreal pixelRatio);
  void SetUpShiftView();
  void SetUpSelectArea();
  void SetUpZoom();
  void SetUpRotate();
  // The selection rectangle drawn over the plan while it is dragged.
  void DrawSelection();

  IPlanWindow& form_;
  TMouseEvents shiftViewMode_;
  TMouseEvents selectAreaMode_;
  TMouseEvents zoomMode_;
  TMouseEvents rotateMode_;

  QPoint dragStart_;
  QPoint dragCurrent_;
  TXYZ startCentre_;
  double startRotation_ = 0.0;
  double startScale_ = 0.0;
  bool dragging_ = false;
  bool selecting_ = false;
  bool zooming_ = false;
  bool rotating_ = false;
  int selectionHook_ = -1;
};

}  // namespace vellmar
