#pragma once
// The drawing objects a metafile creates, selects and deletes - pens, brushes and
// fonts - as the values the player draws with, and the stock objects a metafile may
// select without creating them. Regions and palettes take a place in the object table
// but draw nothing, so they are kept as placeholders.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vellmar {

// A COLORREF: 0x00BBGGRR.
using TColorRef = uint32_t;

// The colour as the opaque source of the next Cairo fill or stroke.
inline void SetSourceColor(cairo_t* cr, TColorRef color) {
  cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0);
}

// Pen styles and flags as GDI numbers them.
inline constexpr uint32_t kPenStyleMask = 0x0F;
inline constexpr uint32_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4, kPsNull = 5,
                          kPsInsideFrame = 6, kPsUserStyle = 7;
inline constexpr uint32_t kPsEndCapMask = 0x0F00, kPsEndCapSquare = 0x100, kPsEndCapFlat = 0x200;
inline constexpr uint32_t kPsJoinMask = 0xF000, kPsJoinBevel = 0x1000, kPsJoinMiter = 0x2000;
inline constexpr uint32_t kPsGeometric = 0x10000;

struct TGdiPen {
  uint32_t Style = kPsSolid;  // style, end cap, join and type bits together
  double Width = 0;           // logical units; 0 draws one pixel wide
  TColorRef Color = 0;
  std::vector<double> Dashes;  // user style, in logical units
};

inline constexpr uint32_t kBsSolid = 0, kBsNull = 1, kBsHatched = 2, kBsPattern = 3, kBsDibPattern = 5,
                          kBsDibPatternPt = 6;

struct TGdiBrush {
  uint32_t Style = kBsSolid;
  TColorRef Color = 0xFFFFFF;
  uint32_t Hatch = 0;  // HS_HORIZONTAL ... HS_DIAGCROSS
  // The picture of a pattern brush (a Cairo image surface).
  std::shared_ptr<cairo_surface_t> Pattern;
};

// LOGFONT, with the face name as UTF-8.
struct TGdiFont {
  int32_t Height = 0;
  int32_t Width = 0;
  int32_t Escapement = 0;  // tenths of a degree, anticlockwise
  int32_t Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint8_t CharSet = 1;  // DEFAULT_CHARSET
  std::string FaceName;
};

struct TGdiPlaceholder {};

using TGdiObject = std::variant<TGdiPlaceholder, TGdiPen, TGdiBrush, TGdiFont>;

// The stock object of an index (WHITE_BRUSH 0 ... DC_PEN 19) without its 0x80000000
// flag; nothing for an index that names none.
std::optional<TGdiObject> StockObject(uint32_t index);

// A Cairo surface shared by the brushes that were copied from one another.
std::shared_ptr<cairo_surface_t> ShareSurface(cairo_surface_t* surface);

}  // namespace vellmar
