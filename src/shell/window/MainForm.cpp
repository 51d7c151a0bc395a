#include "shell/window/MainForm.h"

#include <exception>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "platform/files/DirectoryProvider.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/WarningSink.h"
#include "render/DisplayRenderer.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetReload.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/MouseEvents.h"
#include "shell/plan/PlanSurface.h"
#include "shell/sync/VellmarSync.h"
#include "shell/tools/GoToStation.h"
#include "shell/tools/IdentifyTool.h"
#include "shell/tools/LayersPanel.h"
#include "shell/tools/PlanExportAction.h"
#include "shell/tools/QuantitiesPanel.h"
#include "shell/tools/MainPlanControls.h"
#include "shell/tools/MeasureTool.h"
#include "shell/tools/PlanStatusBar.h"
#include "shell/tools/ViewBookmarkActions.h"
#include "shell/tools/ViewHistoryActions.h"
#include "shell/ui/DirectoryForm.h"
#include "shell/ui/FormPosition.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/ui/ShellText.h"
#include "shell/window/HeapStatistics.h"
#include "shell/window/MainMenu.h"

namespace vellmar {

namespace {

const QString kFormName = QStringLiteral("MainForm");
const QString kVisibleLayers = QStringLiteral("VisibleLayers");
constexpr int kRedrawIntervalMs = 10;
// The area-calculation kind is hidden unless the user's settings show it.
constexpr int kCalcAreaKind = 34;

}  // namespace

TMainForm::TMainForm(std::unique_ptr<IShellPrompts> prompts)
    : prompts_(prompts ? std::move(prompts) : std::make_unique<TDialogPrompts>(this)) {
  setObjectName(kFormName);
  setWindowTitle(QStringLiteral("Vellmar"));
  setMinimumSize(640, 480);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(FirstFormRect(screen->availableGeometry(), minimumSize()));
  } else {
    resize(minimumSize());
  }
  setAcceptDrops(true);
  streets_ = std::make_unique<TStreetsHolderModule>(*prompts_);
  drawer_ = std::make_unique<TMainPlanDrawer>(*streets_, [this]() -> TdxRenderer* { return renderer_.get(); });
  BuildLayout();
  // Closed and replaced streets free their vertex buffers and textures in the plan's
  // context.
  streets_->SetDeviceScope([this](const std::function<void()>& work) {
    surface_->makeCurrent();
    work();
    surface_->doneCurrent();
  });
  floatingActions_ = std::make_unique<TFloatingActions>();
  controls_ = std::make_unique<TMainPlanControls>(*this, *floatingActions_, devicePixelRatioF());
  streets_->CurrentStreet();
  activityHook_ = AddChangeHook([this] { streets_->NoteActivity(); });
  reload_ = std::make_unique<TStreetReload>(
      *streets_, *opener_, *prompts_,
      [this](int index, std::unique_ptr<TStreetStructure> street) { ReplaceStreet(index, std::move(street)); });
  AddChangeHook([this] { reload_->FollowTabs(); });
  ReadVisibleLayers();
  RestoreFormPosition(*this, kFormName, true);
  // Streets read on the opener's thread may warn too: the text is shown from this one.
  SetWarningSink([this](const std::string& message) {
    QMetaObject::invokeMethod(this, [this, text = FromCp1251(message)] { ShowLater(text); });
  });
  InstallDirectorySettings(*prompts_);
  updateTimer_.setInterval(kRedrawIntervalMs);
  connect(&updateTimer_, &QTimer::timeout, this, &TMainForm::UpdateTimerTimer);
  updateTimer_.start();
  qApp->installEventFilter(this);
  sync_ = std::make_unique<TVellmarSyncForm>(*this);
  drawer_->SetViewSender([this](const TViewState& view) { sync_->BroadcastView(view); });
  planStatus_ = std::make_unique<TPlanStatusBar>(*this);
  goToStation_ = std::make_unique<TGoToStation>(*this);
  viewHistory_ = std::make_unique<TViewHistoryActions>(*this);
  identify_ = std::make_unique<TIdentifyTool>(*this);
  measure_ = std::make_unique<TMeasureTool>(*this);
  layersPanel_ = std::make_unique<TLayersPanel>(*this);
  quantitiesPanel_ = std::make_unique<TQuantitiesPanel>(*this, [this] { return StreetLent(); });
  exportAction_ = std::make_unique<TPlanExportAction>(*this, [this] { return StreetLent(); });
  quantitiesPanel_->SetExportAction(&exportAction_->Action());
  bookmarks_ = std::make_unique<TViewBookmarkActions>(*this);
  // Last of the actions: the menus gather the ones the tools made.
  menu_ = new TMainMenu(*this);
  // Once every panel is there: a panel made later keeps its first place.
  RestoreDockState(*this, kFormName);
  PlanChanged();
}

TMainForm::~TMainForm() {
  destroying_ = true;
  StopPrints();
  // A load still running stops here, before the streets it would join go.
  reload_.reset();
  opener_.reset();
  drawer_->SetViewSender({});
  sync_.reset();
  qApp->removeEventFilter(this);
  SetWarningSink({});
  DirectoryProvider().SetAsker({});
  try {
    SaveFormPosition(*this, kFormName, true);
    SaveDockState(*this, kFormName);
    WriteSettingString(kFormName, kVisibleLayers, FromCp1251(TKindRegistry::KindSetToText(visibleLayers_)));
  } catch (const std::exception&) {
    // An unwritable settings file costs the window position, nothing else.
  }
  // The buttons refer to the actions, which go before the widgets do.
  delete actionPanel_;
  // GL objects of the streets' buffers and textures and of the device go while their
  // context is current.
  streets_->SetDeviceScope(nullptr);
  surface_->makeCurrent();
  streets_->CloseAll();
  renderer_.reset();
  surface_->doneCurrent();
}

void TMainForm::BuildLayout() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* top = new QFrame(central);
  top->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* row = new QHBoxLayout(top);
  row->setContentsMargins(1, 1, 1, 1);
  toolRow_ = row;
  const qreal ratio = devicePixelRatioF();
  const auto toolButton = [&](const char* name, const QString& hint, TToolBarPicture picture, const QKeySequence& key,
                              void (TMainForm::*execute)()) {
    auto* action = new QAction(QIcon(ToolBarPicture(picture, ratio)), hint, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, [this, execute] { (this->*execute)(); });
    AddToolButton(action);
    return action;
  };
  // F3 opens as it always did; Ctrl+O is the key every other program has.
  toolButton("openStreet", tr("Открыть файл"), TToolBarPicture::Open, QKeySequence(Qt::Key_F3), &TMainForm::OpenStreetExecute)
      ->setShortcuts({QKeySequence(Qt::Key_F3), QKeySequence(QKeySequence::Open)});
  toolButton("print", tr("Печать"), TToolBarPicture::Print, QKeySequence(QKeySequence::Print), &TMainForm::PrintSetupExecute);

  auto* tabs = new QVBoxLayout();
  tabs->setSpacing(0);
  streetsTab_ = new QTabBar(top);
  streetsTab_->setFocusPolicy(Qt::NoFocus);
  streetsTab_->setExpanding(false);
  streetsTab_->setContextMenuPolicy(Qt::CustomContextMenu);
  tabsMenu_ = new QMenu(this);
  connect(tabsMenu_->addAction(tr("Закрыть")), &QAction::triggered, this, &TMainForm::CloseStreetMIClick);
  connect(tabsMenu_->addAction(tr("Закрыть все")), &QAction::triggered, this,
          &TMainForm::CloseAllMIClick);
  // The menu acts on the current street: the tab clicked becomes current first.
  connect(streetsTab_, &QTabBar::customContextMenuRequested, this, [this](const QPoint& at) {
    if (const int clicked = streetsTab_->tabAt(at); clicked >= 0) streetsTab_->setCurrentIndex(clicked);
    tabsMenu_->popup(streetsTab_->mapToGlobal(at));
  });
  connect(streetsTab_, &QTabBar::currentChanged, this, &TMainForm::StreetsTabChange);
  fileNameLabel_ = new QLabel(top);
  fileNameLabel_->setContentsMargins(8, 2, 8, 2);
  fileNameLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tabs->addWidget(streetsTab_);
  tabs->addWidget(fileNameLabel_);
  row->addLayout(tabs, 1);
  opener_ = std::make_unique<TStreetOpener>(*prompts_, top);
  // A request for a file that failed or was cancelled on its way does not outlive it.
  connect(opener_.get(), &TStreetOpener::Idle, this, [this] { currentOnArrival_.clear(); });
  row->addWidget(&opener_->Panel());
  column->addWidget(top);

  surface_ = new TPlanSurface(central);
  column->addWidget(surface_, 1);
  actionPanel_ = new QFrame(surface_);
  actionPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  actionPanel_->setLineWidth(1);
  actionPanel_->setAutoFillBackground(true);
  actionPanel_->move(0, 0);
  connect(surface_, &TPlanSurface::Resized, this, &TMainForm::SurfaceResized);
  connect(surface_, &TPlanSurface::Paint, this, &TMainForm::DrawFrame);
  connect(surface_, &TPlanSurface::MouseDown, this, [this](QMouseEvent* e) { MouseToMode(e, kDown); });
  connect(surface_, &TPlanSurface::MouseMove, this, [this](QMouseEvent* e) { MouseToMode(e, kMove); });
  connect(surface_, &TPlanSurface::MouseUp, this, [this](QMouseEvent* e) { MouseToMode(e, kUp); });
  setCentralWidget(central);
}

void TMainForm::AddToolButton(QAction* action) {
  addAction(action);
  action->setToolTip(HintWithKey(action->toolTip(), action->shortcut().toString(QKeySequence::NativeText)));
  auto* button = new QToolButton(toolRow_->parentWidget());
  button->setDefaultAction(action);
  button->setAutoRaise(true);
  button->setFixedSize(40, 40);
  button->setIconSize(QSize(32, 32));
  button->setFocusPolicy(Qt::NoFocus);
  toolRow_->insertWidget(toolButtonCount_++, button);
}

void TMainForm::ReadVisibleLayers() {
  const QString text = ReadSettingString(kFormName, kVisibleLayers);
  TKindSet layers;
  if (!text.isEmpty()) layers = TKindRegistry::TextToKindSet(ToCp1251(text));
  if (layers.IsEmpty()) {
    layers = TKindRegistry::AllKinds();
    layers.Exclude(kCalcAreaKind);
  }
  visibleLayers_ = layers;
}

void TMainForm::SurfaceResized() {
  // The surface keeps its context across resizes, so the device keeps its buffers and
  // textures: only the size it draws at changes, and nothing is uploaded again.
  const QSize size = surface_->DeviceSize();
  if (renderer_ && renderer_->Resize(size.width(), size.height())) {
    PlanChanged();
    return;
  }
  CreateRenderer();
}

void TMainForm::CreateRenderer() {
  // A device made now would change the drawing state the print's device shares.
  if (streetLent_) {
    rendererStale_ = true;
    return;
  }
  renderer_.reset();
  const QSize size = surface_->DeviceSize();
  const auto width = static_cast<uint32_t>(size.width()), height = static_cast<uint32_t>(size.height());
  renderer_ = std::make_unique<TDisplayRenderer>(
      size.width(), size.height(),
      [width, height](std::unique_ptr<IGpuDevice>& device) { return GlDevice::Create(width, height, device); },
      [this](const std::string& message) { ShowLater(FromCp1251(message)); });
  PlanChanged();
}

void TMainForm::PlanChanged() {
  if (destroying_ || !controls_) return;
  needsRedraw_ = true;
  if (mouseMode_ && !mouseMode_->CheckContext()) SetMouseMode(nullptr);
  floatingActions_->UpdateAllActions();
  floatingActions_->ArrangeButtons(*actionPanel_);
  for (const auto& [id, hook] : changeHooks_) hook();
  RefreshTabs();
}

void TMainForm::PlanChangedPromptly() {
  PlanChanged();
  // Still at most one frame a tick.
  if (sinceFrame_.isValid() && sinceFrame_.elapsed() >= kRedrawIntervalMs) UpdateTimerTimer();
}

void TMainForm::UpdateTimerTimer() {
  if (!needsRedraw_ || streetLent_) return;
  needsRedraw_ = false;
  surface_->update();
}

void TMainForm::DrawFrame() {
  // The plan keeps its last picture while a print reads the street; it comes afterwards.
  if (streetLent_) {
    needsRedraw_ = true;
    return;
  }
  if (!renderer_) return;
  TDisplayRenderer& renderer = *renderer_;
  bool inFrame = false;
  try {
    renderer.FrameCounters() = {};
    renderer.BeginFrame();
    inFrame = true;
    drawer_->Draw(visibleLayers_);
    for (const auto& [id, hook] : drawHooks_) hook(drawer_->DrawParams());
    inFrame = false;
    renderer.EndFrame();
    renderer.PresentFrame();
    frameError_.clear();
  } catch (const std::exception& error) {
    // The frame bracket must close, or every later frame fails to begin.
    if (inFrame) {
      try {
        renderer.EndFrame();
      } catch (const std::exception&) {
        // The first error is the one worth showing.
      }
    }
    const QString text = ErrorText(error);
    if (text != frameError_) ShowLater(text);
    frameError_ = text;
  }
  ++frameCount_;
  const THeapStatistics heap = HeapStatistics();
  caption_ = QStringLiteral("Vellmar.  Mem usage %1/%2").arg(heap.Blocks).arg(heap.Bytes);
  ShowTitle();
  updateTimer_.start();
  sinceFrame_.start();
}

void TMainForm::ShowLater(const QString& text) {
  if (pendingMessages_.contains(text)) return;
  pendingMessages_ << text;
  QTimer::singleShot(0, this, &TMainForm::ShowPendingMessages);
}

void TMainForm::ShowPendingMessages() {
  // One box at a time: messages raised while a box is open wait for it to close.
  if (showingMessage_) return;
  showingMessage_ = true;
  while (!pendingMessages_.isEmpty()) {
    prompts_->ShowMessage(pendingMessages_.front());
    pendingMessages_.removeFirst();
  }
  showingMessage_ = false;
}

void TMainForm::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    prompts_->ShowMessage(ErrorText(error));
  }
}

void TMainForm::SetMouseMode(TMouseEvents* mode) {
  mouseMode_ = mode;
  surface_->unsetCursor();
  if (mode) {
    if (mode->BeforeSendEvents) mode->BeforeSendEvents();
    if (mode->Cursor() != -1) surface_->setCursor(CustomCursor(mode->Cursor(), devicePixelRatioF()));
  }
  PlanChanged();
}

int TMainForm::AddDrawHook(TDrawHook hook) {
  drawHooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TMainForm::RemoveDrawHook(int id) {
  std::erase_if(drawHooks_, [id](const auto& entry) { return entry.first == id; });
}

int TMainForm::AddChangeHook(std::function<void()> hook) {
  changeHooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TMainForm::RemoveChangeHook(int id) {
  std::erase_if(changeHooks_, [id](const auto& entry) { return entry.first == id; });
}

}  // namespace vellmar
