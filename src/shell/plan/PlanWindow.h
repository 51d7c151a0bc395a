#pragma once
// What a tool over the plan (identify, measure, layers, the view actions, the status
// bar, synchronisation...) needs of the window that shows the plan: the streets and the
// current street's view, the surface and the floating view actions, a redraw request,
// hooks run on every change and after every frame, the mouse mode, the visible kinds,
// the toolbar and the status line. The main window implements it; a tool's test may use
// a small stand-in instead of the whole window. Tools hold a reference to it and must
// not outlive it.

#include <functional>

#include "document/KindSet.h"
#include "render/DxDrawParams.h"

class QAction;
class QMainWindow;
class QStatusBar;

namespace vellmar {

class TFloatingActions;
class TMainPlanDrawer;
class TMouseEvents;
class TPlanSurface;
class TStreetsHolderModule;

class IPlanWindow {
 public:
  using TDrawHook = std::function<void(const TDxDrawParams& params)>;

  virtual ~IPlanWindow() = default;

  // The Qt window that a tool's actions, docks, dialogs and messages belong to.
  virtual QMainWindow& Window() = 0;
  virtual TStreetsHolderModule& Streets() = 0;
  // The current street and its view.
  virtual TMainPlanDrawer& Drawer() = 0;
  virtual TPlanSurface& Surface() = 0;
  virtual TFloatingActions& FloatingActions() = 0;
  // The line at the foot of the window that tools add their permanent labels to.
  virtual QStatusBar& StatusLine() = 0;

  // Asks for a redraw (at most one frame per tick) and runs the change hooks.
  virtual void PlanChanged() = 0;
  // PlanChanged for a change that comes from elsewhere: drawn at once when the last
  // frame is a tick old already.
  virtual void PlanChangedPromptly() = 0;
  // Drawn after the plan, in order of adding; the number removes the hook again.
  virtual int AddDrawHook(TDrawHook hook) = 0;
  virtual void RemoveDrawHook(int id) = 0;
  // Called by every PlanChanged, in order of adding.
  virtual int AddChangeHook(std::function<void()> hook) = 0;
  virtual void RemoveChangeHook(int id) = 0;

  virtual void SetMouseMode(TMouseEvents* mode) = 0;
  virtual TMouseEvents* MouseMode() const = 0;
  virtual const TKindSet& VisibleLayers() const = 0;
  virtual void SetVisibleLayers(const TKindSet& layers) = 0;
  // A button for the action in the toolbar; its shortcut works wherever the window has
  // the focus.
  virtual void AddToolButton(QAction* action) = 0;

 protected:
  IPlanWindow() = default;
  IPlanWindow(const IPlanWindow&) = default;
  IPlanWindow& operator=(const IPlanWindow&) = default;
};

}  // namespace vellmar
