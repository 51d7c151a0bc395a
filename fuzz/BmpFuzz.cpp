// Arbitrary bytes into the BMP reader. Whatever loads must write back the very bytes
// it was read from, keep its colours through the conversion to 32 bits, and come back
// with the same colours from a file rebuilt from its pixels. Seeds (corpus/BmpFuzz):
// small images of every pixel format written by TBitmap::SaveToBmp, and the header
// variants of other writers (124- and 12-byte headers, bit fields, short palettes).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"

namespace {

bool SameColours(const vellmar::TBitmap& a, const vellmar::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vellmar::TBitmap;
  TBitmap bitmap;
  size_t used = 0;
  try {
    used = bitmap.LoadFromBmp(data, size);
  } catch (const vellmar::EVellmarError&) {
    return 0;
  }
  std::vector<uint8_t> kept;
  bitmap.SaveToBmp(kept);
  if (used > size || kept.size() != used || !std::equal(kept.begin(), kept.end(), data)) __builtin_trap();

  TBitmap converted = bitmap;
  converted.SetPixelFormat(vellmar::TPixelFormat::pf32bit);
  if (!SameColours(bitmap, converted)) __builtin_trap();

  bitmap.SetTopDown(!bitmap.TopDown());
  std::vector<uint8_t> rebuilt;
  bitmap.SaveToBmp(rebuilt);
  TBitmap reread;
  if (reread.LoadFromBmp(rebuilt.data(), rebuilt.size()) != rebuilt.size()) __builtin_trap();
  if (!SameColours(bitmap, reread)) __builtin_trap();
  return 0;
}
