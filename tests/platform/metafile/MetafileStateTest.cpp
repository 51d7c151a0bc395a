// The device-context state the players keep between records: objects and their
// slots, clipping with save and restore, text alignment, and the bounds that keep a
// damaged metafile from running away. Pictures are 100 x 100 pixels played into
// 102 x 102 bitmaps (picture pixel (x, y) is bitmap pixel (x + 1, y + 1)).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "PlayerSeeds.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafilePlayer.h"
#include "platform/metafile/MetafileWriter.h"
#include "support/DarkPixel.h"

namespace vellmar {

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kMagenta = 0xFF00FF;
constexpr TColorRef kRedRef = 0x0000FF, kGreenRef = 0x00FF00, kBlueRef = 0xFF0000;
constexpr int kRgnDiff = 4, kRgnCopy = 5;  // region modes
constexpr uint32_t kEmrIntersectClipRect = 30, kEmrExcludeClipRect = 29, kEmrExtSelectClipRgn = 75,
                   kEmrSetTextAlign = 22, kEmrMoveToEx = 27, kEmrSaveDc = 33;

TBitmap Play(const std::vector<uint8_t>& bytes, TMetafilePlayback* report = nullptr) {
  test::ExpectPlayerSeed(bytes);
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TMetafile picture;
  picture.LoadFromStream(stream);
  return PlayMetafile(picture, 102, 102, report);
}

uint32_t Pic(const TBitmap& b, int x, int y) { return b.GetPixel(x + 1, y + 1) & 0xFFFFFF; }
using test::DarkInEveryChannel;

// The box round the dark pixels: left, top, right, bottom (exclusive), picture pixels.
std::array<int, 4> InkBox(const TBitmap& b) {
  std::array<int, 4> box{100, 100, 0, 0};
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (DarkInEveryChannel(Pic(b, x, y)))
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
  return box;
}

}  // namespace

struct TClipCase {
  const char* Name;
  std::function<void(TEmfWriter&)> Clip;
  bool LeftRed, RightRed, MiddleRed;  // at (25, 50), (75, 50), (50, 50)
};

TEST(MetafileState, ClipRegionsCutFillsAndRestoringTheDcRestoresTheClip) {
  // EXTSELECTCLIPRGN with one rectangle in device units, or none.
  const auto region = [](TEmfWriter& w, int mode, std::vector<int32_t> rect) {
    if (rect.empty()) return w.Record(kEmrExtSelectClipRgn, {0, mode});
    w.Record(kEmrExtSelectClipRgn, {48, mode, 32, 1, 1, 16, rect[0], rect[1], rect[2], rect[3], rect[0], rect[1],
                                    rect[2], rect[3]});
  };
  const std::vector<TClipCase> cases = {
      {"no clip", [](TEmfWriter&) {}, true, true, true},
      {"intersect left half", [](TEmfWriter& w) { w.Record(kEmrIntersectClipRect, {0, 0, 50, 100}); }, true, false,
       false},
      {"exclude the middle", [](TEmfWriter& w) { w.Record(kEmrExcludeClipRect, {40, 40, 60, 60}); }, true, true, false},
      {"region copy: left half", [&](TEmfWriter& w) { region(w, kRgnCopy, {0, 0, 50, 100}); }, true, false, false},
      {"region difference: all but the left half", [&](TEmfWriter& w) { region(w, kRgnDiff, {0, 0, 50, 100}); },
       false, true, true},
      {"region copy of nothing resets the clip", [&](TEmfWriter& w) {
         w.Record(kEmrIntersectClipRect, {0, 0, 20, 20});
         region(w, kRgnCopy, {});
       }, true, true, true},
      {"restoring the DC restores the clip", [](TEmfWriter& w) {
         w.SaveDC();
         w.Record(kEmrIntersectClipRect, {0, 0, 20, 20});
         w.RestoreDC(-1);
       }, true, true, true},
      {"restoring to an absolute level", [](TEmfWriter& w) {
         w.SaveDC();
         w.Record(kEmrIntersectClipRect, {0, 0, 60, 100});
         w.SaveDC();
         w.Record(kEmrIntersectClipRect, {0, 0, 30, 100});
         w.RestoreDC(2);  // back to the state saved second: the left 60 pixels
       }, true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreateBrush(kBsSolid, kRedRef));
    w.SelectObject(kStockNullPen);
    c.Clip(w);
    w.Rectangle(0, 0, 100, 100);
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 0);
    EXPECT_EQ(Pic(bitmap, 25, 50) == kRed, c.LeftRed);
    EXPECT_EQ(Pic(bitmap, 75, 50) == kRed, c.RightRed);
    EXPECT_EQ(Pic(bitmap, 50, 50) == kRed, c.MiddleRed);
  }
}

TEST(MetafileState, ObjectsAreSelectedByTheirSlotsAndDeletedOnesAreGone) {
  // Enhanced: a deleted object can no longer be selected; what was selected stays.
  {
    TEmfWriter w(100, 100);
    const uint32_t red = w.CreateBrush(kBsSolid, kRedRef);
    const uint32_t blue = w.CreateBrush(kBsSolid, kBlueRef);
    w.SelectObject(kStockNullPen);
    w.SelectObject(blue);
    w.DeleteObject(blue);
    w.SelectObject(blue);
    w.Rectangle(0, 0, 50, 100);
    w.SelectObject(red);
    w.SelectObject(0x80000005);  // NULL_BRUSH
    w.Rectangle(50, 0, 100, 100);
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1) << "the deleted brush's selection";
    EXPECT_EQ(Pic(bitmap, 25, 50), kBlue);
    EXPECT_EQ(Pic(bitmap, 75, 50), kMagenta);
  }
  // Windows: a new object takes the lowest free slot.
  {
    TWmfWriter w(100, 100, 96);
    const uint16_t red = w.CreateBrush(kBsSolid, kRedRef);
    w.CreateBrush(kBsSolid, kGreenRef);
    w.DeleteObject(red);
    const uint16_t blue = w.CreateBrush(kBsSolid, kBlueRef);
    ASSERT_EQ(blue, red);
    w.SelectObject(w.CreatePen(kPsNull, 0, 0));
    w.SelectObject(red);
    w.Rectangle(0, 0, 100, 100);
    EXPECT_EQ(Pic(Play(w.Finish()), 50, 50), kBlue);
  }
  // An object slot past the table the header declares is refused.
  {
    TEmfWriter w(100, 100);
    w.Record(39, {500, kBsSolid, static_cast<int32_t>(kRedRef), 0});  // CREATEBRUSHINDIRECT
    w.Record(37, {500});                                                // SELECTOBJECT
    TMetafilePlayback report;
    Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 2);
  }
}

struct TAlignCase {
  const char* Name;
  uint32_t Align;
  int32_t Escapement;
  std::function<bool(const std::array<int, 4>& ink)> Holds;
};

TEST(MetafileState, TextIsAlignedOnItsReferencePointAndTurnedByItsEscapement) {
  const std::vector<TAlignCase> cases = {
      {"left top", 0, 0, [](const auto& b) { return b[0] >= 50 && b[1] >= 50; }},
      {"right", kTaRight, 0, [](const auto& b) { return b[2] <= 51 && b[0] < 40 && b[1] >= 50; }},
      {"centre", kTaCenter, 0, [](const auto& b) { return std::abs((b[0] + b[2]) / 2 - 50) <= 2; }},
      {"baseline", kTaBaseline, 0, [](const auto& b) { return b[3] <= 51 && b[3] >= 48 && b[1] < 40; }},
      {"bottom: above the descent", kTaBottom, 0, [](const auto& b) { return b[3] <= 47 && b[1] < 40; }},
      {"turned a quarter anticlockwise runs upwards", kTaBaseline, 900,
       [](const auto& b) { return b[3] <= 51 && b[2] <= 51 && b[3] - b[1] > 2 * (b[2] - b[0]); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w(100, 100);
    TGdiFont font;
    font.Height = -20;
    font.Escapement = c.Escapement;
    font.FaceName = "Arial";
    w.SelectObject(w.CreateFont(font));
    w.SetBkMode(kBkTransparent);
    w.Record(kEmrSetTextAlign, {static_cast<int32_t>(c.Align)});
    w.TextOut(50, 50, "HHH");
    const auto ink = InkBox(Play(w.Finish()));
    EXPECT_TRUE(c.Holds(ink)) << ink[0] << ", " << ink[1] << " - " << ink[2] << ", " << ink[3];
  }

  // With TA_UPDATECP the second run starts where the first ended, whatever its point.
  const auto run = [](int runs) {
    TEmfWriter w(100, 100);
    TGdiFont font;
    font.Height = -20;
    font.FaceName = "Arial";
    w.SelectObject(w.CreateFont(font));
    w.SetBkMode(kBkTransparent);
    w.Record(kEmrSetTextAlign, {static_cast<int32_t>(kTaUpdateCp)});
    w.Record(kEmrMoveToEx, {5, 40});
    for (int i = 0; i < runs; ++i) w.TextOut(80, 0, "HH");
    return InkBox(Play(w.Finish()));
  };
  const auto one = run(1), two = run(2);
  EXPECT_EQ(one[0], two[0]);
  EXPECT_GE(one[1], 40);
  EXPECT_NEAR(two[2] - two[0], 2 * (one[2] - one[0]) + 2, 3);

  // Text inside a path bracket becomes outlines of the path: nothing shows until the
  // path is filled, and then in the brush's colour.
  const auto outlined = [](bool fill) {
    TEmfWriter w(100, 100);
    TGdiFont font;
    font.Height = -60;
    font.FaceName = "Arial";
    w.SelectObject(w.CreateFont(font));
    w.SelectObject(w.CreateBrush(kBsSolid, kRedRef));
    w.SelectObject(kStockNullPen);
    w.Record(59, {});  // BEGINPATH
    w.TextOut(10, 10, "H");
    w.Record(60, {});  // ENDPATH
    if (fill) w.Record(62, {0, 0, 0, 0});  // FILLPATH
    return Play(w.Finish());
  };
  int red = 0, dark = 0;
  const auto filled = outlined(true), unfilled = outlined(false);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      red += Pic(filled, x, y) == kRed;
      dark += DarkInEveryChannel(Pic(filled, x, y)) + DarkInEveryChannel(Pic(unfilled, x, y)) +
              (Pic(unfilled, x, y) == kRed);
    }
  EXPECT_GT(red, 300);
  EXPECT_EQ(dark, 0);

  // The opaque background mode fills the text's cell.
  TEmfWriter w(100, 100);
  TGdiFont font;
  font.Height = -20;
  font.FaceName = "Arial";
  w.SelectObject(w.CreateFont(font));
  w.TextOut(10, 10, "i");
  const auto opaque = Play(w.Finish());
  EXPECT_EQ(Pic(opaque, 11, 12) & 0xFFFFFF, 0xFFFFFFu) << "white cell behind the letter";
}

TEST(MetafileState, DamagedMetafilesAreBoundedInDepthSizeAndDashes) {
  // Angle arcs whose angles are not numbers are skipped; a sweep of 10^30 degrees
  // draws the full turn (Cairo asserted on the one and looped on the other).
  {
    TEmfWriter w(100, 100);
    w.Record(41, {50, 50, 30, 0, 0x7FC00000});  // ANGLEARC, sweep NaN
    w.Record(41, {50, 50, 30, 0, 0x7149F2CA});  // sweep 1e30
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1);
    EXPECT_TRUE(DarkInEveryChannel(Pic(bitmap, 50, 80)));
  }
  // Text of 10^5 pixels is skipped: FreeType refuses the size, and Cairo leaked the
  // font it was scaling (the sanitizer build reports that at exit).
  {
    TEmfWriter w(100, 100);
    TGdiFont font;
    font.Height = -100000;
    font.FaceName = "Arial";
    w.SelectObject(w.CreateFont(font));
    w.TextOut(5, 5, "A");
    TMetafilePlayback report;
    Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1);
  }
  // Text of a thousandth of a pixel counts as played and shows nothing.
  {
    TEmfWriter w(100, 100);
    w.SetMapMode(kMmAnisotropic);
    w.SetWindowExt(100000, 100000);
    w.SetViewportExt(100, 100);
    TGdiFont font;
    font.Height = -1;
    font.FaceName = "Arial";
    w.SelectObject(w.CreateFont(font));
    w.TextOut(5, 5, "A");
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 0);
    EXPECT_EQ(Pic(bitmap, 5, 5), kMagenta);
  }
  // Curves across coordinates of 10^9 pixels are skipped: Cairo would cut each into
  // hundreds of thousands of segments.
  {
    TEmfWriter w(100, 100);
    std::vector<TPointD> curves{{0, 0}};
    for (int i = 0; i < 300; ++i) {
      const double far = (i % 2 ? 1 : -1) * 1e9;
      curves.insert(curves.end(), {{far, -far}, {-far, far}, {50, 50}});
    }
    w.PolyBezier(curves);
    TMetafilePlayback report;
    Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1);
  }
  // Saved states stop at a fixed depth.
  {
    TEmfWriter w(100, 100);
    for (int i = 0; i < 1100; ++i) w.Record(kEmrSaveDc, {});
    TMetafilePlayback report;
    Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1100 - 1024);
  }
  // An ellipse of absurd size is skipped; a dotted line across the whole 32-bit range
  // is drawn solid rather than dash by dash.
  {
    TEmfWriter w(100, 100);
    w.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    w.SelectObject(w.CreatePen(kPsDot, 0, 0));
    const TPointD line[] = {{-2e9, 50}, {2e9, 50}};
    w.Polyline(line);
    TMetafilePlayback report;
    const auto bitmap = Play(w.Finish(), &report);
    EXPECT_EQ(report.Skipped, 1);
    int dark = 0;
    for (int x = 0; x < 100; ++x) dark += DarkInEveryChannel(Pic(bitmap, x, 50));
    EXPECT_EQ(dark, 100);
  }
}

TEST(MetafileState, WindowsMetafilesKeepTheirStretchAndDrawTheirBitmapsUpright) {
  // A fixed map mode in a Windows metafile would unstretch the picture: it is ignored.
  TWmfWriter w(1000, 1000, 1440);
  w.Record(0x0103, {kMmText});  // META_SETMAPMODE
  // META_STRETCHDIB of a 1 x 2 bitmap, red over blue, into the whole window.
  TBitmap dib(1, 2, TPixelFormat::pf24bit);
  dib.SetPixel(0, 0, kRed);
  dib.SetPixel(0, 1, kBlue);
  std::vector<uint8_t> file;
  dib.SaveToBmp(file);
  std::vector<uint8_t> payload;
  const auto put16 = [&](int v) {
    payload.push_back(static_cast<uint8_t>(v));
    payload.push_back(static_cast<uint8_t>(v >> 8));
  };
  put16(0x0020);  // SRCCOPY, low word first
  put16(0x00CC);
  put16(0);                   // DIB_RGB_COLORS
  for (int v : {2, 1, 0, 0}) put16(v);  // source height, width, y, x
  for (int v : {1000, 1000, 0, 0}) put16(v);  // destination height, width, y, x
  payload.insert(payload.end(), file.begin() + 14, file.end());
  w.Record(0x0F43, payload);
  TMetafilePlayback report;
  const auto bitmap = Play(w.Finish(), &report);
  EXPECT_EQ(report.Skipped, 0);
  EXPECT_EQ(Pic(bitmap, 50, 20), kRed);
  EXPECT_EQ(Pic(bitmap, 50, 80), kBlue);
  EXPECT_EQ(Pic(bitmap, 95, 95), kBlue) << "stretched over the whole window";
}

}  // namespace vellmar
