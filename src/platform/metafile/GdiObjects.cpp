#include "platform/metafile/GdiObjects.h"

namespace vellmar {

namespace {

TGdiBrush SolidBrush(TColorRef color) {
  TGdiBrush brush;
  brush.Color = color;
  return brush;
}

TGdiPen SolidPen(TColorRef color) {
  TGdiPen pen;
  pen.Color = color;
  return pen;
}

TGdiFont StockFont(const char* face, int32_t height) {
  TGdiFont font;
  font.Height = height;
  font.FaceName = face;
  return font;
}

}  // namespace

std::optional<TGdiObject> StockObject(uint32_t index) {
  switch (index) {
    case 0: return SolidBrush(0xFFFFFF);
    case 1: return SolidBrush(0xC0C0C0);
    case 2: return SolidBrush(0x808080);
    case 3: return SolidBrush(0x404040);
    case 4: return SolidBrush(0x000000);
    case 5: {
      TGdiBrush brush;
      brush.Style = kBsNull;
      return brush;
    }
    case 6: return SolidPen(0xFFFFFF);
    case 7: return SolidPen(0x000000);
    case 8: {
      TGdiPen pen;
      pen.Style = kPsNull;
      return pen;
    }
    case 10:
    case 11:
    case 16: return StockFont("Courier New", 16);
    case 12:
    case 13:
    case 14: return StockFont("Arial", 16);
    case 17: return StockFont("Arial", -11);
    case 18: return SolidBrush(0xFFFFFF);  // DC_BRUSH
    case 19: return SolidPen(0x000000);    // DC_PEN
    case 15: return TGdiPlaceholder{};     // DEFAULT_PALETTE
    default: return std::nullopt;
  }
}

std::shared_ptr<cairo_surface_t> ShareSurface(cairo_surface_t* surface) {
  return std::shared_ptr<cairo_surface_t>(surface, cairo_surface_destroy);
}

}  // namespace vellmar
