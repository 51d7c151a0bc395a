// The canvas's paths and clipping: the path recorded between BeginPath and EndPath and
// what is done with it (filled, stroked, made the clip), and the clip narrowed by
// rectangles and regions within the picture.

#include "platform/metafile/GdiCanvas.h"

namespace vellmar {

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
