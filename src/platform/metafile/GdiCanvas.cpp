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

bool Finite(const cairo_matrix_t& m) {
  return std::isfinite(m.xx) && std::isfinite(m.yx) && std::isfinite(m.xy) && std::isfinite(m.yy) &&
         std::isfinite(m.x0) && std::isfinite(m.y0);
}

bool Invertible(const cairo_matrix_t& m) {
  if (!Finite(m)) return false;
  cairo_matrix_t copy = m;
  return cairo_matrix_invert(&copy) == CAIRO_STATUS_SUCCESS && Finite(copy);
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
    case kBsSolid: SetSourceColor(cr_, brush.Color); return true;
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
  SetSourceColor(cr_, pen.Color);
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

}  // namespace vellmar
