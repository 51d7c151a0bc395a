#include "shell/plan/PlanSurface.h"

#include <cmath>

#include <QMouseEvent>
#include <QSurfaceFormat>

namespace vellmar {

TPlanSurface::TPlanSurface(QWidget* parent) : QOpenGLWidget(parent) {
  // The GPU device needs OpenGL 3.3 core.
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  setFormat(format);
  setMouseTracking(true);
  setMinimumSize(1, 1);
}

QSize TPlanSurface::DeviceSize() const {
  const qreal ratio = devicePixelRatioF();
  return {static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio))};
}

QPoint TPlanSurface::DevicePoint(const QPointF& logical) const {
  const qreal ratio = devicePixelRatioF();
  return {static_cast<int>(std::floor(logical.x() * ratio)), static_cast<int>(std::floor(logical.y() * ratio))};
}

void TPlanSurface::resizeGL(int, int) { emit Resized(); }

void TPlanSurface::paintGL() { emit Paint(); }

void TPlanSurface::mousePressEvent(QMouseEvent* event) { emit MouseDown(event); }

void TPlanSurface::mouseDoubleClickEvent(QMouseEvent* event) { emit MouseDown(event); }

void TPlanSurface::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event); }

void TPlanSurface::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event); }

}  // namespace vellmar
