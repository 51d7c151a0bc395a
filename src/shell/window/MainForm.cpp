#include "shell/window/MainForm.h"

#include <cmath>
#include <numbers>
#include <exception>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "platform/files/DirectoryProvider.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/WarningSink.h"
#include "render/DisplayRenderer.h"
#include "shell/files/Session.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetReload.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/MouseEvents.h"
#include "shell/plan/PlanSurface.h"
#include "shell/print/PrintForm.h"
#include "shell/sync/VellmarSync.h"
#include "shell/tools/GoToStation.h"
#include "shell/tools/IdentifyTool.h"
#include "shell/tools/LayersPanel.h"
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

namespace vellmar {

namespace {

const QString kFormName = QStringLiteral("MainForm");
const QString kVisibleLayers = QStringLiteral("VisibleLayers");
constexpr int kRedrawIntervalMs = 10;
// The area-calculation kind is hidden unless the user's settings show it.
constexpr int kCalcAreaKind = 34;
constexpr float kSmallestScale = 1e-6f;
enum TMouseEventKind { kDown, kMove, kUp };

}  // namespace

TMainForm::TMainForm(std::unique_ptr<IShellPrompts> prompts)
    : prompts_(prompts ? std::move(prompts) : std::make_unique<TDialogPrompts>(this)) {
  setObjectName(kFormName);
  setWindowTitle(QStringLiteral("Vellmar"));
  resize(640, 480);
  setMinimumSize(640, 480);
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
  bookmarks_ = std::make_unique<TViewBookmarkActions>(*this);
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
  const auto toolButton = [&](const QString& hint, TToolBarPicture picture, void (TMainForm::*execute)()) {
    auto* action = new QAction(QIcon(ToolBarPicture(picture, ratio)), hint, this);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [this, execute] { (this->*execute)(); });
    AddToolButton(action);
    return action;
  };
  toolButton(tr("Открыть файл"), TToolBarPicture::Open, &TMainForm::OpenStreetExecute)
      ->setShortcut(QKeySequence(Qt::Key_F3));
  toolButton(tr("Настройка принтеров"), TToolBarPicture::Print, &TMainForm::PrintSetupExecute);

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
  connect(streetsTab_, &QTabBar::customContextMenuRequested, this,
          [this](const QPoint& at) { tabsMenu_->popup(streetsTab_->mapToGlobal(at)); });
  connect(streetsTab_, &QTabBar::currentChanged, this, &TMainForm::StreetsTabChange);
  fileNameLabel_ = new QLabel(top);
  fileNameLabel_->setContentsMargins(8, 2, 8, 2);
  fileNameLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tabs->addWidget(streetsTab_);
  tabs->addWidget(fileNameLabel_);
  row->addLayout(tabs, 1);
  opener_ = std::make_unique<TStreetOpener>(*prompts_, top);
  row->addWidget(&opener_->Panel());
  column->addWidget(top);

  surface_ = new TPlanSurface(central);
  column->addWidget(surface_, 1);
  actionPanel_ = new QFrame(surface_);
  actionPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  actionPanel_->setLineWidth(1);
  actionPanel_->setAutoFillBackground(true);
  actionPanel_->move(0, 0);
  connect(surface_, &TPlanSurface::Resized, this, &TMainForm::CreateRenderer);
  connect(surface_, &TPlanSurface::Paint, this, &TMainForm::DrawFrame);
  connect(surface_, &TPlanSurface::MouseDown, this, [this](QMouseEvent* e) { MouseToMode(e, kDown); });
  connect(surface_, &TPlanSurface::MouseMove, this, [this](QMouseEvent* e) { MouseToMode(e, kMove); });
  connect(surface_, &TPlanSurface::MouseUp, this, [this](QMouseEvent* e) { MouseToMode(e, kUp); });
  setCentralWidget(central);
}

void TMainForm::AddToolButton(QAction* action) {
  addAction(action);
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
  setWindowTitle(QStringLiteral("Vellmar.  Mem usage %1/%2").arg(heap.Blocks).arg(heap.Bytes));
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

void TMainForm::RefreshTabs() {
  const QStringList captions = streets_->TabCaptions();
  QStringList present;
  for (int i = 0; i < streetsTab_->count(); ++i) present << streetsTab_->tabText(i);
  const QSignalBlocker quiet(streetsTab_);
  if (present != captions) {
    while (streetsTab_->count() > 0) streetsTab_->removeTab(0);
    for (const QString& caption : captions) streetsTab_->addTab(caption);
  }
  const int current = streets_->CurrentIndex();
  if (current >= 0 && current < streetsTab_->count()) streetsTab_->setCurrentIndex(current);
  streetsTab_->setVisible(streetsTab_->count() > 0);
  fileNameLabel_->setText(streets_->CurrentFileName());
  const qreal ratio = devicePixelRatioF();
  for (int i = 0; i < streetsTab_->count(); ++i) {
    const TStreetStructure& street = streets_->StreetAt(i);
    const TTabPicture mark = street.IsPristine() ? TTabPicture::Pristine
                             : street.Modified() ? TTabPicture::Modified
                                                 : TTabPicture::Saved;
    if (streetsTab_->tabData(i).toInt() == static_cast<int>(mark) + 1) continue;
    streetsTab_->setTabData(i, static_cast<int>(mark) + 1);
    streetsTab_->setTabIcon(i, QIcon(TabPicture(mark, ratio)));
  }
}

void TMainForm::StreetsTabChange(int index) {
  if (index < 0 || index >= streets_->StreetCount()) return;
  const TViewState view = drawer_->View();
  streets_->SetCurrentIndex(index);
  // With all streets shown the picture stays where it was.
  if (drawer_->AllStreets()) drawer_->SetView(view);
  PlanChanged();
}

void TMainForm::OpenFiles(const QStringList& fileNames) {
  Guard([&] {
    if (streets_->OpenFiles(fileNames) != -1) streets_->DropPristineStreets();
  });
  PlanChanged();
}

void TMainForm::OpenFilesInBackground(const QStringList& fileNames) {
  for (const QString& fileName : fileNames) {
    const QString path = TStreetsHolderModule::StreetPath(fileName);
    if (const int open = streets_->FindOpenFile(path); open >= 0) {
      streets_->SetCurrentIndex(open);
      continue;
    }
    opener_->Enqueue(path, [this](const QString& name, std::unique_ptr<TStreetStructure> street) {
      StreetArrived(name, std::move(street), true);
    });
  }
  PlanChanged();
}

void TMainForm::RestoreSession() {
  if (!SessionRestoreEnabled()) return;
  const TSession session = ReadSession();
  QStringList vanished;
  for (int i = 0; i < static_cast<int>(session.Streets.size()); ++i) {
    const TSessionStreet& kept = session.Streets[static_cast<size_t>(i)];
    if (!QFileInfo(kept.FileName).isFile()) {
      vanished << kept.FileName;
      continue;
    }
    const TViewState view = kept.View;
    const bool current = i == session.Current;
    opener_->Enqueue(kept.FileName, [this, view, current](const QString& name, std::unique_ptr<TStreetStructure> street) {
      if (view.Scale != 0.0f) street->SetView(view.Centre, view.Scale, view.Rotation);
      StreetArrived(name, std::move(street), current);
    });
  }
  if (!vanished.isEmpty()) {
    ShowLater(tr("Файлы прошлого сеанса не найдены и не открыты:") + QLatin1Char('\n') + vanished.join(QLatin1Char('\n')));
  }
}

void TMainForm::StreetArrived(const QString& path, std::unique_ptr<TStreetStructure> street, bool current) {
  if (streetLent_) {
    // Joining may drop a pristine street, perhaps the one printed.
    auto waiting = std::make_shared<std::unique_ptr<TStreetStructure>>(std::move(street));
    WhenStreetReturned([this, path, waiting, current] { StreetArrived(path, std::move(*waiting), current); });
    return;
  }
  const int index = streets_->AddStreet(path, std::move(street));
  if (current) streets_->SetCurrentIndex(index);
  streets_->DropPristineStreets();
  PlanChanged();
}

void TMainForm::ReplaceStreet(int index, std::unique_ptr<TStreetStructure> street) {
  if (streetLent_) {
    // Known by the street it replaces: the tabs may move before it is back.
    const TStreetStructure* old = &streets_->StreetAt(index);
    auto waiting = std::make_shared<std::unique_ptr<TStreetStructure>>(std::move(street));
    WhenStreetReturned([this, old, waiting] {
      for (int i = 0; i < streets_->StreetCount(); ++i) {
        if (&streets_->StreetAt(i) != old) continue;
        ReplaceStreet(i, std::move(*waiting));
        return;
      }
    });
    return;
  }
  streets_->ReplaceStreet(index, std::move(street));
  PlanChanged();
}

void TMainForm::WhenStreetReturned(std::function<void()> work) {
  if (streetLent_) {
    whenReturned_.push_back(std::move(work));
  } else {
    work();
  }
}

void TMainForm::LendStreet(bool lent) {
  streetLent_ = lent;
  if (lent) {
    // An autosave reads the street too; the next one comes a whole interval after the print.
    streets_->AutoSaveTimer().stop();
    return;
  }
  std::vector<std::function<void()>> waiting = std::move(whenReturned_);
  whenReturned_.clear();
  if (destroying_) return;
  streets_->AutoSaveTimer().start();
  if (rendererStale_) {
    rendererStale_ = false;
    CreateRenderer();
  }
  for (const std::function<void()>& work : waiting) Guard(work);
  PlanChanged();
}

void TMainForm::StopPrints() {
  // A form's print stops and its thread ends when the form goes.
  for (TPrintForm* form : findChildren<TPrintForm*>()) delete form;
}

void TMainForm::OpenStreetExecute() {
  Guard([&] { OpenFilesInBackground(streets_->OpenDialog().Execute()); });
  PlanChanged();
}

void TMainForm::PrintSetupExecute() {
  // Modal to the window but not blocking its loop: the plan goes on drawing meanwhile.
  auto* form = new TPrintForm({[this]() -> TStreetStructure& { return drawer_->Street(); },
                               [this] { return drawer_->View(); }, [this] { return visibleLayers_; },
                               [this](bool lent) { LendStreet(lent); }},
                              surface_->size(), this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->setWindowModality(Qt::WindowModal);
  form->show();
}

void TMainForm::CloseStreetMIClick() {
  Guard([&] {
    const int current = streets_->CurrentIndex();
    if (current >= 0 && current < streets_->StreetCount()) streets_->CloseStreet(current, false);
    // The view always shows a street; the tab of the new empty one appears at once.
    streets_->CurrentStreet();
  });
  PlanChanged();
}

void TMainForm::CloseAllMIClick() {
  Guard([&] {
    if (streets_->QuerySaveAll()) streets_->CloseAll();
    streets_->CurrentStreet();
  });
  PlanChanged();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool close = false;
  Guard([&] { close = streets_->QuerySaveAll(); });
  if (!close) {
    event->ignore();
    return;
  }
  StopPrints();
  opener_->CancelAll();
  Guard([&] {
    if (SessionRestoreEnabled()) WriteSession(SessionOf(*streets_));
  });
  streets_->CloseAll();
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  // Keys of dialogs and menus are theirs.
  if (!widget || widget->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  Guard([&] {
    if (event->type() == QEvent::KeyPress) {
      FormKeyDown(key);
    } else {
      FormKeyUp(key);
    }
  });
  return true;
}

void TMainForm::FormKeyDown(QKeyEvent* event) {
  ModifierKeyToMode(event, true);
  const int key = event->key();
  if (QApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton)) {
    const QPoint step = key == Qt::Key_Left ? QPoint(-1, 0)
                        : key == Qt::Key_Up ? QPoint(0, -1)
                        : key == Qt::Key_Right ? QPoint(1, 0)
                        : key == Qt::Key_Down ? QPoint(0, 1)
                                              : QPoint();
    if (!step.isNull()) {
      QCursor::setPos(QCursor::pos() + step);
      return;
    }
  }
  if ((key == Qt::Key_Q || key == Qt::Key_W) && !temporaryMode_) {
    temporaryMode_ = true;
    savedMouseMode_ = mouseMode_;
    SetMouseMode(key == Qt::Key_Q ? &controls_->ShiftViewMode() : &controls_->RotateMode());
  }
  const Qt::KeyboardModifiers modifiers =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  // The toolbar's shortcuts, for when the window is not the active one (the shortcut
  // system only serves the active window).
  const QKeySequence sequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
  for (QAction* action : actions()) {
    if (action->shortcut() == sequence) {
      action->trigger();
      return;
    }
  }
  const TShortCut pressed{key, modifiers, (event->modifiers() & Qt::KeypadModifier) != 0};
  if (TFloatingAction* action = floatingActions_->FindActionByShortCut(pressed, false, true)) action->Click();
}

void TMainForm::FormKeyUp(QKeyEvent* event) {
  // Auto-repeat sends releases while the key is still held.
  if (event->isAutoRepeat()) return;
  ModifierKeyToMode(event, false);
  if (temporaryMode_ && (event->key() == Qt::Key_Q || event->key() == Qt::Key_W)) {
    temporaryMode_ = false;
    SetMouseMode(savedMouseMode_);
  }
}

void TMainForm::ModifierKeyToMode(const QKeyEvent* event, bool pressed) {
  const Qt::KeyboardModifier changed = event->key() == Qt::Key_Shift     ? Qt::ShiftModifier
                                       : event->key() == Qt::Key_Control ? Qt::ControlModifier
                                       : event->key() == Qt::Key_Alt     ? Qt::AltModifier
                                                                         : Qt::NoModifier;
  if (!mouseMode_ || changed == Qt::NoModifier || event->isAutoRepeat()) return;
  // The event's own modifiers may or may not count the key itself yet, depending on the
  // window system: the key's new state is set explicitly.
  Qt::KeyboardModifiers modifiers = event->modifiers();
  modifiers.setFlag(changed, pressed);
  mouseMode_->SendModifiersChange(modifiers);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
  const QPointF logical = surface_->mapFromGlobal(event->globalPosition());
  if (logical.x() < 0 || logical.y() < 0 || logical.x() > surface_->width() || logical.y() > surface_->height()) {
    event->ignore();
    return;
  }
  const QPoint at = surface_->DevicePoint(logical);
  const QSize size = surface_->DeviceSize();
  const int w = size.width(), h = size.height();
  const int column = at.x() < w / 8 ? 0 : at.x() > w - w / 8 ? 2 : 1;
  const int row = at.y() < h / 8 ? 0 : at.y() > h - h / 8 ? 2 : 1;
  const int delta = event->angleDelta().y();
  const int sign = (delta > 0) - (delta < 0);
  const double e = sign * ((event->modifiers() & Qt::ControlModifier) ? 5 : 2);
  const double degrees = e * std::numbers::pi / 180;
  const double pixels = std::nearbyint(50 * e);
  Guard([&] {
    TMainPlanDrawer& d = *drawer_;
    const auto turn = [&](double angle) { d.SetRotation(static_cast<float>(d.Rotation() + angle)); };
    switch (3 * row + column) {
      case 0: turn(-degrees); break;
      case 1: d.ShiftPixels(0, -pixels); break;
      case 2: turn(degrees); break;
      case 3: d.ShiftPixels(pixels, 0); break;
      case 5: d.ShiftPixels(-pixels, 0); break;
      case 6: turn(degrees); break;
      case 7: d.ShiftPixels(0, pixels); break;
      case 8: turn(-degrees); break;
      default: {
        if (d.Scale() <= kSmallestScale && e >= 0) break;
        const TXYZ p = d.ScreenToWorld(at.x(), at.y());
        const TXYZ c = d.Centre();
        const auto m = static_cast<float>(std::pow(1.1, -e));
        d.SetScale(d.Scale() * m);
        d.SetCentre(MakeXYZ(p.x + (double{c.x} - p.x) / m, p.y + (double{c.y} - p.y) / m, c.z));
      }
    }
  });
  event->accept();
  PlanChanged();
}

void TMainForm::MouseToMode(QMouseEvent* event, int kind) {
  if (!mouseMode_) return;
  const TMouseShift shift{event->buttons(), event->modifiers(), event->type() == QEvent::MouseButtonDblClick};
  const QPoint at = surface_->DevicePoint(event->position());
  TMouseEvents& mode = *mouseMode_;
  Guard([&] {
    if (kind == kDown) mode.SendMouseDown(event->button(), shift, at.x(), at.y());
    if (kind == kMove) mode.SendMouseMove(shift, at.x(), at.y());
    if (kind == kUp) mode.SendMouseUp(event->button(), shift, at.x(), at.y());
  });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) {
      event->acceptProposedAction();
      return;
    }
  }
}

void TMainForm::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  event->acceptProposedAction();
  OpenFilesInBackground(files);
}

}  // namespace vellmar
