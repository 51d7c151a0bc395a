#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"
#include "platform/imaging/BitmapPatterns.h"
#include "support/TestSupport.h"

namespace vellmar {

using test::AllPixelFormats;
using test::Patterned;
using test::Pixels;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Png(const TBitmap& bitmap, TPngAlpha alpha = TPngAlpha::Keep) {
  Bytes out;
  bitmap.SaveToPng(out, alpha);
  return out;
}

}  // namespace

TEST(Png, EveryFormatReadsBackWithTheSamePixels) {
  for (TPixelFormat format : AllPixelFormats) {
    for (bool topDown : {false, true}) {
      const TBitmap original = Patterned(13, 7, format, topDown);
      TBitmap loaded;
      const Bytes png = Png(original);
      loaded.LoadFromPng(png.data(), png.size());
      EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf32bit);
      EXPECT_EQ(loaded.Width(), 13);
      EXPECT_EQ(loaded.Height(), 7);
      EXPECT_EQ(Pixels(loaded), Pixels(original)) << StorageBits(format) << " bits, top-down " << topDown;
      if (format != TPixelFormat::pf32bit) {
        EXPECT_EQ(loaded.ScanLine(6)[3], 255);
      }
    }
  }
}

TEST(Png, AlphaOfThirtyTwoBitPixelsIsKeptOrDropped) {
  TBitmap bitmap(2, 1, TPixelFormat::pf32bit);
  uint8_t* row = bitmap.ScanLine(0);
  const uint8_t pixels[] = {10, 20, 30, 0, 40, 50, 60, 128};
  std::copy(std::begin(pixels), std::end(pixels), row);

  TBitmap loaded;
  Bytes png = Png(bitmap);
  loaded.LoadFromPng(png.data(), png.size());
  EXPECT_EQ(Bytes(loaded.ScanLine(0), loaded.ScanLine(0) + 8), Bytes(std::begin(pixels), std::end(pixels)));

  png = Png(bitmap, TPngAlpha::Opaque);
  loaded.LoadFromPng(png.data(), png.size());
  EXPECT_EQ(Bytes(loaded.ScanLine(0), loaded.ScanLine(0) + 8), (Bytes{10, 20, 30, 255, 40, 50, 60, 255}));
}

TEST(Png, OutputIsAppended) {
  Bytes out{1, 2, 3};
  TBitmap(1, 1, TPixelFormat::pf24bit).SaveToPng(out);
  ASSERT_GT(out.size(), 11u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 5), (Bytes{1, 2, 3, 0x89, 'P'}));
}

TEST(Png, DamagedOrMissingDataRaises) {
  const Bytes png = Png(Patterned(40, 30, TPixelFormat::pf24bit, false));
  TBitmap bitmap = Patterned(2, 2, TPixelFormat::pf8bit, false);
  const auto before = Pixels(bitmap);
  // Cuts inside the trailing 12-byte end chunk lose no pixels and may be read.
  for (size_t length = 0; length < png.size() - 12; length += 7) {
    EXPECT_THROW(bitmap.LoadFromPng(png.data(), length), EVellmarError) << length;
  }
  Bytes corrupt = png;
  corrupt[png.size() / 2] ^= 0xFF;
  EXPECT_THROW(bitmap.LoadFromPng(corrupt.data(), corrupt.size()), EVellmarError);
  EXPECT_EQ(Pixels(bitmap), before);

  Bytes out;
  EXPECT_THROW(TBitmap().SaveToPng(out), EVellmarError);
  EXPECT_TRUE(out.empty());
}

TEST(Png, FilesAreToldApartFromBmpByTheirSignature) {
  test::TempDir dir;
  const TBitmap original = Patterned(5, 4, TPixelFormat::pf24bit, false);
  original.SaveToPngFile(dir / "picture.png");
  TBitmap bitmap;
  bitmap.LoadFromFile(dir / "picture.png");
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(Pixels(bitmap), Pixels(original));
}

}  // namespace vellmar
