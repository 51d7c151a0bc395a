#pragma once
// The main window: the toolbar (open, print), the tab strip of open streets with its
// menu and the file-name label, the plan surface with the floating view buttons, and the
// routing of keys, wheel and mouse to the view. Nothing draws in an input handler: every
// change calls PlanChanged, and a 10 ms timer draws at most one frame per tick, only
// when something changed. The window owns the streets module, the renderer (made anew
// on every resize), the plan drawer, the view actions and the mouse modes; the tools see
// it only as the plan window they are made with.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include "document/KindSet.h"
#include "render/DxDrawParams.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/ShellPrompts.h"

class QHBoxLayout;
class QLabel;
class QMenu;
class QTabBar;
class QFrame;

namespace vellmar {

class TDisplayRenderer;
class TFloatingActions;
class TGoToStation;
class TIdentifyTool;
class TLayersPanel;
class TPlanExportAction;
class TQuantitiesPanel;
class TMainMenu;
class TMainPlanControls;
class TMainPlanDrawer;
class TMeasureTool;
class TMouseEvents;
class TPlanStatusBar;
class TPlanSurface;
class TPrintForm;
class TStreetOpener;
class TStreetReload;
class TStreetsHolderModule;
class TStreetStructure;
class TVellmarSyncForm;
class TViewBookmarkActions;
class TViewHistoryActions;

class TMainForm final : public QMainWindow, public IPlanWindow {
  Q_OBJECT

 public:
  // Prompts: how the window asks and tells the user; message boxes and file dialogs
  // when null.
  explicit TMainForm(std::unique_ptr<IShellPrompts> prompts = nullptr);
  // Stores the window position and the visible kinds; frees the streets unasked (closing
  // the window is where unsaved streets are asked about).
  ~TMainForm() override;

  // Asks for a redraw and brings buttons, tabs and hooks up to date.
  void PlanChanged() override;
  // PlanChanged for a change that comes from elsewhere (another viewer's view): drawn at
  // once when the last frame is a tick old already, not up to a tick later.
  void PlanChangedPromptly() override;
  void SetMouseMode(TMouseEvents* mode) override;
  TMouseEvents* MouseMode() const override { return mouseMode_; }
  // Drawn after the plan, in order of adding; the number removes the hook again.
  int AddDrawHook(TDrawHook hook) override;
  void RemoveDrawHook(int id) override;
  // Called by every PlanChanged, in order of adding.
  int AddChangeHook(std::function<void()> hook) override;
  void RemoveChangeHook(int id) override;

  // Opens the files as the open dialog would (used for the command line and dropped
  // files); failures are reported, the rest still open; pristine streets then go.
  void OpenFiles(const QStringList& fileNames);
  // The files read one after another on a worker thread while the window goes on; each
  // becomes the current tab when it arrives (the open dialog, dropped files, the command
  // line). A file open already is only shown.
  void OpenFilesInBackground(const QStringList& fileNames);
  // The streets open when the window last closed, in the background, with their views
  // and current tab; files that vanished are named in one message.
  void RestoreSession();
  void OpenStreetExecute();
  void PrintSetupExecute();
  // The print window, made and shown (modal to the window, not blocking its loop).
  TPrintForm& OpenPrintForm();
  void CloseStreetMIClick();
  void CloseAllMIClick();
  void RefreshTabs();
  // The current street's file name, "*" when it has unsaved changes, " — ", then the
  // caption with the heap figures: task bars show the file first.
  void ShowTitle();
  // A 40 × 40 button for the action in the toolbar, after the ones there; the action
  // joins the window's, so its shortcut works wherever the window has the focus.
  void AddToolButton(QAction* action) override;

  QMainWindow& Window() override { return *this; }
  QStatusBar& StatusLine() override { return *statusBar(); }
  TStreetsHolderModule& Streets() override { return *streets_; }
  TMainPlanDrawer& Drawer() override { return *drawer_; }
  TMainPlanControls& Controls() { return *controls_; }
  TFloatingActions& FloatingActions() override { return *floatingActions_; }
  TIdentifyTool& Identify() { return *identify_; }
  TMeasureTool& Measure() { return *measure_; }
  TPlanSurface& Surface() override { return *surface_; }
  TVellmarSyncForm& Sync() { return *sync_; }
  TStreetOpener& Opener() { return *opener_; }
  TStreetReload& Reload() { return *reload_; }
  QTabBar& StreetsTab() { return *streetsTab_; }
  QLabel& FileNameLabel() { return *fileNameLabel_; }
  QFrame& ActionPanel() { return *actionPanel_; }
  TDisplayRenderer* Renderer() const { return renderer_.get(); }
  const TKindSet& VisibleLayers() const override { return visibleLayers_; }
  void SetVisibleLayers(const TKindSet& layers) override { visibleLayers_ = layers; }
  bool NeedsRedraw() const { return needsRedraw_; }
  // Frames drawn since the window was made.
  int FrameCount() const { return frameCount_; }
  // Whether a print on a worker thread reads the current street: no frame is drawn, and
  // streets arriving, read again or saved as copies wait until it is back.
  bool StreetLent() const { return streetLent_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Which of the surface's mouse events MouseToMode hands on.
  enum TMouseEventKind { kDown, kMove, kUp };

  void BuildLayout();
  void CreateRenderer();
  // Keeps the renderer at the surface's new size, or makes one when it cannot.
  void SurfaceResized();
  void UpdateTimerTimer();
  void DrawFrame();
  void StreetsTabChange(int index);
  void FormKeyDown(QKeyEvent* event);
  void FormKeyUp(QKeyEvent* event);
  // Shift, Ctrl or Alt going down or up tells the mouse mode, whose marks may depend on them.
  void ModifierKeyToMode(const QKeyEvent* event, bool pressed);
  // To the mouse mode; with none chosen, to the drag mode, so a left-button drag pans.
  void MouseToMode(QMouseEvent* event, int kind);
  void ReadVisibleLayers();
  // A street read in the background joins as a tab. CurrentRequest (0: none) numbers the
  // request that it become current: it does unless a later request was shown already,
  // so the last file asked for is current however the files arrive.
  void StreetArrived(const QString& path, std::unique_ptr<TStreetStructure> street, int currentRequest);
  // Frees the old street's GL objects while the surface's context is current.
  void ReplaceStreet(int index, std::unique_ptr<TStreetStructure> street);
  // The print form lends the street to its worker (true) and gives it back (false).
  void LendStreet(bool lent);
  // Runs the work now, or once the street lent to a print is back.
  void WhenStreetReturned(std::function<void()> work);
  // Stops the prints of the print forms, before the streets they read go.
  void StopPrints();
  // Runs an input handler; an error it raises is shown and the window goes on.
  void Guard(const std::function<void()>& handler);
  // Shown once the current event is over (never from inside a paint), one box at a time;
  // a text already waiting is not queued twice, and the same frame error is shown once
  // until a frame succeeds.
  void ShowLater(const QString& text);
  void ShowPendingMessages();

  std::unique_ptr<IShellPrompts> prompts_;
  std::unique_ptr<TStreetsHolderModule> streets_;
  std::unique_ptr<TDisplayRenderer> renderer_;
  std::unique_ptr<TMainPlanDrawer> drawer_;
  std::unique_ptr<TFloatingActions> floatingActions_;
  std::unique_ptr<TMainPlanControls> controls_;
  std::unique_ptr<TVellmarSyncForm> sync_;
  std::unique_ptr<TStreetOpener> opener_;
  std::unique_ptr<TStreetReload> reload_;
  TPlanSurface* surface_ = nullptr;
  QTabBar* streetsTab_ = nullptr;
  QLabel* fileNameLabel_ = nullptr;
  QHBoxLayout* toolRow_ = nullptr;
  int toolButtonCount_ = 0;
  QFrame* actionPanel_ = nullptr;
  QMenu* tabsMenu_ = nullptr;
  QTimer updateTimer_;
  QElapsedTimer sinceFrame_;

  bool destroying_ = false;
  bool needsRedraw_ = true;
  bool streetLent_ = false;
  // A resize while the street was lent: the renderer is made anew once it is back.
  bool rendererStale_ = false;
  std::vector<std::function<void()>> whenReturned_;
  int frameCount_ = 0;
  // Requests that a file's tab become current, numbered in the order made, and the
  // latest one carried out; files asked for while already on their way, with their
  // request, until they arrive.
  int currentRequests_ = 0;
  int currentShown_ = 0;
  std::vector<std::pair<QString, int>> currentOnArrival_;
  QString frameError_;
  QString caption_ = QStringLiteral("Vellmar");
  QStringList pendingMessages_;  // the first is the one on the screen
  bool showingMessage_ = false;
  TKindSet visibleLayers_;
  TMouseEvents* mouseMode_ = nullptr;
  TMouseEvents* savedMouseMode_ = nullptr;
  bool temporaryMode_ = false;
  // The wheel's angle not yet spent on a whole step.
  int wheelAngle_ = 0;
  std::vector<std::pair<int, TDrawHook>> drawHooks_;
  std::vector<std::pair<int, std::function<void()>>> changeHooks_;
  int nextHookId_ = 0;
  int activityHook_ = -1;
  // Last: it unhooks itself from the window's change hooks as it goes.
  std::unique_ptr<TPlanStatusBar> planStatus_;
  std::unique_ptr<TGoToStation> goToStation_;
  std::unique_ptr<TViewHistoryActions> viewHistory_;
  std::unique_ptr<TIdentifyTool> identify_;
  std::unique_ptr<TMeasureTool> measure_;
  std::unique_ptr<TLayersPanel> layersPanel_;
  std::unique_ptr<TQuantitiesPanel> quantitiesPanel_;
  std::unique_ptr<TPlanExportAction> exportAction_;
  std::unique_ptr<TViewBookmarkActions> bookmarks_;
  TMainMenu* menu_ = nullptr;  // a child of the window
};

}  // namespace vellmar
