// Pixels of hand-made metafiles played into bitmaps. The pictures are 100 x 100
// pixels played into 102 x 102 bitmaps, so that picture pixel (x, y) is bitmap pixel
// (x + 1, y + 1). VELLMAR_PLAYER_PNG=DIR writes every played bitmap there to look at.

#include "platform/metafile/MetafilePlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "PlayerSeeds.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafileWriter.h"
#include "support/DarkPixel.h"

namespace vellmar {

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kBlack = 0, kMagenta = 0xFF00FF;
constexpr TColorRef kRedRef = 0x0000FF, kBlueRef = 0xFF0000;

// EMF record types the tests write directly.
constexpr uint32_t kEmrArc = 45, kEmrPie = 47, kEmrBeginPath = 59, kEmrEndPath = 60, kEmrFillPath = 62,
                   kEmrModifyWorldTransform = 36, kEmrIntersectClipRect = 30, kEmrMoveToEx = 27, kEmrLineTo = 54;

TMetafile Load(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TMetafile metafile;
  metafile.LoadFromStream(stream);
  return metafile;
}

TBitmap Play(const std::vector<uint8_t>& bytes, const std::string& name, int width = 102, int height = 102,
             TMetafilePlayback* report = nullptr) {
  test::ExpectPlayerSeed(bytes);
  TBitmap bitmap = PlayMetafile(Load(bytes), width, height, report);
  if (const char* dir = std::getenv("VELLMAR_PLAYER_PNG")) {
    bitmap.SaveToPngFile(std::filesystem::path(dir) / (name + ".png"));
  }
  return bitmap;
}

uint32_t At(const TBitmap& b, int x, int y) { return b.GetPixel(x, y) & 0xFFFFFF; }

// Picture pixel (x, y) of a 100 x 100 picture played 1:1.
uint32_t Pic(const TBitmap& b, int x, int y) { return At(b, x + 1, y + 1); }

// An EMF of 100 x 100 pixels whose records `draw` writes with a red brush and no pen
// selected.
std::vector<uint8_t> RedPicture(const std::function<void(TEmfWriter&)>& draw) {
  TEmfWriter w(100, 100);
  w.SelectObject(w.CreateBrush(kBsSolid, kRedRef));
  w.SelectObject(kStockNullPen);
  draw(w);
  return w.Finish();
}

using test::DarkInEveryChannel;

}  // namespace

TEST(MetafilePlayer, RedCircleIsRoundAndWhereItsRecordSaysAndTheFrameIsMagenta) {
  const auto bitmap = Play(RedPicture([](TEmfWriter& w) { w.Ellipse(20, 30, 80, 90); }), "circle");
  // Centre (50, 60), radius 30: inside at 27 in every direction, outside at 33.
  for (int i = 0; i < 16; ++i) {
    const double a = i * std::numbers::pi / 8;
    const auto x = [&](double r) { return static_cast<int>(std::lround(50 + r * std::cos(a))); };
    const auto y = [&](double r) { return static_cast<int>(std::lround(60 + r * std::sin(a))); };
    EXPECT_EQ(Pic(bitmap, x(27), y(27)), kRed) << "direction " << i;
    EXPECT_EQ(Pic(bitmap, x(33), y(33)), kMagenta) << "direction " << i;
  }
  for (int i = 0; i < 102; ++i) {
    EXPECT_EQ(At(bitmap, i, 0), kMagenta);
    EXPECT_EQ(At(bitmap, 0, i), kMagenta);
    EXPECT_EQ(At(bitmap, i, 101), kMagenta);
    EXPECT_EQ(At(bitmap, 101, i), kMagenta);
  }
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap.ScanLine(50)[50 * 4 + 3], 0xFF) << "textures take the alpha as it is";
}

struct TPlacementCase {
  const char* Name;
  std::function<void(TEmfWriter&)> Draw;
  int Left, Top, Right, Bottom;  // where GDI puts the red shape, picture pixels
};

TEST(MetafilePlayer, MappingsAndWorldTransformsPutShapesWhereGdiPutsThem) {
  const std::vector<TPlacementCase> cases = {
      {"text mode", [](TEmfWriter& w) { w.Rectangle(10, 20, 40, 60); }, 10, 20, 40, 60},
      {"window origin", [](TEmfWriter& w) {
         w.SetWindowOrg(100, -10);
         w.Rectangle(110, 10, 140, 50);
       }, 10, 20, 40, 60},
      {"anisotropic", [](TEmfWriter& w) {
         w.SetMapMode(kMmAnisotropic);
         w.SetWindowExt(1000, 2000);
         w.SetViewportExt(100, 100);
         w.Rectangle(200, 400, 600, 1600);
       }, 20, 20, 60, 80},
      {"anisotropic flipped with viewport origin", [](TEmfWriter& w) {
         w.SetMapMode(kMmAnisotropic);
         w.SetWindowExt(100, -100);
         w.SetViewportExt(100, 100);
         w.SetViewportOrg(0, 100);
         w.Rectangle(10, 10, 30, 40);  // y up from the bottom
       }, 10, 60, 30, 90},
      {"isotropic takes the smaller scale", [](TEmfWriter& w) {
         w.SetMapMode(kMmIsotropic);
         w.SetWindowExt(1000, 500);
         w.SetViewportExt(100, 100);
         w.Rectangle(100, 100, 300, 300);
       }, 10, 10, 30, 30},
      {"lometric: tenths of a millimetre, y up", [](TEmfWriter& w) {
         w.SetMapMode(kMmLoMetric);
         w.SetViewportOrg(10, 90);
         w.Rectangle(0, 0, 132, 79);  // 50 x 30 pixels at 96 dpi
       }, 10, 60, 60, 90},
      {"world translation", [](TEmfWriter& w) {
         w.SetWorldTransform(1, 0, 0, 1, 30, 10);
         w.Rectangle(0, 0, 20, 20);
       }, 30, 10, 50, 30},
      {"world rotation by a quarter", [](TEmfWriter& w) {
         w.SetWorldTransform(0, 1, -1, 0, 100, 0);  // (x, y) -> (100 - y, x)
         w.Rectangle(10, 20, 30, 40);
       }, 60, 10, 80, 30},
      {"world transform is restored with the DC", [](TEmfWriter& w) {
         w.SaveDC();
         w.SetWorldTransform(2, 0, 0, 2, 50, 50);
         w.RestoreDC(-1);
         w.Rectangle(10, 20, 40, 60);
       }, 10, 20, 40, 60},
      {"world transform multiplied on the left applies first", [](TEmfWriter& w) {
         w.SetWorldTransform(1, 0, 0, 1, 40, 0);
         w.Record(kEmrModifyWorldTransform, {0x40000000, 0, 0, 0x40000000, 0, 0, 2});  // scale 2 first
         w.Rectangle(5, 10, 15, 30);
       }, 50, 20, 70, 60},
      {"clip rectangle cuts the shape", [](TEmfWriter& w) {
         w.Record(kEmrIntersectClipRect, {0, 0, 50, 100});
         w.Rectangle(20, 20, 80, 60);
       }, 20, 20, 50, 60},
      {"path filled", [](TEmfWriter& w) {
         w.Record(kEmrBeginPath, {});
         w.Rectangle(30, 30, 70, 50);
         w.Record(kEmrEndPath, {});
         w.Record(kEmrFillPath, {0, 0, 0, 0});
       }, 30, 30, 70, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto bitmap = Play(RedPicture(c.Draw), std::string("place-") + c.Name);
    EXPECT_EQ(Pic(bitmap, (c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2), kRed);
    EXPECT_EQ(Pic(bitmap, c.Left + 1, c.Top + 1), kRed);
    EXPECT_EQ(Pic(bitmap, c.Right - 2, c.Bottom - 2), kRed);
    EXPECT_NE(Pic(bitmap, c.Left - 2, (c.Top + c.Bottom) / 2), kRed);
    EXPECT_NE(Pic(bitmap, c.Right + 1, (c.Top + c.Bottom) / 2), kRed);
    EXPECT_NE(Pic(bitmap, (c.Left + c.Right) / 2, c.Top - 2), kRed);
    EXPECT_NE(Pic(bitmap, (c.Left + c.Right) / 2, c.Bottom + 1), kRed);
  }
}

TEST(MetafilePlayer, HatchedBrushesHatchAndPensHaveTheirWidth) {
  // Horizontal and vertical hatches in black, transparent background: one pixel line
  // in eight across the hatch, unbroken along it.
  for (uint32_t hatch : {0u, 1u}) {
    TEmfWriter w(100, 100);
    w.SetBkMode(kBkTransparent);
    w.SelectObject(w.CreateBrush(kBsHatched, 0x000000, hatch));
    w.SelectObject(kStockNullPen);
    w.Rectangle(10, 10, 90, 90);
    const auto bitmap = Play(w.Finish(), "hatch-" + std::to_string(hatch));
    int across = 0, along = 0;
    for (int i = 20; i < 84; ++i) {
      across += DarkInEveryChannel(hatch == 0 ? Pic(bitmap, 50, i) : Pic(bitmap, i, 50));
    }
    int line = 20;
    while (!DarkInEveryChannel(hatch == 0 ? Pic(bitmap, 50, line) : Pic(bitmap, line, 50))) ++line;
    for (int i = 20; i < 80; ++i)
      along += DarkInEveryChannel(hatch == 0 ? Pic(bitmap, i, line) : Pic(bitmap, line, i));
    EXPECT_EQ(across, 8) << "hatch " << hatch;
    EXPECT_EQ(along, 60) << "hatch " << hatch;
    EXPECT_EQ(Pic(bitmap, 5, 5), kMagenta);
  }

  // A horizontal line at y = 50 with pens 0 (one pixel) and 12 units wide.
  for (int width : {0, 12}) {
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreatePen(kPsSolid, width, 0x000000));
    const TPointD line[] = {{10, 50}, {90, 50}};
    w.Polyline(line);
    const auto bitmap = Play(w.Finish(), "pen-" + std::to_string(width));
    int thickness = 0;
    for (int y = 30; y < 70; ++y) thickness += DarkInEveryChannel(Pic(bitmap, 50, y));
    EXPECT_EQ(thickness, std::max(width, 1)) << "pen " << width;
  }
}

TEST(MetafilePlayer, ArcsAndPiesRunAnticlockwiseFromStartToEnd) {
  // A pie of the upper right quarter: from the east point anticlockwise to the north.
  const auto bitmap = Play(RedPicture([](TEmfWriter& w) { w.Record(kEmrPie, {10, 10, 90, 90, 90, 50, 50, 10}); }),
                           "pie");
  EXPECT_EQ(Pic(bitmap, 70, 30), kRed);
  EXPECT_NE(Pic(bitmap, 30, 30), kRed);
  EXPECT_NE(Pic(bitmap, 70, 70), kRed);
  EXPECT_NE(Pic(bitmap, 30, 70), kRed);

  // An arc of the lower half with a thick pen, and a line from MoveTo to LineTo.
  TEmfWriter w(100, 100);
  w.SelectObject(w.CreatePen(kPsSolid, 4, 0x000000));
  w.Record(kEmrArc, {10, 10, 90, 90, 10, 50, 90, 50});
  w.Record(kEmrMoveToEx, {10, 5});
  w.Record(kEmrLineTo, {90, 5});
  const auto arc = Play(w.Finish(), "arc");
  EXPECT_TRUE(DarkInEveryChannel(Pic(arc, 50, 89)));
  EXPECT_FALSE(DarkInEveryChannel(Pic(arc, 50, 11)));
  EXPECT_TRUE(DarkInEveryChannel(Pic(arc, 50, 5)));
}

struct TStrokeCase {
  const char* Name;
  std::function<void(TEmfWriter&)> Draw;
  std::vector<std::pair<int, int>> Ink, Clear;  // picture pixels drawn and not drawn
};

TEST(MetafilePlayer, LinesOfPolyDrawAngleArcAndStrokedPathsRunWhereTheirRecordsSay) {
  constexpr uint32_t kEmrPolyDraw = 56, kEmrAngleArc = 41, kEmrStrokePath = 64;
  constexpr int32_t kNinetyDegrees = 0x42B40000;  // 90.0f
  const std::vector<TStrokeCase> cases = {
      {"poly draw closes its figure back to the move",
       [](TEmfWriter& w) { w.Record(kEmrPolyDraw, {0, 0, 0, 0, 3, 10, 10, 90, 10, 90, 90, 0x00030206}); },
       {{50, 10}, {90, 50}, {50, 50}}, {{10, 50}, {50, 90}}},
      {"angle arc: a line to its start, then anticlockwise", [](TEmfWriter& w) {
         w.Record(kEmrMoveToEx, {50, 50});
         w.Record(kEmrAngleArc, {50, 50, 40, 0, kNinetyDegrees});
       }, {{70, 50}, {78, 22}, {50, 10}}, {{78, 78}, {22, 78}}},
      {"stroked path", [](TEmfWriter& w) {
         w.Record(kEmrBeginPath, {});
         w.Record(kEmrMoveToEx, {10, 80});
         w.Record(kEmrLineTo, {90, 80});
         w.Record(kEmrEndPath, {});
         w.Record(kEmrStrokePath, {0, 0, 0, 0});
       }, {{20, 80}, {80, 80}}, {{50, 50}}},
      {"a path is not drawn until it is stroked or filled", [](TEmfWriter& w) {
         w.Record(kEmrBeginPath, {});
         w.Rectangle(10, 10, 90, 90);
         w.Record(kEmrEndPath, {});
       }, {}, {{10, 50}, {50, 50}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreatePen(kPsSolid, 3, 0x000000));
    c.Draw(w);
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), std::string("stroke-") + c.Name, 102, 102, &report);
    EXPECT_EQ(report.Skipped, 0);
    for (const auto& [x, y] : c.Ink) EXPECT_TRUE(DarkInEveryChannel(Pic(bitmap, x, y))) << x << ", " << y;
    for (const auto& [x, y] : c.Clear) EXPECT_FALSE(DarkInEveryChannel(Pic(bitmap, x, y))) << x << ", " << y;
  }

  // A cosmetic dashed pen: 18 pixels on, 6 off.
  TEmfWriter w(100, 100);
  w.SelectObject(w.CreatePen(kPsDash, 0, 0x000000));
  const TPointD line[] = {{2, 50}, {98, 50}};
  w.Polyline(line);
  const auto dashed = Play(w.Finish(), "dashed");
  int on = 0;
  for (int x = 2; x < 98; ++x) on += DarkInEveryChannel(Pic(dashed, x, 50));
  EXPECT_EQ(on, 72);
}

TEST(MetafilePlayer, TextAppearsInCyrillicPlacedByItsAdvances) {
  const auto text = [](const std::string& s, std::vector<int32_t> dx = {}) {
    TEmfWriter w(100, 100);
    TGdiFont font;
    font.Height = -40;
    font.FaceName = "Arial";
    font.CharSet = kRussianCharset;
    w.SelectObject(w.CreateFont(font));
    w.SetBkMode(kBkTransparent);
    w.TextOut(10, 20, s, dx);
    return w.Finish();
  };
  const auto ink = [](const TBitmap& b, int x0, int x1) {
    int n = 0;
    for (int y = 1; y < 101; ++y)
      for (int x = x0; x < x1; ++x) n += DarkInEveryChannel(At(b, x, y));
    return n;
  };
  const auto zhe = Play(text("Ж"), "text-zhe");
  const auto shcha = Play(text("Щ"), "text-shcha");
  const auto question = Play(text("?"), "text-question");
  EXPECT_GT(ink(zhe, 0, 102), 100) << "the letter is drawn";
  // Missing glyphs would all look the same box; real letters differ.
  EXPECT_NE(ink(zhe, 0, 102), ink(shcha, 0, 102));
  EXPECT_NE(ink(zhe, 0, 102), ink(question, 0, 102));
  // Ink only to the right of the reference point and below it (top-aligned).
  for (int y = 1; y < 101; ++y) EXPECT_FALSE(DarkInEveryChannel(At(zhe, 9, y)));
  for (int x = 1; x < 101; ++x) EXPECT_FALSE(DarkInEveryChannel(At(zhe, x, 19)));

  // Two bars advanced by 60 units: the second starts 60 pixels after the first.
  const auto bars = Play(text("ll", {60, 0}), "text-dx");
  int first = -1, second = -1;
  for (int x = 1; x < 101; ++x) {
    bool dark = false;
    for (int y = 1; y < 101; ++y) dark = dark || DarkInEveryChannel(At(bars, x, y));
    if (dark && first < 0) first = x;
    if (dark && first >= 0 && x > first + 20 && second < 0) second = x;
  }
  EXPECT_EQ(second - first, 60);
}

TEST(MetafilePlayer, StretchDibitsPictureIsTheRightWayUp) {
  TBitmap source(2, 2, TPixelFormat::pf24bit);
  source.SetPixel(0, 0, kRed);
  source.SetPixel(1, 0, kRed);
  source.SetPixel(0, 1, kBlue);
  source.SetPixel(1, 1, kBlue);
  for (bool topDown : {false, true}) {
    source.SetTopDown(topDown);
    TEmfWriter w(100, 100);
    w.StretchDIBits(0, 0, 100, 100, source);
    const auto bitmap = Play(w.Finish(), "dib");
    EXPECT_EQ(Pic(bitmap, 50, 10), kRed) << "top row on top";
    EXPECT_EQ(Pic(bitmap, 50, 90), kBlue);
  }
}

TEST(MetafilePlayer, TallPictureBecomesATallTextureWithItsLowerHalfBelow) {
  EXPECT_EQ(MetafileTextureSide(800), 256);
  EXPECT_EQ(MetafileTextureSide(1000), 256);
  EXPECT_EQ(MetafileTextureSide(1001), 512);
  EXPECT_EQ(MetafileTextureSide(2000), 512);
  EXPECT_EQ(MetafileTextureSide(3001), 1024);

  TEmfWriter w(800, 2000);
  w.SelectObject(w.CreateBrush(kBsSolid, kBlueRef));
  w.SelectObject(kStockNullPen);
  w.Rectangle(0, 1000, 800, 2000);
  const TMetafile picture = Load(w.Finish());
  ASSERT_EQ(picture.Width(), 800);
  ASSERT_EQ(picture.Height(), 2000);
  const auto bitmap = PlayMetafile(picture, MetafileTextureSide(picture.Width()), MetafileTextureSide(picture.Height()));
  EXPECT_EQ(bitmap.Width(), 256);
  EXPECT_EQ(bitmap.Height(), 512);
  EXPECT_EQ(At(bitmap, 128, 250), kMagenta);
  EXPECT_EQ(At(bitmap, 128, 262), kBlue);
  EXPECT_EQ(At(bitmap, 1, 510), kBlue);
  EXPECT_EQ(At(bitmap, 128, 511), kMagenta);
}

TEST(MetafilePlayer, WindowsMetafilesMapTheirWindowOntoTheBitmap) {
  // A 1000 x 1000 unit window: the rectangle covers its middle fifth both ways.
  TWmfWriter w(1000, 1000, 1440);
  w.SelectObject(w.CreateBrush(kBsSolid, kRedRef));
  w.SelectObject(w.CreatePen(kPsNull, 0, 0));
  w.Rectangle(400, 200, 600, 800);
  TMetafilePlayback report;
  const auto bitmap = Play(w.Finish(), "wmf", 102, 102, &report);
  EXPECT_EQ(Pic(bitmap, 50, 50), kRed);
  EXPECT_EQ(Pic(bitmap, 41, 21), kRed);
  EXPECT_NE(Pic(bitmap, 37, 50), kRed);
  EXPECT_NE(Pic(bitmap, 50, 17), kRed);
  EXPECT_EQ(report.Skipped, 0);
}

TEST(MetafilePlayer, WindowsTextIsDecodedByTheFontCharacterSet) {
  struct TCase {
    uint8_t Byte;
    uint8_t CharSet;
    char32_t Expected;
  };
  const TCase cases[] = {
      {0xC6, kRussianCharset, U'Ж'}, {0xC6, 1, U'Ж'}, {0xC6, kAnsiCharset, U'Æ'},
      {0x80, kAnsiCharset, U'€'},    {0x80, 1, U'Ђ'},  {0x41, kSymbolCharset, U'A'},
  };
  for (const auto& c : cases) {
    const uint8_t bytes[] = {c.Byte};
    EXPECT_EQ(DecodeCharsetText(bytes, c.CharSet), std::u32string(1, c.Expected)) << int{c.CharSet};
  }

  // The same 1251 bytes drawn by a Russian and by an ANSI font give different letters.
  const auto draw = [](uint8_t charset) {
    TWmfWriter w(100, 100, 96);
    TGdiFont font;
    font.Height = -40;
    font.FaceName = "Arial";
    font.CharSet = charset;
    w.SelectObject(w.CreateFont(font));
    w.SetBkMode(kBkTransparent);
    w.TextOut(10, 20, "\xC6");
    return Play(w.Finish(), "wmf-text-" + std::to_string(charset));
  };
  const auto russian = draw(kRussianCharset);
  const auto ansi = draw(kAnsiCharset);
  int differ = 0, ink = 0;
  for (int y = 0; y < 102; ++y)
    for (int x = 0; x < 102; ++x) {
      differ += At(russian, x, y) != At(ansi, x, y);
      ink += DarkInEveryChannel(At(russian, x, y));
    }
  EXPECT_GT(ink, 100);
  EXPECT_GT(differ, 50);
}

TEST(MetafilePlayer, UnknownAndDamagedRecordsAreSkippedAndCountedWhileTheRestDraws) {
  struct TCase {
    const char* Name;
    std::function<void(TEmfWriter&)> Damage;
    int Skipped;
  };
  const std::vector<TCase> cases = {
      {"unknown record type", [](TEmfWriter& w) { w.Record(9999, {1, 2, 3}); }, 1},
      {"polygon count past the record", [](TEmfWriter& w) { w.Record(3, {0, 0, 0, 0, 1000000, 5, 5}); }, 1},
      {"selecting an object never created", [](TEmfWriter& w) { w.SelectObject(77); }, 1},
      {"zero window extent", [](TEmfWriter& w) { w.SetWindowExt(0, 0); }, 1},
      {"restoring more levels than saved", [](TEmfWriter& w) { w.RestoreDC(-3); }, 1},
      {"singular world transform", [](TEmfWriter& w) { w.SetWorldTransform(0, 0, 0, 0, 0, 0); }, 1},
      {"font record cut short", [](TEmfWriter& w) { w.Record(82, {5, -20}); }, 1},
      {"text offsets past the record", [](TEmfWriter& w) {
         w.Record(84, {0, 0, 0, 0, 1, 0, 0, 10, 10, 50, 4000, 0, 0, 0, 0, 0, 0});
       }, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMetafilePlayback report;
    const auto bitmap = Play(RedPicture([&](TEmfWriter& w) {
                               c.Damage(w);
                               w.Rectangle(10, 10, 90, 90);
                             }),
                             "damaged", 102, 102, &report);
    EXPECT_EQ(report.Skipped, c.Skipped);
    EXPECT_EQ(report.Played, 5) << "brush, its selection, pen, rectangle, end";
    EXPECT_EQ(Pic(bitmap, 50, 50), kRed);
  }
}

TEST(MetafilePlayer, WrittenMetafilesReadBackWithTheirSizesAndRecords) {
  TEmfWriter emf(700, 350);
  emf.Ellipse(0, 0, 700, 350);
  const TMetafile enhanced = Load(emf.Finish());
  EXPECT_EQ(enhanced.Format(), TMetafileFormat::Enhanced);
  EXPECT_EQ(enhanced.Width(), 700);
  EXPECT_EQ(enhanced.Height(), 350);
  std::vector<uint32_t> types;
  for (const auto& r : enhanced.Records()) types.push_back(r.Type);
  EXPECT_EQ(types, (std::vector<uint32_t>{42, 14}));

  TWmfWriter wmf(1440, 720, 1440);
  wmf.Ellipse(0, 0, 1440, 720);
  const TMetafile windows = Load(wmf.Finish());
  EXPECT_EQ(windows.Format(), TMetafileFormat::Placeable);
  EXPECT_EQ(windows.Width(), 96);
  EXPECT_EQ(windows.Height(), 48);
  types.clear();
  for (const auto& r : windows.Records()) types.push_back(r.Type);
  EXPECT_EQ(types, (std::vector<uint32_t>{0x0103, 0x020B, 0x020C, 0x0418, 0x0000}));
}

TEST(MetafilePlayer, SizesOutsideTheRangeRaiseAndEmptyPicturesAreMagenta) {
  EXPECT_THROW(PlayMetafile(TMetafile(), 2, 100), std::runtime_error);
  EXPECT_THROW(PlayMetafile(TMetafile(), 100, kMaxPlaybackSide + 1), std::runtime_error);
  const auto empty = PlayMetafile(TMetafile(), 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(At(empty, x, y), kMagenta);
}

}  // namespace vellmar
