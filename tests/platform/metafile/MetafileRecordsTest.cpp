// What single records and their fields mean: the window-to-viewport mapping of each
// map mode, bounds-checked field reading, UTF-16 text, hatch patterns, pen ends, and
// bitmaps combined by their raster operations. Pictures are 100 x 100 pixels played
// into 102 x 102 bitmaps (picture pixel (x, y) is bitmap pixel (x + 1, y + 1)).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PlayerSeeds.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/GdiBitmaps.h"
#include "platform/metafile/GdiState.h"
#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafilePlayer.h"
#include "platform/metafile/MetafileRecordReader.h"
#include "platform/metafile/MetafileWriter.h"
#include "support/DarkPixel.h"

namespace vellmar {

namespace {

constexpr double kPixelsPerMm = 96 / 25.4;

TBitmap Play(const std::vector<uint8_t>& bytes) {
  test::ExpectPlayerSeed(bytes);
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TMetafile picture;
  picture.LoadFromStream(stream);
  return PlayMetafile(picture, 102, 102);
}

uint32_t Pic(const TBitmap& b, int x, int y) { return b.GetPixel(x + 1, y + 1) & 0xFFFFFF; }
using test::DarkInEveryChannel;

}  // namespace

struct TMappingCase {
  const char* Name;
  int MapMode;
  TPointD WindowExt, ViewportExt;
  double ScaleX, ScaleY;
};

TEST(MetafileRecords, EachMapModeScalesLogicalUnitsAsGdiDoes) {
  const double mm = kPixelsPerMm;
  const TMappingCase cases[] = {
      {"text: pixels", kMmText, {10, 20}, {100, -50}, 1, 1},
      {"lometric: 0.1 mm, y up", kMmLoMetric, {1, 1}, {1, 1}, 0.1 * mm, -0.1 * mm},
      {"himetric: 0.01 mm", kMmHiMetric, {1, 1}, {1, 1}, 0.01 * mm, -0.01 * mm},
      {"loenglish: 0.01 inch", kMmLoEnglish, {1, 1}, {1, 1}, 0.96, -0.96},
      {"hienglish: 0.001 inch", kMmHiEnglish, {1, 1}, {1, 1}, 0.096, -0.096},
      {"twips: 1/1440 inch", kMmTwips, {1, 1}, {1, 1}, 96.0 / 1440, -96.0 / 1440},
      {"anisotropic: each axis its own", kMmAnisotropic, {10, 20}, {100, -50}, 10, -2.5},
      {"isotropic: the smaller scale, each axis its sign", kMmIsotropic, {10, 20}, {100, -50}, 2.5, -2.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGdiState state;
    state.MapMode = c.MapMode;
    state.WindowExt = c.WindowExt;
    state.ViewportExt = c.ViewportExt;
    state.WindowOrg = {4, 8};
    state.ViewportOrg = {100, 200};
    const cairo_matrix_t m = PageToDevice(state, mm, mm);
    EXPECT_NEAR(m.xx, c.ScaleX, 1e-9);
    EXPECT_NEAR(m.yy, c.ScaleY, 1e-9);
    EXPECT_EQ(m.xy, 0);
    EXPECT_EQ(m.yx, 0);
    // The window origin lands on the viewport origin.
    double x = 4, y = 8;
    cairo_matrix_transform_point(&m, &x, &y);
    EXPECT_NEAR(x, 100, 1e-9);
    EXPECT_NEAR(y, 200, 1e-9);
  }
}

TEST(MetafileRecords, FieldsAndCountsPastTheRecordAreRefused) {
  const std::vector<uint8_t> bytes(20, 0);
  const auto refused = [&](const std::function<void(TRecordReader&)>& read) {
    TRecordReader r(bytes, 8);
    try {
      read(r);
    } catch (const EDamagedRecord&) {
      return true;
    }
    return false;
  };
  EXPECT_FALSE(refused([](TRecordReader& r) { r.Skip(8), r.U32(); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.Skip(9), r.U32(); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.NeedItems(0xFFFFFFFFu, 8); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.NeedItems(2, 8); }));
  EXPECT_FALSE(refused([](TRecordReader& r) { r.NeedItems(3, 4); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.Slice(0xFFFFFFFFFFFFFFF0ull, 0x20); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.Slice(16, 5); }));
  EXPECT_FALSE(refused([](TRecordReader& r) { r.Slice(16, 4); }));
  EXPECT_TRUE(refused([](TRecordReader& r) { r.Seek(21); }));
}

TEST(MetafileRecords, WideTextDecodesSurrogatePairsAndMarksBrokenOnes) {
  struct TCase {
    std::vector<uint8_t> Bytes;
    std::u32string Text;
  };
  const TCase cases[] = {
      {{0x16, 0x04, 0x41, 0x00}, U"ЖA"},
      {{0x3D, 0xD8, 0x97, 0xDE}, U"\U0001F697"},  // a pair
      {{0x3D, 0xD8, 0x41, 0x00}, U"\uFFFDA"},     // a high half alone
      {{0x97, 0xDE}, U"\uFFFD"},                   // a low half alone
      {{0x41, 0x00, 0x42}, U"A"},                  // an odd byte left over
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeUtf16(c.Bytes), c.Text);
  EXPECT_EQ(EncodeUtf8(U"Знак"), "Знак");
}

TEST(MetafileRecords, HatchesRunTheirWayInEightPixelCells) {
  struct TCase {
    uint32_t Hatch;
    std::function<bool(int x, int y)> On;  // bitmap pixels
  };
  const TCase cases[] = {
      {0, [](int, int y) { return y % 8 == 0; }},
      {1, [](int x, int) { return x % 8 == 0; }},
      {2, [](int x, int y) { return (x - y) % 8 == 0; }},       // "\"
      {3, [](int x, int y) { return (x + y) % 8 == 7; }},       // "/"
      {4, [](int x, int y) { return x % 8 == 0 || y % 8 == 0; }},
      {5, [](int x, int y) { return (x - y) % 8 == 0 || (x + y) % 8 == 7; }},
  };
  for (const auto& c : cases) {
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreateBrush(kBsHatched, 0x000000, c.Hatch));  // on the white opaque background
    w.SelectObject(kStockNullPen);
    w.Rectangle(0, 0, 100, 100);
    const auto bitmap = Play(w.Finish());
    int wrong = 0;
    for (int y = 16; y < 48; ++y)
      for (int x = 16; x < 48; ++x) {
        const uint32_t pixel = bitmap.GetPixel(x, y) & 0xFFFFFF;
        wrong += c.On(x, y) ? pixel != 0 : pixel != 0xFFFFFF;
      }
    EXPECT_EQ(wrong, 0) << "hatch " << c.Hatch;
  }
}

TEST(MetafileRecords, PenEndsAreFlatSquareOrRound) {
  constexpr uint32_t kEmrExtCreatePen = 95;
  struct TCase {
    const char* Name;
    uint32_t EndCap;
    bool BeyondEnd, Corner;  // ink at (27, 50) beyond the end, at (25, 45) in the square's corner
  };
  const TCase cases[] = {
      {"flat", kPsEndCapFlat, false, false},
      {"square", kPsEndCapSquare, true, true},
      {"round", 0, true, false},
  };
  for (const auto& c : cases) {
    TEmfWriter w(100, 100);
    const uint32_t slot = w.CreateBrush(kBsSolid, 0);  // a slot the pen takes over
    w.Record(kEmrExtCreatePen, {static_cast<int32_t>(slot), 0, 0, 0, 0,
                                static_cast<int32_t>(kPsGeometric | c.EndCap), 10, kBsSolid, 0, 0, 0});
    w.SelectObject(slot);
    const TPointD line[] = {{30, 50}, {70, 50}};
    w.Polyline(line);
    const auto bitmap = Play(w.Finish());
    EXPECT_EQ(DarkInEveryChannel(Pic(bitmap, 27, 50)), c.BeyondEnd) << c.Name;
    EXPECT_EQ(DarkInEveryChannel(Pic(bitmap, 25, 45)), c.Corner) << c.Name;
    EXPECT_TRUE(DarkInEveryChannel(Pic(bitmap, 50, 46))) << c.Name;
    EXPECT_FALSE(DarkInEveryChannel(Pic(bitmap, 50, 43))) << c.Name;
  }
}

TEST(MetafileRecords, BitmapsCombineWithThePictureByTheirRasterOperation) {
  // A white and a black pixel stretched over the two halves of a red picture.
  TBitmap source(2, 1, TPixelFormat::pf24bit);
  source.SetPixel(0, 0, 0xFFFFFF);
  source.SetPixel(1, 0, 0x000000);
  struct TCase {
    const char* Name;
    uint32_t Rop;
    uint32_t Left, Right;
  };
  const TCase cases[] = {
      {"copy", kRopSrcCopy, 0xFFFFFF, 0x000000},
      {"and: white keeps the picture, black blacks it", kRopSrcAnd, 0xFF0000, 0x000000},
      {"or: white whitens, black keeps", kRopSrcPaint, 0xFFFFFF, 0xFF0000},
      {"xor: white inverts, black keeps", kRopSrcInvert, 0x00FFFF, 0xFF0000},
  };
  for (const auto& c : cases) {
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.SelectObject(kStockNullPen);
    w.Rectangle(0, 0, 100, 100);
    w.StretchDIBits(0, 0, 100, 100, source, c.Rop);
    const auto bitmap = Play(w.Finish());
    EXPECT_EQ(Pic(bitmap, 25, 50), c.Left) << c.Name;
    EXPECT_EQ(Pic(bitmap, 75, 50), c.Right) << c.Name;
  }

  // Blending over the red picture: a pixel's own alpha (premultiplied colours), the
  // record's constant alpha, both. Rows of the source count from its top.
  TBitmap translucent(2, 2, TPixelFormat::pf32bit);
  const auto put = [&](int x, int y, uint32_t bgra) {
    uint8_t* p = translucent.ScanLine(y) + 4 * x;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(bgra >> (8 * i));
  };
  put(0, 0, 0x80808080);  // white at half alpha
  put(1, 0, 0xFF0000FF);  // opaque blue
  put(0, 1, 0x00000000);  // clear
  put(1, 1, 0xFF00FF00);  // opaque green
  struct TBlendCase {
    const char* Name;
    uint8_t ConstantAlpha;
    bool PixelAlpha;
    uint32_t TopLeft, TopRight, BottomLeft;
  };
  const TBlendCase blends[] = {
      {"pixel alpha", 255, true, 0xFF8080, 0x0000FF, 0xFF0000},
      {"pixel alpha at half strength", 128, true, 0xFF4040, 0x7F0080, 0xFF0000},
      {"constant alpha of an opaque copy (grey, blue, black, green)", 128, false, 0xBF4040, 0x7F0080, 0x7F0000},
  };
  for (const auto& c : blends) {
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.SelectObject(kStockNullPen);
    w.Rectangle(0, 0, 100, 100);
    w.AlphaBlend(0, 0, 100, 100, translucent, c.ConstantAlpha, c.PixelAlpha);
    const auto bitmap = Play(w.Finish());
    const auto near = [](uint32_t a, uint32_t b) {
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 2) return false;
      return true;
    };
    EXPECT_PRED2(near, Pic(bitmap, 25, 25), c.TopLeft) << c.Name;
    EXPECT_PRED2(near, Pic(bitmap, 75, 25), c.TopRight) << c.Name;
    EXPECT_PRED2(near, Pic(bitmap, 25, 75), c.BottomLeft) << c.Name;
  }

  // The DIB reader takes palettes and refuses bits that stop short.
  TBitmap indexed(3, 2, TPixelFormat::pf8bit);
  indexed.SetPalette({0x000000, 0x00FF00});
  indexed.SetPixel(2, 1, 0x00FF00);
  std::vector<uint8_t> file;
  indexed.SaveToBmp(file);
  const std::span<const uint8_t> image(file);
  const std::size_t infoSize = 40 + 2 * 4;
  const auto decoded = DecodeDib(image.subspan(14, infoSize), image.subspan(14 + infoSize));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->GetPixel(2, 1) & 0xFFFFFF, 0x00FF00u);
  EXPECT_FALSE(DecodeDib(image.subspan(14, infoSize), image.subspan(14 + infoSize, 4)).has_value());
}

}  // namespace vellmar
