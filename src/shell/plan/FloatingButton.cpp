#include "shell/plan/FloatingButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "shell/plan/FloatingAction.h"

namespace vellmar {

TFloatingButton::TFloatingButton(TFloatingAction& action, QWidget* panel) : QWidget(panel), action_(action) {
  setToolTip(HintWithKey(action.Hint(), action.ShortCut().Text()));
  setAttribute(Qt::WA_Hover);
  resize(ButtonSize());
}

QSize TFloatingButton::ButtonSize() const {
  const QPixmap& picture = action_.Picture();
  if (picture.isNull()) return {16, 16};
  const QSize size = picture.deviceIndependentSize().toSize();
  return {size.width() + 4, size.height() + 4};
}

void TFloatingButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect edge = rect();
  const QPalette& colours = palette();
  if (action_.Down() || hot_) {
    const bool sunk = action_.Down();
    painter.setPen(sunk ? colours.color(QPalette::Dark) : colours.color(QPalette::Light));
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(sunk ? colours.color(QPalette::Light) : colours.color(QPalette::Dark));
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
  }
  if (action_.Picture().isNull()) return;
  const QPixmap picture = action_.Enabled()
                              ? action_.Picture()
                              : style()->generatedIconPixmap(QIcon::Disabled, action_.Picture(), nullptr);
  painter.drawPixmap(2, 2, picture);
}

void TFloatingButton::enterEvent(QEnterEvent*) {
  hot_ = action_.Enabled();
  update();
}

void TFloatingButton::leaveEvent(QEvent*) {
  hot_ = false;
  if (!action_.Toggle()) action_.SetDown(false);
  update();
}

void TFloatingButton::mousePressEvent(QMouseEvent* event) {
  if (!action_.Enabled() || event->button() != Qt::LeftButton) return;
  if (!action_.Toggle()) action_.SetDown(true);
}

void TFloatingButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !action_.Enabled()) return;
  const bool over = rect().contains(event->position().toPoint());
  if (!action_.Toggle()) action_.SetDown(false);
  if (over) action_.Click();
}

}  // namespace vellmar
