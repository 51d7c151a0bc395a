// The main window's input: keys (the temporary modes on Q and W, the shortcuts of the
// toolbar and of the floating actions), the wheel by the region of the plan it turns in,
// the surface's mouse events handed to the mouse mode, and files dropped on the window.

#include <cmath>
#include <numbers>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>

#include "geometry/Vector.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/MouseEvents.h"
#include "shell/plan/PlanSurface.h"
#include "shell/tools/MainPlanControls.h"
#include "shell/window/MainForm.h"

namespace vellmar {

namespace {

constexpr float kSmallestScale = 1e-6f;
// The angle of one notch of a standard mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

}  // namespace

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
  // Ctrl+Q and Ctrl+W are the menu's quit and close.
  const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if ((key == Qt::Key_Q || key == Qt::Key_W) && plainKey && !temporaryMode_) {
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
    if (action->isEnabled() && action->shortcuts().contains(sequence)) {
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
  // A touchpad or a smooth wheel sends a notch in many small parts: one step per notch
  // (120 units of angle) however it comes; turning back starts the count afresh.
  const int delta = event->angleDelta().y();
  if ((delta > 0 && wheelAngle_ < 0) || (delta < 0 && wheelAngle_ > 0)) wheelAngle_ = 0;
  wheelAngle_ += delta;
  const int steps = wheelAngle_ / kWheelNotch;
  wheelAngle_ -= steps * kWheelNotch;
  event->accept();
  if (steps == 0) return;
  const double e = steps * ((event->modifiers() & Qt::ControlModifier) ? 5 : 2);
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
  PlanChanged();
}

void TMainForm::MouseToMode(QMouseEvent* event, int kind) {
  const TMouseShift shift{event->buttons(), event->modifiers(), event->type() == QEvent::MouseButtonDblClick};
  const QPoint at = surface_->DevicePoint(event->position());
  // With no mode chosen a plan that ignores the mouse looks frozen: a left-button drag
  // moves it as the drag mode does (which takes the left button alone and nothing else),
  // with no cursor of its own.
  TMouseEvents& mode = mouseMode_ ? *mouseMode_ : controls_->ShiftViewMode();
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
