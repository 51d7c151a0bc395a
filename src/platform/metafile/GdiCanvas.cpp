#include "platform/metafile/GdiCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/metafile/GdiBitmaps.h"

namespace vellmar {

namespace {

constexpr std::size_t kMaxSaveLevels = 1024;
// Dashes beyond this many a stroke are drawn solid: a dotted line across a damaged
// metafile's huge coordinates would otherwise take minutes.
constexpr double kMaxDashes = 200000;
// Ellipses and arcs larger than this (target pixels) are damaged coordinates; Cairo
// would split them into millions of segments.
constexpr double kMaxRadius = 1e7;

bool Finite(const cairo_matrix_t& m) {
  return std::isfinite(m.xx) && std::isfinite(m.yx) && std::isfinite(m.xy) && std::isfinite(m.yy) &&
         std::isfinite(m.x0) && std::isfinite(m.y0);
}

bool Invertible(const cairo_matrix_t& m) {
  if (!Finite(m)) return false;
  cairo_matrix_t copy = m;
  return cairo_matrix_invert(&copy) == CAIRO_STATUS_SUCCESS && Finite(copy);
}

void SetColor(cairo_t* cr, TColorRef color) {
  cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0);
}

uint32_t Argb(TColorRef color) {
  return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The 8 x 8 device-pixel cell of a hatch style, drawn in the brush colour over the
// background colour (or over nothing when the background is transparent).
std::shared_ptr<cairo_surface_t> HatchCell(uint32_t hatch, TColorRef color, bool opaque, TColorRef background) {
  auto surface = ShareSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  cairo_surface_flush(surface.get());
  auto* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < 8; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < 8; ++x) {
      bool on = false;
      switch (hatch) {
        case 0: on = y == 0; break;                        // HS_HORIZONTAL
        case 1: on = x == 0; break;                        // HS_VERTICAL
        case 2: on = x == y; break;                        // HS_FDIAGONAL
        case 3: on = x == 7 - y; break;                    // HS_BDIAGONAL
        case 4: on = x == 0 || y == 0; break;              // HS_CROSS
        default: on = x == y || x == 7 - y; break;         // HS_DIAGCROSS
      }
      row[x] = on ? Argb(color) : opaque ? Argb(background) : 0;
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

double Distance(double x0, double y0, double x1, double y1) { return std::hypot(x1 - x0, y1 - y0); }

// An upper bound of the current path's length in target pixels (control polygons of
// curves count as their length).
double PathLength(cairo_t* cr) {
  cairo_path_t* path = cairo_copy_path(cr);
  double length = 0;
  double x = 0, y = 0, startX = 0, startY = 0;
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO:
        x = startX = d[1].point.x;
        y = startY = d[1].point.y;
        break;
      case CAIRO_PATH_LINE_TO:
        length += Distance(x, y, d[1].point.x, d[1].point.y);
        x = d[1].point.x;
        y = d[1].point.y;
        break;
      case CAIRO_PATH_CURVE_TO:
        length += Distance(x, y, d[1].point.x, d[1].point.y) +
                  Distance(d[1].point.x, d[1].point.y, d[2].point.x, d[2].point.y) +
                  Distance(d[2].point.x, d[2].point.y, d[3].point.x, d[3].point.y);
        x = d[3].point.x;
        y = d[3].point.y;
        break;
      case CAIRO_PATH_CLOSE_PATH:
        length += Distance(x, y, startX, startY);
        x = startX;
        y = startY;
        break;
    }
  }
  cairo_path_destroy(path);
  return length;
}


// True when a box of logical coordinates stays within sane target sizes.
bool SaneBox(cairo_t* cr, double left, double top, double right, double bottom) {
  double x0 = left, y0 = top, x1 = right, y1 = bottom;
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1) &&
         Distance(x0, y0, x1, y1) < 2 * kMaxRadius;
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

TGdiCanvas::TPathKeeper::TPathKeeper(cairo_t* cr, bool inPath)
    : cr_(cr), path_(nullptr) {
  if (inPath) {
    cairo_identity_matrix(cr_);
    path_ = cairo_copy_path(cr_);
  }
  cairo_new_path(cr_);
}

TGdiCanvas::TPathKeeper::~TPathKeeper() {
  cairo_new_path(cr_);
  if (path_) {
    cairo_matrix_t saved;
    cairo_get_matrix(cr_, &saved);
    cairo_identity_matrix(cr_);
    cairo_append_path(cr_, path_);
    cairo_set_matrix(cr_, &saved);
    cairo_path_destroy(path_);
  }
}

TGdiCanvas::TGdiCanvas(cairo_t* cr, const cairo_matrix_t& deviceToTarget, const std::array<double, 4>& picture,
                       double pixelsPerMmX, double pixelsPerMmY, std::size_t objectSlots)
    : cr_(cr),
      deviceToTarget_(deviceToTarget),
      pixelsPerMmX_(pixelsPerMmX),
      pixelsPerMmY_(pixelsPerMmY),
      picture_(picture),
      objectSlots_(objectSlots) {
  ResetClipToPicture();
}

TGdiCanvas::~TGdiCanvas() = default;

// ---- mapping ----

std::optional<cairo_matrix_t> TGdiCanvas::LogicalToTarget() const {
  const cairo_matrix_t page = PageToDevice(state_, pixelsPerMmX_, pixelsPerMmY_);
  cairo_matrix_t m;
  cairo_matrix_multiply(&m, &state_.World, &page);
  cairo_matrix_multiply(&m, &m, &deviceToTarget_);
  if (!Invertible(m)) return std::nullopt;
  return m;
}

bool TGdiCanvas::SetWindowExt(double x, double y) {
  if (x == 0 || y == 0) return false;
  state_.WindowExt = {x, y};
  return true;
}

bool TGdiCanvas::SetViewportExt(double x, double y) {
  if (x == 0 || y == 0) return false;
  state_.ViewportExt = {x, y};
  return true;
}

bool TGdiCanvas::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0) return false;
  return SetWindowExt(std::trunc(state_.WindowExt.X * xNum / xDenom), std::trunc(state_.WindowExt.Y * yNum / yDenom));
}

bool TGdiCanvas::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0) return false;
  return SetViewportExt(std::trunc(state_.ViewportExt.X * xNum / xDenom),
                        std::trunc(state_.ViewportExt.Y * yNum / yDenom));
}

bool TGdiCanvas::SetWorldTransform(const cairo_matrix_t& xform) {
  if (!Invertible(xform)) return false;
  state_.World = xform;
  return true;
}

bool TGdiCanvas::ModifyWorldTransform(const cairo_matrix_t& xform, uint32_t mode) {
  cairo_matrix_t result;
  switch (mode) {
    case 1: cairo_matrix_init_identity(&result); break;
    case 2: cairo_matrix_multiply(&result, &xform, &state_.World); break;  // the new transform applies first
    case 3: cairo_matrix_multiply(&result, &state_.World, &xform); break;
    case 4: result = xform; break;
    default: return false;
  }
  return SetWorldTransform(result);
}

// ---- objects ----

bool TGdiCanvas::CreateObject(uint32_t index, TGdiObject object) {
  // Slot 0 is the metafile's own handle.
  if (index == 0 || index >= objectSlots_) return false;
  if (index >= objects_.size()) objects_.resize(index + 1);
  objects_[index] = std::move(object);
  return true;
}

bool TGdiCanvas::CreateObjectInFreeSlot(TGdiObject object) {
  const auto free = std::find_if(objects_.begin(), objects_.end(), [](const auto& o) { return !o; });
  if (free != objects_.end()) {
    *free = std::move(object);
    return true;
  }
  if (objects_.size() >= objectSlots_) return false;
  objects_.emplace_back(std::move(object));
  return true;
}

bool TGdiCanvas::SelectObject(uint32_t index) {
  if (index & 0x80000000u) return SelectStockObject(index & 0x7FFFFFFFu);
  if (index >= objects_.size() || !objects_[index]) return false;
  const TGdiObject& object = *objects_[index];
  if (const auto* pen = std::get_if<TGdiPen>(&object)) state_.Pen = *pen;
  if (const auto* brush = std::get_if<TGdiBrush>(&object)) state_.Brush = *brush;
  if (const auto* font = std::get_if<TGdiFont>(&object)) state_.Font = *font;
  return true;
}

bool TGdiCanvas::SelectStockObject(uint32_t index) {
  const auto object = StockObject(index);
  if (!object) return false;
  if (const auto* pen = std::get_if<TGdiPen>(&*object)) state_.Pen = *pen;
  if (const auto* brush = std::get_if<TGdiBrush>(&*object)) state_.Brush = *brush;
  if (const auto* font = std::get_if<TGdiFont>(&*object)) state_.Font = *font;
  return true;
}

bool TGdiCanvas::DeleteObject(uint32_t index) {
  if (index & 0x80000000u) return true;  // stock objects are never deleted
  if (index >= objects_.size() || !objects_[index]) return false;
  objects_[index].reset();
  return true;
}

// ---- save and restore ----

bool TGdiCanvas::SaveDC() {
  if (saved_.size() >= kMaxSaveLevels) return false;
  saved_.push_back(state_);
  cairo_save(cr_);
  return true;
}

bool TGdiCanvas::RestoreDC(int32_t which) {
  const int64_t levels = static_cast<int64_t>(saved_.size());
  const int64_t pops = which < 0 ? -int64_t{which} : levels - which + 1;
  if (which == 0 || pops < 1 || pops > levels) return false;
  for (int64_t i = 0; i < pops; ++i) {
    state_ = saved_.back();
    saved_.pop_back();
    cairo_restore(cr_);
  }
  return true;
}

// ---- pens and brushes ----

double TGdiCanvas::PenWidthInPixels() const {
  const TGdiPen& pen = state_.Pen;
  const bool cosmetic = pen.Width <= 0 || (pen.Style & kPsGeometric) == 0;
  if (cosmetic) return 1;
  const auto m = LogicalToTarget();
  if (!m) return 1;
  const double scale = std::sqrt(std::abs(m->xx * m->yy - m->xy * m->yx));
  // A pen wider than a few times the picture covers all of it anyway.
  const double most = 4 * std::hypot(picture_[2] - picture_[0], picture_[3] - picture_[1]);
  return std::clamp(pen.Width * scale, 1.0, std::max(1.0, most));
}

bool TGdiCanvas::SetBrushSource() {
  const TGdiBrush& brush = state_.Brush;
  cairo_set_fill_rule(cr_, state_.PolyFillMode == kFillWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  switch (brush.Style) {
    case kBsSolid: SetColor(cr_, brush.Color); return true;
    case kBsHatched: {
      const auto cell = HatchCell(brush.Hatch, brush.Color, state_.BkMode == kBkOpaque, state_.BkColor);
      cairo_set_source_surface(cr_, cell.get(), 0, 0);
      cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_REPEAT);
      return true;
    }
    case kBsPattern:
    case kBsDibPattern:
    case kBsDibPatternPt:
      if (!brush.Pattern) return false;
      cairo_set_source_surface(cr_, brush.Pattern.get(), 0, 0);
      cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_REPEAT);
      return true;
    default: return false;  // BS_NULL and unknown styles paint nothing
  }
}

bool TGdiCanvas::SetPenSource() {
  const TGdiPen& pen = state_.Pen;
  const uint32_t style = pen.Style & kPenStyleMask;
  if (style == kPsNull) return false;
  SetColor(cr_, pen.Color);
  const double width = PenWidthInPixels();
  cairo_set_line_width(cr_, width);
  const bool geometric = width > 1 || (pen.Style & kPsGeometric) != 0;
  if (geometric) {
    switch (pen.Style & kPsEndCapMask) {
      case kPsEndCapSquare: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE); break;
      case kPsEndCapFlat: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT); break;
      default: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND); break;
    }
    switch (pen.Style & kPsJoinMask) {
      case kPsJoinBevel: cairo_set_line_join(cr_, CAIRO_LINE_JOIN_BEVEL); break;
      case kPsJoinMiter: cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER); break;
      default: cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND); break;
    }
  } else {
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  }
  cairo_set_miter_limit(cr_, std::max(1.0, state_.MiterLimit));

  // Cosmetic pens dash in pixels, geometric ones in multiples of their width.
  const double unit = geometric ? width : 1;
  std::vector<double> dashes;
  switch (style) {
    case kPsDash: dashes = geometric ? std::vector<double>{3, 1} : std::vector<double>{18, 6}; break;
    case kPsDot: dashes = geometric ? std::vector<double>{1, 1} : std::vector<double>{3, 3}; break;
    case kPsDashDot: dashes = geometric ? std::vector<double>{3, 1, 1, 1} : std::vector<double>{9, 6, 3, 6}; break;
    case kPsDashDotDot:
      dashes = geometric ? std::vector<double>{3, 1, 1, 1, 1, 1} : std::vector<double>{9, 3, 3, 3, 3, 3};
      break;
    case kPsUserStyle: {
      const auto m = LogicalToTarget();
      const double scale = m ? std::sqrt(std::abs(m->xx * m->yy - m->xy * m->yx)) : 1;
      for (double d : pen.Dashes) dashes.push_back(std::abs(d) * (geometric ? scale : 1));
      break;
    }
    default: break;
  }
  double period = 0;
  for (double& d : dashes) {
    if (style != kPsUserStyle) d *= unit;
    period += d;
  }
  if (!dashes.empty() && std::isfinite(period) && period >= 1 && PathLength(cr_) / period < kMaxDashes)
    cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
  else
    cairo_set_dash(cr_, nullptr, 0, 0);
  return true;
}

void TGdiCanvas::Fill() {
  cairo_identity_matrix(cr_);
  if (SetBrushSource()) cairo_fill_preserve(cr_);
}

void TGdiCanvas::Stroke() {
  cairo_identity_matrix(cr_);
  if (!SetPenSource()) return;
  // GDI draws a line one pixel wide on the pixels its coordinates name, whose centres
  // lie half a pixel further on; without smoothing, a line along the pixel edges would
  // light no pixel at all. Lines of an odd number of pixels move by that half pixel.
  if (std::fmod(std::lround(cairo_get_line_width(cr_)), 2) == 1) {
    cairo_path_t* path = cairo_copy_path(cr_);
    cairo_new_path(cr_);
    cairo_translate(cr_, 0.5, 0.5);
    cairo_append_path(cr_, path);
    cairo_path_destroy(path);
    cairo_identity_matrix(cr_);
  }
  cairo_stroke_preserve(cr_);
}

// ---- shapes ----

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
  SetColor(cr_, color);
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
    SetColor(cr_, *color);
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

// ---- paths ----

void TGdiCanvas::BeginPath() {
  inPath_ = true;
  path_.reset();
  cairo_new_path(cr_);
}

bool TGdiCanvas::EndPath() {
  if (!inPath_) return false;
  cairo_identity_matrix(cr_);
  path_.reset(cairo_copy_path(cr_));
  cairo_new_path(cr_);
  inPath_ = false;
  return true;
}

void TGdiCanvas::AbortPath() {
  inPath_ = false;
  path_.reset();
  cairo_new_path(cr_);
}

bool TGdiCanvas::CloseFigure() {
  if (!inPath_) return false;
  if (cairo_has_current_point(cr_)) cairo_close_path(cr_);
  return true;
}

void TGdiCanvas::AddSavedPath() {
  cairo_new_path(cr_);
  cairo_identity_matrix(cr_);
  cairo_append_path(cr_, path_.get());
  path_.reset();
}

bool TGdiCanvas::FillPath() {
  if (inPath_ || !path_) return false;
  AddSavedPath();
  Fill();
  cairo_new_path(cr_);
  return true;
}

bool TGdiCanvas::StrokePath() {
  if (inPath_ || !path_) return false;
  AddSavedPath();
  Stroke();
  cairo_new_path(cr_);
  return true;
}

bool TGdiCanvas::StrokeAndFillPath() {
  if (inPath_ || !path_) return false;
  AddSavedPath();
  Fill();
  Stroke();
  cairo_new_path(cr_);
  return true;
}

bool TGdiCanvas::SelectClipPath(int mode) {
  if (inPath_ || !path_) return false;
  if (mode != kRgnAnd && mode != kRgnCopy && mode != kRgnDiff) {
    path_.reset();
    return false;
  }
  if (mode == kRgnCopy) ResetClipToPicture();
  AddSavedPath();
  cairo_set_fill_rule(cr_, state_.PolyFillMode == kFillWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  if (mode == kRgnDiff) {
    // Everything outside the path: the picture's box around it, filled even-odd.
    cairo_rectangle(cr_, picture_[0] - 1, picture_[1] - 1, picture_[2] - picture_[0] + 2, picture_[3] - picture_[1] + 2);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  }
  cairo_clip(cr_);
  return true;
}

// ---- clipping ----

void TGdiCanvas::ResetClipToPicture() {
  TPathKeeper keep(cr_, inPath_);
  cairo_reset_clip(cr_);
  cairo_identity_matrix(cr_);
  cairo_rectangle(cr_, picture_[0], picture_[1], picture_[2] - picture_[0], picture_[3] - picture_[1]);
  cairo_clip(cr_);
}

void TGdiCanvas::ClipToRect(double left, double top, double right, double bottom, bool exclude) {
  cairo_rectangle(cr_, left, top, right - left, bottom - top);
  cairo_identity_matrix(cr_);
  if (exclude) {
    cairo_rectangle(cr_, picture_[0] - 1, picture_[1] - 1, picture_[2] - picture_[0] + 2, picture_[3] - picture_[1] + 2);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  }
  cairo_clip(cr_);
}

bool TGdiCanvas::IntersectClipRect(double left, double top, double right, double bottom) {
  const auto m = LogicalToTarget();
  if (!m) return false;
  TPathKeeper keep(cr_, inPath_);
  cairo_set_matrix(cr_, &*m);
  ClipToRect(left, top, right, bottom, false);
  return true;
}

bool TGdiCanvas::ExcludeClipRect(double left, double top, double right, double bottom) {
  const auto m = LogicalToTarget();
  if (!m) return false;
  TPathKeeper keep(cr_, inPath_);
  cairo_set_matrix(cr_, &*m);
  ClipToRect(left, top, right, bottom, true);
  return true;
}

bool TGdiCanvas::SelectClipRects(std::span<const std::array<double, 4>> rects, int mode) {
  if (mode == kRgnCopy) ResetClipToPicture();
  if (rects.empty()) return mode == kRgnCopy;
  if (mode != kRgnCopy && mode != kRgnAnd && mode != kRgnDiff) return false;
  TPathKeeper keep(cr_, inPath_);
  cairo_set_matrix(cr_, &deviceToTarget_);
  for (const auto& r : rects) cairo_rectangle(cr_, r[0], r[1], r[2] - r[0], r[3] - r[1]);
  cairo_identity_matrix(cr_);
  // The rectangles of a region never overlap, so even-odd is their union.
  if (mode == kRgnDiff)
    cairo_rectangle(cr_, picture_[0] - 1, picture_[1] - 1, picture_[2] - picture_[0] + 2, picture_[3] - picture_[1] + 2);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr_);
  return true;
}

}  // namespace vellmar
