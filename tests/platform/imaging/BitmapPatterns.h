#pragma once
// Pictures for the bitmap tests: neighbouring pixels differ, and every colour is one
// the pixel format can hold (a palette entry for the indexed formats).

#include <cstdint>
#include <vector>

#include "platform/imaging/Bitmap.h"

namespace vellmar::test {

inline constexpr TPixelFormat AllPixelFormats[] = {
    TPixelFormat::pf1bit,  TPixelFormat::pf4bit,  TPixelFormat::pf8bit, TPixelFormat::pf15bit,
    TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit};

inline TBitmap Patterned(int32_t width, int32_t height, TPixelFormat format, bool topDown = false) {
  TBitmap bitmap(width, height, format);
  bitmap.SetTopDown(topDown);
  const auto& palette = bitmap.Palette();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const auto index = static_cast<uint32_t>(x * 5 + y * 3);
      bitmap.SetPixel(x, y,
                      palette.empty() ? (index * 0x3A1F07u) & 0xFFFFFF : palette[index % palette.size()]);
    }
  }
  return bitmap;
}

// Every pixel's colour, row by row from the top.
inline std::vector<uint32_t> Pixels(const TBitmap& bitmap) {
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.GetPixel(x, y));
  return pixels;
}

}  // namespace vellmar::test
