#pragma once
// The drawing surface of the plan: an OpenGL widget whose context the GPU device draws
// with. It only reports: the window makes the renderer when the surface is resized,
// draws the frame when it paints, and routes the mouse to the active mouse mode.

#include <QOpenGLWidget>

namespace vellmar {

class TPlanSurface final : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit TPlanSurface(QWidget* parent);
  // Size in device pixels: what the renderer draws.
  QSize DeviceSize() const;
  // A position on the surface in device pixels.
  QPoint DevicePoint(const QPointF& logical) const;

 signals:
  // The GL context is current and the surface has a new size.
  void Resized();
  // The GL context is current with the surface's framebuffer bound: draw the frame.
  void Paint();
  void MouseDown(QMouseEvent* event);
  void MouseMove(QMouseEvent* event);
  void MouseUp(QMouseEvent* event);

 protected:
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace vellmar
