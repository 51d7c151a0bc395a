#pragma once
// A mouse mode: the handlers that receive the drawing surface's mouse events while the
// mode is active, its cursor and description, and a check whether it still fits the
// window's state. Positions are device pixels of the drawing surface.

#include <functional>

#include <QString>
#include <Qt>

namespace vellmar {

// The buttons and keys held with a mouse event, and whether it is a double-click.
struct TMouseShift {
  Qt::MouseButtons Buttons = Qt::NoButton;
  Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
  bool Double = false;
  // The left button alone: no modifier key, no other button, not a double-click.
  bool LeftAlone(Qt::MouseButton button) const {
    return button == Qt::LeftButton && Buttons == Qt::LeftButton && !Double &&
           (Modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  }
};

class TMouseEvents {
 public:
  using TButtonHandler = std::function<void(Qt::MouseButton button, const TMouseShift& shift, int x, int y)>;
  using TMoveHandler = std::function<void(const TMouseShift& shift, int x, int y)>;
  // The modifier keys held after Shift, Ctrl or Alt went down or up, with no mouse event.
  using TModifiersHandler = std::function<void(Qt::KeyboardModifiers modifiers)>;

  TMouseEvents(QString description, int cursor) : description_(std::move(description)), cursor_(cursor) {}

  const QString& Description() const { return description_; }
  // Custom cursor number, -1 to leave the cursor alone.
  int Cursor() const { return cursor_; }
  bool Pressed() const { return pressed_; }

  TButtonHandler OnMouseDown, OnMouseUp;
  TMoveHandler OnMouseMove;
  TModifiersHandler OnModifiersChange;
  std::function<void()> BeforeSendEvents;
  std::function<bool()> OnCheckContext;

  bool CheckContext() const { return !OnCheckContext || OnCheckContext(); }
  void SendMouseDown(Qt::MouseButton button, const TMouseShift& shift, int x, int y);
  void SendMouseMove(const TMouseShift& shift, int x, int y);
  void SendModifiersChange(Qt::KeyboardModifiers modifiers);
  // Dropped unless a mouse-down reached the mode first.
  void SendMouseUp(Qt::MouseButton button, const TMouseShift& shift, int x, int y);

 private:
  QString description_;
  int cursor_;
  bool pressed_ = false;
};

}  // namespace vellmar
