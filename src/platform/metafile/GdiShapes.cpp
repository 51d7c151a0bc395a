// The canvas's shapes: polygons, lines, curves, rectangles, ellipses, arcs, pixels and
// filled rectangles, each added to the path between BeginPath and EndPath or drawn at
// once with the selected pen and brush.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/metafile/GdiBitmaps.h"
#include "platform/metafile/GdiCanvas.h"

namespace vellmar {

namespace {

// Ellipses and arcs larger than this (target pixels) are damaged coordinates; Cairo
// would split them into millions of segments.
constexpr double kMaxRadius = 1e7;

// True when a box of logical coordinates stays within sane target sizes.
bool SaneBox(cairo_t* cr, double left, double top, double right, double bottom) {
  double x0 = left, y0 = top, x1 = right, y1 = bottom;
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1) &&
         std::hypot(x1 - x0, y1 - y0) < 2 * kMaxRadius;
}

// True when every point lands within sane target sizes: Cairo splits a curve into
// segments by its size, and curves across damaged coordinates would take minutes.
bool SaneCurves(cairo_t* cr, std::span<const TPointD> points) {
  return std::all_of(points.begin(), points.end(), [&](const TPointD& p) {
    double x = p.X, y = p.Y;
    cairo_user_to_device(cr, &x, &y);
    return std::abs(x) < kMaxRadius && std::abs(y) < kMaxRadius;
  });
}

}  // namespace

bool TGdiCanvas::BeginShape() {
  const auto m = LogicalToTarget();
  if (!m) return false;
  if (!inPath_) cairo_new_path(cr_);
  cairo_set_matrix(cr_, &*m);
  return true;
}

bool TGdiCanvas::EndShape(bool fill, bool stroke) {
  if (inPath_) return true;
  if (fill) Fill();
  if (stroke) Stroke();
  cairo_new_path(cr_);
  return true;
}

void TGdiCanvas::AddPolygon(std::span<const TPointD> points, bool close) {
  if (points.empty()) return;
  cairo_move_to(cr_, points[0].X, points[0].Y);
  for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].X, points[i].Y);
  if (close) cairo_close_path(cr_);
}

bool TGdiCanvas::Polygon(std::span<const TPointD> points) {
  if (!BeginShape()) return false;
  AddPolygon(points, true);
  return EndShape(true, true);
}

bool TGdiCanvas::PolyPolygon(std::span<const TPointD> points, std::span<const uint32_t> counts) {
  if (!BeginShape()) return false;
  std::size_t at = 0;
  for (uint32_t count : counts) {
    if (count > points.size() - at) return false;
    AddPolygon(points.subspan(at, count), true);
    at += count;
  }
  return EndShape(true, true);
}

bool TGdiCanvas::Polyline(std::span<const TPointD> points) {
  if (!BeginShape()) return false;
  AddPolygon(points, false);
  return EndShape(false, true);
}

bool TGdiCanvas::PolyPolyline(std::span<const TPointD> points, std::span<const uint32_t> counts) {
  if (!BeginShape()) return false;
  std::size_t at = 0;
  for (uint32_t count : counts) {
    if (count > points.size() - at) return false;
    AddPolygon(points.subspan(at, count), false);
    at += count;
  }
  return EndShape(false, true);
}

bool TGdiCanvas::PolylineTo(std::span<const TPointD> points) {
  if (points.empty()) return true;
  if (!BeginShape()) return false;
  if (!inPath_ || !cairo_has_current_point(cr_)) cairo_move_to(cr_, state_.Position.X, state_.Position.Y);
  for (const TPointD& p : points) cairo_line_to(cr_, p.X, p.Y);
  state_.Position = points.back();
  return EndShape(false, true);
}

bool TGdiCanvas::PolyBezier(std::span<const TPointD> points) {
  if (points.empty()) return true;
  if (!BeginShape() || !SaneCurves(cr_, points)) return false;
  cairo_move_to(cr_, points[0].X, points[0].Y);
  for (std::size_t i = 1; i + 2 < points.size(); i += 3)
    cairo_curve_to(cr_, points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
  return EndShape(false, true);
}

bool TGdiCanvas::PolyBezierTo(std::span<const TPointD> points) {
  if (points.size() < 3) return true;
  if (!BeginShape() || !SaneCurves(cr_, points) || !SaneCurves(cr_, std::span(&state_.Position, 1))) return false;
  if (!inPath_ || !cairo_has_current_point(cr_)) cairo_move_to(cr_, state_.Position.X, state_.Position.Y);
  std::size_t i = 0;
  for (; i + 2 < points.size(); i += 3)
    cairo_curve_to(cr_, points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
  state_.Position = points[i - 1];
  return EndShape(false, true);
}

bool TGdiCanvas::PolyDraw(std::span<const TPointD> points, std::span<const uint8_t> types) {
  constexpr uint8_t kClose = 0x01, kLineTo = 0x02, kBezierTo = 0x04, kMoveTo = 0x06;
  if (points.size() != types.size()) return false;
  if (!BeginShape() || !SaneCurves(cr_, points) || !SaneCurves(cr_, std::span(&state_.Position, 1))) return false;
  if (!inPath_ || !cairo_has_current_point(cr_)) cairo_move_to(cr_, state_.Position.X, state_.Position.Y);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const TPointD& p = points[i];
    switch (types[i] & ~kClose) {
      case kMoveTo: cairo_move_to(cr_, p.X, p.Y); break;
      case kLineTo: cairo_line_to(cr_, p.X, p.Y); break;
      case kBezierTo:
        if (i + 2 >= points.size() || (types[i + 1] & ~kClose) != kBezierTo || (types[i + 2] & ~kClose) != kBezierTo)
          return false;
        cairo_curve_to(cr_, p.X, p.Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
        i += 2;
        break;
      default: return false;
    }
    if (types[i] & kClose) cairo_close_path(cr_);
  }
  if (!points.empty()) state_.Position = points.back();
  return EndShape(false, true);
}

bool TGdiCanvas::AngleArc(TPointD centre, double radius, double startDegrees, double sweepDegrees) {
  // Cairo asserts on angles that are not numbers and loops on huge ones; a sweep
  // beyond a full turn draws nothing more than the full turn.
  if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return false;
  sweepDegrees = std::clamp(sweepDegrees, -360.0, 360.0);
  startDegrees = std::fmod(startDegrees, 360.0);
  if (!BeginShape()) return false;
  if (!SaneBox(cr_, centre.X - radius, centre.Y - radius, centre.X + radius, centre.Y + radius)) return false;
  const double a1 = startDegrees * std::numbers::pi / 180;
  const double a2 = (startDegrees + sweepDegrees) * std::numbers::pi / 180;
  if (!inPath_ || !cairo_has_current_point(cr_)) cairo_move_to(cr_, state_.Position.X, state_.Position.Y);
  // Anticlockwise on a picture whose y grows downwards is towards smaller Cairo angles.
  if (sweepDegrees >= 0)
    cairo_arc_negative(cr_, centre.X, centre.Y, radius, -a1, -a2);
  else
    cairo_arc(cr_, centre.X, centre.Y, radius, -a1, -a2);
  state_.Position = {centre.X + radius * std::cos(a2), centre.Y - radius * std::sin(a2)};
  return EndShape(false, true);
}

void TGdiCanvas::MoveTo(TPointD p) {
  state_.Position = p;
  if (inPath_ && BeginShape()) cairo_move_to(cr_, p.X, p.Y);
}

bool TGdiCanvas::LineTo(TPointD p) { return PolylineTo(std::span(&p, 1)); }

bool TGdiCanvas::Rectangle(double left, double top, double right, double bottom) {
  if (!BeginShape()) return false;
  cairo_rectangle(cr_, left, top, right - left, bottom - top);
  return EndShape(true, true);
}

void TGdiCanvas::AddEllipse(double left, double top, double right, double bottom) {
  const double rx = (right - left) / 2;
  const double ry = (bottom - top) / 2;
  if (rx == 0 || ry == 0) return;
  cairo_matrix_t saved;
  cairo_get_matrix(cr_, &saved);
  cairo_translate(cr_, left + rx, top + ry);
  cairo_scale(cr_, rx, ry);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_close_path(cr_);
  cairo_set_matrix(cr_, &saved);
}

bool TGdiCanvas::Ellipse(double left, double top, double right, double bottom) {
  if (!BeginShape()) return false;
  if (!SaneBox(cr_, left, top, right, bottom)) return false;
  AddEllipse(left, top, right, bottom);
  return EndShape(true, true);
}

bool TGdiCanvas::RoundRect(double left, double top, double right, double bottom, double width, double height) {
  if (!BeginShape()) return false;
  if (!SaneBox(cr_, left, top, right, bottom)) return false;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const double rx = std::min(std::abs(width) / 2, (right - left) / 2);
  const double ry = std::min(std::abs(height) / 2, (bottom - top) / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    return EndShape(true, true);
  }
  cairo_matrix_t saved;
  cairo_get_matrix(cr_, &saved);
  const double pi = std::numbers::pi;
  const auto corner = [&](double cx, double cy, double from) {
    cairo_set_matrix(cr_, &saved);
    cairo_translate(cr_, cx, cy);
    cairo_scale(cr_, rx, ry);
    cairo_arc(cr_, 0, 0, 1, from, from + pi / 2);
  };
  cairo_new_sub_path(cr_);
  corner(right - rx, top + ry, -pi / 2);
  corner(right - rx, bottom - ry, 0);
  corner(left + rx, bottom - ry, pi / 2);
  corner(left + rx, top + ry, pi);
  cairo_close_path(cr_);
  cairo_set_matrix(cr_, &saved);
  return EndShape(true, true);
}

bool TGdiCanvas::Arc(TArcKind kind, double left, double top, double right, double bottom, TPointD start,
                     TPointD end) {
  if (!BeginShape()) return false;
  if (!SaneBox(cr_, left, top, right, bottom)) return false;
  const double rx = (right - left) / 2;
  const double ry = (bottom - top) / 2;
  const double cx = left + rx;
  const double cy = top + ry;
  if (rx == 0 || ry == 0) return EndShape(false, false);
  // The radial points' angles on the ellipse squeezed into a unit circle.
  const double a1 = std::atan2((start.Y - cy) / ry, (start.X - cx) / rx);
  double a2 = std::atan2((end.Y - cy) / ry, (end.X - cx) / rx);
  const bool clockwise = state_.ArcDirection == kArcClockwise;
  // Equal angles draw the whole ellipse.
  if (a2 == a1) a2 = clockwise ? a1 + 2 * std::numbers::pi : a1 - 2 * std::numbers::pi;

  cairo_matrix_t saved;
  cairo_get_matrix(cr_, &saved);
  if (kind == TArcKind::ArcTo) {
    if (!inPath_ || !cairo_has_current_point(cr_)) cairo_move_to(cr_, state_.Position.X, state_.Position.Y);
  } else if (kind == TArcKind::Pie) {
    cairo_move_to(cr_, cx, cy);
  } else {
    cairo_new_sub_path(cr_);
  }
  cairo_translate(cr_, cx, cy);
  cairo_scale(cr_, rx, ry);
  // With y growing downwards, GDI's anticlockwise runs towards smaller angles.
  if (clockwise)
    cairo_arc(cr_, 0, 0, 1, a1, a2);
  else
    cairo_arc_negative(cr_, 0, 0, 1, a1, a2);
  cairo_set_matrix(cr_, &saved);
  if (kind == TArcKind::ArcTo) state_.Position = {cx + rx * std::cos(a2), cy + ry * std::sin(a2)};
  const bool closed = kind == TArcKind::Chord || kind == TArcKind::Pie;
  if (closed) cairo_close_path(cr_);
  return EndShape(closed, true);
}

bool TGdiCanvas::SetPixel(TPointD p, TColorRef color) {
  const auto m = LogicalToTarget();
  if (!m) return false;
  TPathKeeper keep(cr_, inPath_);
  double x = p.X, y = p.Y;
  cairo_matrix_transform_point(&*m, &x, &y);
  cairo_identity_matrix(cr_);
  cairo_rectangle(cr_, std::floor(x), std::floor(y), 1, 1);
  SetSourceColor(cr_, color);
  cairo_fill(cr_);
  return true;
}

bool TGdiCanvas::FillRect(double left, double top, double right, double bottom, std::optional<TColorRef> color) {
  const auto m = LogicalToTarget();
  if (!m) return false;
  TPathKeeper keep(cr_, inPath_);
  cairo_set_matrix(cr_, &*m);
  cairo_rectangle(cr_, left, top, right - left, bottom - top);
  cairo_identity_matrix(cr_);
  if (color)
    SetSourceColor(cr_, *color);
  else if (!SetBrushSource())
    return true;
  cairo_fill(cr_);
  return true;
}

bool TGdiCanvas::PatBlt(double x, double y, double width, double height, uint32_t rop) {
  switch (rop) {
    case kRopPatCopy: return FillRect(x, y, x + width, y + height, std::nullopt);
    case kRopBlackness: return FillRect(x, y, x + width, y + height, 0x000000);
    case kRopWhiteness: return FillRect(x, y, x + width, y + height, 0xFFFFFF);
    default: return false;
  }
}

}  // namespace vellmar
