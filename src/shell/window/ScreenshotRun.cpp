#include "shell/window/ScreenshotRun.h"

#include <cstdio>
#include <exception>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QStatusBar>

#include "geometry/Vector.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/window/MainForm.h"

namespace vellmar {

namespace {

constexpr int kPollMs = 100;
constexpr int kLabelWaitPolls = 20;

// A left click on the plan where the world point is shown, the pointer moving there first.
void ClickPlan(TMainForm& form, QPointF world) {
  // The view maps pixels to the world affinely: solve for the pixel from three of them.
  TMainPlanDrawer& drawer = form.Drawer();
  const TXYZ o = drawer.ScreenToWorld(0, 0), ex = drawer.ScreenToWorld(1, 0), ey = drawer.ScreenToWorld(0, 1);
  const double ax = double{ex.x} - o.x, ay = double{ex.y} - o.y, bx = double{ey.x} - o.x, by = double{ey.y} - o.y;
  const double dx = world.x() - o.x, dy = world.y() - o.y, det = ax * by - bx * ay;
  QWidget& surface = form.Surface();
  const QPointF at = QPointF((dx * by - bx * dy) / det, (ax * dy - dx * ay) / det) / surface.devicePixelRatioF();
  const QPointF global = surface.mapToGlobal(at);
  QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  for (QMouseEvent* event : {&move, &press, &release}) QApplication::sendEvent(&surface, event);
}

}  // namespace

TScreenshotRun::TScreenshotRun(TMainForm& form, QString path, QStringList files, std::vector<TScreenshotStep> steps,
                               TDone done)
    : QObject(&form),
      form_(form),
      path_(std::move(path)),
      files_(std::move(files)),
      steps_(std::move(steps)),
      done_(std::move(done)) {
  connect(&poll_, &QTimer::timeout, this, &TScreenshotRun::Poll);
  poll_.start(kPollMs);
}

bool TScreenshotRun::SettledSinceLastPoll() {
  // A label's new size and a hidden panel's space are laid out by posted requests, which
  // a grab does not wait for.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const int frame = form_.FrameCount();
  // A frame asked for may still be on its way to the screen at the first poll that finds
  // nothing to draw; the next poll that finds the same frame knows it was the last.
  const bool same = frame == lastFrame_;
  lastFrame_ = frame;
  if (!same || frame == 0 || form_.NeedsRedraw() || form_.Opener().Busy()) return false;
  // A window too narrow for all its labels never makes room: after a while the picture
  // is taken as it is.
  if (++labelWaits_ > kLabelWaitPolls) return true;
  for (const QLabel* label : form_.statusBar()->findChildren<QLabel*>()) {
    if (label->isVisible() && label->width() < label->sizeHint().width()) return false;
  }
  return true;
}

bool TScreenshotRun::AllFilesOpen() const {
  bool all = true;
  for (const QString& file : files_) {
    if (form_.Streets().IndexOfFile(TStreetsHolderModule::StreetPath(file)) >= 0) continue;
    std::fprintf(stderr, "vellmar: %s was not opened\n", qPrintable(file));
    all = false;
  }
  return all;
}

bool TScreenshotRun::RunStep(const TScreenshotStep& step) {
  if (step.Kind == TScreenshotStep::kView) {
    // The viewport is 2 / scale world units across.
    form_.Drawer().SetView({MakeXYZ(step.World.x(), step.World.y(), 0), static_cast<float>(2.0 / step.Width), 0.0f});
  } else if (step.Kind == TScreenshotStep::kClick) {
    ClickPlan(form_, step.World);
  } else if (auto* action = form_.findChild<QAction*>(step.Action)) {
    action->trigger();
  } else {
    try {
      form_.FloatingActions().Named(step.Action).Click();
    } catch (const std::exception&) {
      std::fprintf(stderr, "vellmar: the window has no action %s\n", qPrintable(step.Action));
      return false;
    }
  }
  form_.PlanChanged();
  return true;
}

void TScreenshotRun::Poll() {
  if (!SettledSinceLastPoll()) return;
  if (!filesChecked_) {
    filesChecked_ = true;
    if (!AllFilesOpen()) {
      poll_.stop();
      done_(1);
      return;
    }
  }
  if (next_ < steps_.size()) {
    if (!RunStep(steps_[next_++])) {
      poll_.stop();
      done_(2);
    }
    // The step's frame is waited for afresh.
    lastFrame_ = -1;
    labelWaits_ = 0;
    return;
  }
  poll_.stop();
  const bool saved = form_.grab().save(path_, "PNG");
  if (!saved) std::fprintf(stderr, "vellmar: cannot write %s\n", qPrintable(path_));
  done_(saved ? 0 : 1);
}

}  // namespace vellmar
