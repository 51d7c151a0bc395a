#pragma once
// Device-independent bitmaps inside metafile records: the BITMAPINFO and the bits a
// record carries, decoded by the BMP reader, and turned into Cairo surfaces for
// drawing and for pattern brushes.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/imaging/Bitmap.h"

namespace vellmar {

inline constexpr uint32_t kRopSrcCopy = 0x00CC0020, kRopSrcAnd = 0x008800C6, kRopSrcPaint = 0x00EE0086,
                          kRopSrcInvert = 0x00660046, kRopPatCopy = 0x00F00021, kRopBlackness = 0x00000042,
                          kRopWhiteness = 0x00FF0062;

// The bitmap of a BITMAPINFO (header and colour table) and its bits; nothing when
// they are damaged or use a form the reader does not know.
std::optional<TBitmap> DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits);

// The bitmap's pixels as an opaque Cairo image surface.
std::shared_ptr<cairo_surface_t> BitmapSurface(const TBitmap& bitmap);
// A 32-bit bitmap's pixels with their alpha, colours premultiplied as GDI's blending
// takes them.
std::shared_ptr<cairo_surface_t> PremultipliedSurface(const TBitmap& bitmap);

}  // namespace vellmar
