#pragma once
// The state of a GDI device context as metafile records change it: mapping between
// logical and device units, the world transform, the selected objects, colours, modes
// and the current position. SaveDC pushes a copy of it; RestoreDC takes one back.

#include <cairo.h>

#include <cstdint>

#include "platform/metafile/GdiObjects.h"

namespace vellmar {

struct TPointD {
  double X = 0;
  double Y = 0;
};

inline constexpr int kMmText = 1, kMmLoMetric = 2, kMmHiMetric = 3, kMmLoEnglish = 4, kMmHiEnglish = 5,
                     kMmTwips = 6, kMmIsotropic = 7, kMmAnisotropic = 8;
inline constexpr int kBkTransparent = 1, kBkOpaque = 2;
inline constexpr int kFillAlternate = 1, kFillWinding = 2;
inline constexpr int kArcCounterClockwise = 1, kArcClockwise = 2;
// Text alignment flags.
inline constexpr uint32_t kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaHorizontalMask = 6, kTaBottom = 8,
                          kTaBaseline = 24, kTaVerticalMask = 24;

struct TGdiState {
  int MapMode = kMmText;
  TPointD WindowOrg{0, 0};
  TPointD WindowExt{1, 1};
  TPointD ViewportOrg{0, 0};
  TPointD ViewportExt{1, 1};
  cairo_matrix_t World{1, 0, 0, 1, 0, 0};

  TGdiPen Pen;
  TGdiBrush Brush;
  TGdiFont Font{.Height = 16, .FaceName = "Arial"};

  TColorRef TextColor = 0x000000;
  TColorRef BkColor = 0xFFFFFF;
  int BkMode = kBkOpaque;
  int PolyFillMode = kFillAlternate;
  uint32_t TextAlign = 0;
  int ArcDirection = kArcCounterClockwise;
  double MiterLimit = 10;
  TPointD Position{0, 0};
};

// Page to device: the window mapped onto the viewport under the map mode. Fixed map
// modes measure logical units in millimetres of the device, which has
// `pixelsPerMmX/Y` pixels a millimetre, with y growing upwards.
cairo_matrix_t PageToDevice(const TGdiState& state, double pixelsPerMmX, double pixelsPerMmY);

}  // namespace vellmar
