#include "shell/plan/MouseEvents.h"

namespace vellmar {

void TMouseEvents::SendMouseDown(Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
  pressed_ = true;
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TMouseEvents::SendMouseMove(const TMouseShift& shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
}

void TMouseEvents::SendModifiersChange(Qt::KeyboardModifiers modifiers) {
  if (OnModifiersChange) OnModifiersChange(modifiers);
}

void TMouseEvents::SendMouseUp(Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
  if (!pressed_) return;
  pressed_ = false;
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

}  // namespace vellmar
