#pragma once
// The small button of a floating action on the panel over the plan: sunk while pressed
// or switched on, raised while the pointer is over it, its picture greyed when the
// action is disabled. A press, then a release over the button, executes the action.

#include <QWidget>

namespace vellmar {

class TFloatingAction;

class TFloatingButton final : public QWidget {
  Q_OBJECT

 public:
  TFloatingButton(TFloatingAction& action, QWidget* panel);
  // The picture's size plus a two-pixel edge on each side.
  QSize ButtonSize() const;
  bool Hot() const { return hot_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TFloatingAction& action_;
  bool hot_ = false;
};

}  // namespace vellmar
