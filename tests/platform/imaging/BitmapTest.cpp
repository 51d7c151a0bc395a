#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"
#include "platform/imaging/BitmapPatterns.h"

namespace vellmar {

using test::AllPixelFormats;
using test::Patterned;
using test::Pixels;

namespace {

uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

TEST(Bitmap, RowsArePaddedToFourBytes) {
  struct Case {
    TPixelFormat format;
    int32_t width;
    int32_t stride;
  };
  const Case cases[] = {
      {TPixelFormat::pf1bit, 1, 4},   {TPixelFormat::pf1bit, 33, 8},  {TPixelFormat::pf4bit, 9, 8},
      {TPixelFormat::pf8bit, 5, 8},   {TPixelFormat::pf15bit, 3, 8},  {TPixelFormat::pf16bit, 2, 4},
      {TPixelFormat::pf24bit, 3, 12}, {TPixelFormat::pf24bit, 5, 16}, {TPixelFormat::pf32bit, 3, 12}};
  for (const Case& c : cases) {
    const TBitmap bitmap(c.width, 2, c.format);
    EXPECT_EQ(bitmap.Stride(), c.stride) << StorageBits(c.format) << " bits, width " << c.width;
  }
}

TEST(Bitmap, InfoHeaderDescribesThePixelBlock) {
  const TBitmap bitmap(10, 7, TPixelFormat::pf24bit);
  const TBitmapInfoHeader header = BitmapInfoHeader(bitmap);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 10);
  EXPECT_EQ(header.biHeight, 7);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, 0u);
  EXPECT_EQ(header.biSizeImage, 7u * 32u);
  EXPECT_EQ(header.biXPelsPerMeter, 1000);
  EXPECT_EQ(header.biYPelsPerMeter, 1000);
  EXPECT_EQ(header.biClrUsed, 0u);
  EXPECT_EQ(header.biClrImportant, 0u);

  const int expectedBits[] = {1, 4, 8, 15, 16, 24, 32};
  for (size_t i = 0; i < std::size(AllPixelFormats); ++i) {
    EXPECT_EQ(BitmapInfoHeader(TBitmap(3, 3, AllPixelFormats[i])).biBitCount, expectedBits[i]);
  }
}

TEST(Bitmap, FifteenBitImageSizeCountsTwoBytesPerPixel) {
  // Computing the stride from 15 bits gives 120 bytes for 64 pixels instead of the 128
  // the rows really take, so a copy by that size would lose the last rows' ends.
  TBitmap bitmap(64, 3, TPixelFormat::pf15bit);
  EXPECT_EQ(BitmapInfoHeader(bitmap).biBitCount, 15);
  EXPECT_EQ(BitmapInfoHeader(bitmap).biSizeImage, 3u * 128u);
}

TEST(Bitmap, TopDownInfoHeaderHasNegativeHeight) {
  TBitmap bitmap(4, 3, TPixelFormat::pf8bit);
  bitmap.SetTopDown(true);
  EXPECT_EQ(BitmapInfoHeader(bitmap).biHeight, -3);
  EXPECT_EQ(BitmapInfoHeader(bitmap).biSizeImage, 3u * 4u);
}

TEST(Bitmap, ScanLinesCountFromTheTopInEitherMemoryOrder) {
  TBitmap bitmap(3, 4, TPixelFormat::pf32bit);
  const uint8_t* block = BitmapFirstRow(std::as_const(bitmap));
  EXPECT_EQ(std::as_const(bitmap).ScanLine(0), block + 3 * bitmap.Stride());
  EXPECT_EQ(std::as_const(bitmap).ScanLine(3), block);
  bitmap.SetPixel(0, 0, 0x123456);
  EXPECT_EQ(block[3 * bitmap.Stride()], 0x56);

  bitmap.SetTopDown(true);
  EXPECT_TRUE(bitmap.TopDown());
  EXPECT_EQ(BitmapFirstRow(std::as_const(bitmap)), std::as_const(bitmap).ScanLine(0));
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x123456u);
  EXPECT_EQ(BitmapFirstRow(std::as_const(bitmap))[0], 0x56);
  EXPECT_EQ(BitmapFirstRow(TBitmap()), nullptr);
}

TEST(Bitmap, SetTopDownKeepsThePicture) {
  for (TPixelFormat format : AllPixelFormats) {
    TBitmap bitmap = Patterned(7, 5, format);
    const auto before = Pixels(bitmap);
    bitmap.SetTopDown(true);
    EXPECT_EQ(Pixels(bitmap), before);
    bitmap.SetTopDown(false);
    EXPECT_EQ(Pixels(bitmap), before);
  }
}

TEST(Bitmap, SetPixelTouchesOnlyItsOwnBits) {
  for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit}) {
    TBitmap bitmap(11, 1, format);
    const uint32_t white = 0xFFFFFF;
    for (int32_t x = 0; x < 11; x += 2) bitmap.SetPixel(x, 0, white);
    for (int32_t x = 0; x < 11; ++x) EXPECT_EQ(bitmap.GetPixel(x, 0), x % 2 == 0 ? white : 0u) << x;
    bitmap.SetPixel(4, 0, 0);
    EXPECT_EQ(bitmap.GetPixel(3, 0), 0u);
    EXPECT_EQ(bitmap.GetPixel(4, 0), 0u);
    EXPECT_EQ(bitmap.GetPixel(5, 0), 0u);
    EXPECT_EQ(bitmap.GetPixel(6, 0), white);
  }
  TBitmap bitmap(2, 1, TPixelFormat::pf1bit);
  bitmap.SetPixel(0, 0, 0xFFFFFF);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0x80);
  TBitmap nibbles(2, 1, TPixelFormat::pf4bit);
  nibbles.SetPixel(1, 0, 0xFF0000);  // entry 9 of the 16-colour table
  EXPECT_EQ(nibbles.ScanLine(0)[0], 0x09);
}

TEST(Bitmap, ConversionTo32BitsExpandsEveryFormat) {
  TBitmap indexed(2, 1, TPixelFormat::pf4bit);
  indexed.SetPalette({0x102030, 0xA0B0C0, 0x00FF00});
  indexed.ScanLine(0)[0] = 0x12;
  indexed.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_EQ(indexed.GetPixel(0, 0), 0xA0B0C0u);
  EXPECT_EQ(indexed.GetPixel(1, 0), 0x00FF00u);
  EXPECT_TRUE(indexed.Palette().empty());
  const uint8_t* bgra = indexed.ScanLine(0);
  EXPECT_EQ(std::vector<uint8_t>(bgra, bgra + 8),
            (std::vector<uint8_t>{0xC0, 0xB0, 0xA0, 255, 0, 0xFF, 0, 255}));

  struct Case {
    TPixelFormat format;
    uint16_t pixel;
    uint32_t colour;
  };
  const Case cases[] = {{TPixelFormat::pf15bit, 0x7FFF, 0xFFFFFF}, {TPixelFormat::pf15bit, 0x0421, 0x080808},
                        {TPixelFormat::pf15bit, 0x7C00, 0xFF0000}, {TPixelFormat::pf15bit, 0x8000, 0x000000},
                        {TPixelFormat::pf16bit, 0xF800, 0xFF0000}, {TPixelFormat::pf16bit, 0x07E0, 0x00FF00},
                        {TPixelFormat::pf16bit, 0x0020, 0x000400}, {TPixelFormat::pf16bit, 0x8410, 0x848284}};
  for (const Case& c : cases) {
    TBitmap bitmap(1, 1, c.format);
    bitmap.ScanLine(0)[0] = static_cast<uint8_t>(c.pixel);
    bitmap.ScanLine(0)[1] = static_cast<uint8_t>(c.pixel >> 8);
    EXPECT_EQ(bitmap.GetPixel(0, 0), c.colour) << std::hex << c.pixel;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(bitmap.GetPixel(0, 0), c.colour) << std::hex << c.pixel;
    EXPECT_EQ(bitmap.ScanLine(0)[3], 255);
  }
}

TEST(Bitmap, ConversionKeepsThePictureAndItsOrientation) {
  for (TPixelFormat format : AllPixelFormats) {
    for (bool topDown : {false, true}) {
      TBitmap bitmap = Patterned(9, 4, format, topDown);
      const auto before = Pixels(bitmap);
      bitmap.SetPixelFormat(TPixelFormat::pf32bit);
      EXPECT_EQ(bitmap.TopDown(), topDown);
      EXPECT_EQ(Pixels(bitmap), before) << StorageBits(format) << " bits";
      // Every colour a 16-bit or paletted pixel can hold survives the way back.
      bitmap.SetPixelFormat(format);
      EXPECT_EQ(Pixels(bitmap), before) << StorageBits(format) << " bits";
    }
  }
}

TEST(Bitmap, ConversionToIndexedKeepsAFittingPaletteOrPicksNearestColours) {
  TBitmap small(3, 1, TPixelFormat::pf8bit);
  small.SetPalette({0x111111, 0x222222, 0x333333});
  small.SetPixel(2, 0, 0x333333);
  small.SetPixelFormat(TPixelFormat::pf4bit);
  EXPECT_EQ(small.Palette().size(), 3u);
  EXPECT_EQ(small.GetPixel(2, 0), 0x333333u);
  EXPECT_EQ(small.GetPixel(0, 0), 0x111111u);

  TBitmap rgb(3, 1, TPixelFormat::pf24bit);
  rgb.SetPixel(0, 0, 0x202020);
  rgb.SetPixel(1, 0, 0xF0E0F0);
  rgb.SetPixel(2, 0, 0x33CC66);
  TBitmap mono = rgb;
  mono.SetPixelFormat(TPixelFormat::pf1bit);
  EXPECT_EQ(Pixels(mono), (std::vector<uint32_t>{0x000000, 0xFFFFFF, 0x000000}));
  rgb.SetPixelFormat(TPixelFormat::pf8bit);
  EXPECT_EQ(rgb.GetPixel(2, 0), 0x33CC66u);  // a colour of the default cube
}

TEST(Bitmap, IndexPastThePaletteReadsBlack) {
  TBitmap bitmap(2, 1, TPixelFormat::pf8bit);
  bitmap.SetPalette({0xFFFFFF});
  bitmap.ScanLine(0)[1] = 200;
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(bitmap.GetPixel(1, 0), 0u);
}

TEST(Bitmap, SetSizeKeepsTheOverlap) {
  TBitmap bitmap = Patterned(4, 3, TPixelFormat::pf24bit);
  const TBitmap original = bitmap;
  bitmap.SetSize(6, 2);
  EXPECT_EQ(bitmap.Stride(), 20);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bitmap.GetPixel(x, y), original.GetPixel(x, y));
    EXPECT_EQ(bitmap.GetPixel(5, y), 0u);
  }
  bitmap.SetSize(0, 0);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, BadSizesAndPositionsRaise) {
  EXPECT_THROW(TBitmap(-1, 2, TPixelFormat::pf8bit), EVellmarError);
  try {
    TBitmap(100000, 100000, TPixelFormat::pf24bit);
    FAIL() << "a 30 GB bitmap was made";
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TBitmap.Create: 100000 x 100000 pixels are too large");
  }
  TBitmap bitmap(3, 2, TPixelFormat::pf24bit);
  EXPECT_THROW(bitmap.SetSize(INT32_MAX, INT32_MAX), EVellmarError);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_THROW(bitmap.ScanLine(2), EVellmarError);
  EXPECT_THROW(bitmap.ScanLine(-1), EVellmarError);
  try {
    bitmap.GetPixel(3, 0);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TBitmap.GetPixel: pixel (3, 0) outside 3 x 2");
  }
  EXPECT_THROW(bitmap.SetPixel(0, -1, 0), EVellmarError);
  EXPECT_THROW(bitmap.SetPalette({0}), EVellmarError);
  TBitmap mono(1, 1, TPixelFormat::pf1bit);
  EXPECT_THROW(mono.SetPalette({0, 1, 2}), EVellmarError);
  EXPECT_THROW(mono.SetPalette({}), EVellmarError);
}

TEST(Bitmap, SixteenBitPixelsAreLittleEndian) {
  TBitmap bitmap(1, 1, TPixelFormat::pf16bit);
  bitmap.SetPixel(0, 0, 0xFF0000);
  EXPECT_EQ(Read16(bitmap.ScanLine(0)), 0xF800);
  bitmap.SetPixelFormat(TPixelFormat::pf15bit);
  EXPECT_EQ(Read16(bitmap.ScanLine(0)), 0x7C00);
}

}  // namespace vellmar
