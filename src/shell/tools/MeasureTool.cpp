#include "shell/tools/MeasureTool.h"

#include <cmath>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "document/StreetStructure.h"
#include "geometry/PolylineMeasure.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Numbers.h"
#include "render/DxRenderer.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanOverlay.h"
#include "shell/plan/PlanWindow.h"
#include "shell/tools/MainPlanControls.h"
#include "shell/ui/Pictures.h"

namespace vellmar {

namespace {

constexpr uint32_t kLineColour = MakeColor(20, 90, 230, 255);
constexpr uint32_t kSnapColour = MakeColor(230, 0, 150, 255);
constexpr double kLinePixels = 2.0;
constexpr double kVertexPixels = 3.0;
constexpr double kMarkPixels = 7.0;

QString Fixed(double value) { return QString::fromStdString(FormatFixed(value + 0.0, 2)); }

TPointMark MarkOf(TSnapKind kind) {
  switch (kind) {
    case TSnapKind::Vertex: return TPointMark::Square;
    case TSnapKind::Edge: return TPointMark::Diamond;
    case TSnapKind::Axis: return TPointMark::Cross;
  }
  return TPointMark::Square;
}

}  // namespace

TMeasureTool::TMeasureTool(IPlanWindow& form)
    : QObject(&form.Window()),
      form_(form),
      mode_(tr("Измерение"), crMeasure),
      clear_(new QAction(tr("Очистить измерение"), &form.Window())),
      label_(new QLabel(&form.StatusLine())) {
  setObjectName(QStringLiteral("measureTool"));
  label_->setObjectName(QStringLiteral("measure"));
  label_->setContentsMargins(6, 0, 6, 0);
  label_->hide();
  form.StatusLine().addPermanentWidget(label_);
  clear_->setObjectName(QStringLiteral("measureClear"));
  clear_->setShortcut(QKeySequence(Qt::Key_Escape));
  form.Window().addAction(clear_);
  connect(clear_, &QAction::triggered, this, &TMeasureTool::Clear);

  TMainPlanControls::AddModeAction(form, QStringLiteral("Measure"),
                                   tr("Измерение длины и площади (правый щелчок — конец, Esc — очистить)"),
                                   TButtonPicture::Measure, Qt::Key_F10, mode_);

  mode_.BeforeSendEvents = [this] {
    snap_.reset();
    hovered_.reset();
  };
  mode_.OnMouseDown = [this](Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
    // A Ctrl+click identifies; the other buttons and double-clicks add nothing.
    if ((shift.Modifiers & Qt::ControlModifier) != 0 || shift.Double) return;
    if (button == Qt::LeftButton) Click({x, y}, shift.Modifiers);
    if (button == Qt::RightButton && !points_.empty()) {
      ended_ = true;
      ShowLength();
      form_.PlanChanged();
    }
  };
  mode_.OnMouseMove = [this](const TMouseShift& shift, int x, int y) { Hover({x, y}, shift.Modifiers); };
  mode_.OnModifiersChange = [this](Qt::KeyboardModifiers modifiers) {
    if (hovered_) Hover(*hovered_, modifiers);
  };
  drawHook_ = form.AddDrawHook([this](const TDxDrawParams&) { Draw(); });
  changeHook_ = form.AddChangeHook([this] { FollowStreet(); });
}

TMeasureTool::~TMeasureTool() {
  form_.RemoveDrawHook(drawHook_);
  form_.RemoveChangeHook(changeHook_);
}

void TMeasureTool::Clear() {
  Forget();
  form_.PlanChanged();
}

void TMeasureTool::Forget() {
  points_.clear();
  closed_ = ended_ = false;
  pointer_.reset();
  ShowLength();
}

void TMeasureTool::Click(QPoint device, Qt::KeyboardModifiers modifiers) {
  if (ended_) {
    points_.clear();
    closed_ = ended_ = false;
  }
  if (points_.empty()) measuredStreet_ = &form_.Drawer().Street();
  if (points_.size() >= 3 && OnFirstPoint(device, modifiers)) {
    closed_ = ended_ = true;
  } else {
    points_.push_back(Place(device, modifiers));
    pointer_ = points_.back();
  }
  ShowLength();
  form_.PlanChanged();
}

void TMeasureTool::Hover(QPoint device, Qt::KeyboardModifiers modifiers) {
  hovered_ = device;
  pointer_ = Place(device, modifiers);
  if (!ended_ && !points_.empty()) ShowLength();
  form_.PlanChanged();
}

TXYZ TMeasureTool::Place(QPoint device, Qt::KeyboardModifiers modifiers) {
  TMainPlanDrawer& drawer = form_.Drawer();
  const TXYZ world = drawer.ScreenToWorld(device.x(), device.y());
  const double pixelsPerUnit = drawer.PixelsPerUnit();
  snap_.reset();
  if ((modifiers & Qt::ShiftModifier) == 0 && pixelsPerUnit > 0.0) {
    snap_ = Snapper().Snap(form_.VisibleLayers(), world, kSnapPixels / pixelsPerUnit);
  }
  return snap_ ? snap_->Point : world;
}

bool TMeasureTool::OnFirstPoint(QPoint device, Qt::KeyboardModifiers modifiers) {
  TMainPlanDrawer& drawer = form_.Drawer();
  const double pixelsPerUnit = drawer.PixelsPerUnit();
  const TXYZ world = drawer.ScreenToWorld(device.x(), device.y());
  const double toFirst = PlanarDistance(world, points_.front());
  if (toFirst * pixelsPerUnit > kSnapPixels) return false;
  // The first point is one more place to snap to: a vertex nearer to the click (a corner
  // a few pixels from it on a small scale) takes the point instead.
  const TXYZ placed = Place(device, modifiers);
  return !snap_ || PlanarDistance(world, placed) >= toFirst;
}

void TMeasureTool::ShowLength() {
  if (points_.empty()) {
    label_->hide();
    return;
  }
  TXYZArray line = points_;
  if (!ended_ && pointer_) line.push_back(*pointer_);
  const double length = PolylineLength(line, closed_);
  if (closed_) {
    label_->setText(tr("Периметр %1 м, площадь %2 м²").arg(Fixed(length), Fixed(RingArea(points_))));
  } else {
    label_->setText(tr("Длина %1 м").arg(Fixed(length)));
  }
  label_->show();
}

void TMeasureTool::Draw() {
  TdxRenderer* renderer = form_.Drawer().Renderer();
  const double pixelsPerUnit = form_.Drawer().PixelsPerUnit();
  if (renderer == nullptr || !(pixelsPerUnit > 0.0)) return;
  const TPlanOverlay overlay(*renderer, 1.0 / pixelsPerUnit);
  TXYZArray line = points_;
  if (!ended_ && pointer_ && !line.empty()) line.push_back(*pointer_);
  overlay.Line(line, closed_, kLinePixels, kLineColour);
  for (const TXYZ& point : points_) overlay.Mark(point, TPointMark::Square, kVertexPixels, kLinePixels, kLineColour);
  if (snap_ && form_.MouseMode() == &mode_) overlay.Mark(snap_->Point, MarkOf(snap_->Kind), kMarkPixels, 2.0, kSnapColour);
}

const TItemSnapper& TMeasureTool::Snapper() {
  TStreetStructure& street = form_.Drawer().Street();
  if (!snapper_ || snapperStreet_ != &street) {
    snapper_ = std::make_unique<TItemSnapper>(street);
    snapperStreet_ = &street;
  }
  return *snapper_;
}

void TMeasureTool::FollowStreet() {
  TStreetsHolderModule& streets = form_.Streets();
  // A street closed may have left its address to a new one.
  if (snapper_ && !streets.IsOpen(snapperStreet_)) {
    snapper_.reset();
    snapperStreet_ = nullptr;
  }
  // A measurement belongs to the street it was taken on.
  if (!points_.empty() && (!streets.IsOpen(measuredStreet_) || measuredStreet_ != &form_.Drawer().Street())) Forget();
}

}  // namespace vellmar
