// Design blocks, lines and figures on the headless GL device, and the collections the
// line and figure libraries lend their kinds.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "platform/MemoryStream.h"
#include "platform/WarningSink.h"
#include "document/StreetStructure.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/DsnLineDefList.h"
#include "items/ItemKinds.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/design/DesignLineItem.h"
#include "items/design/KernItem.h"
#include "items/road/RoadDrawSupport.h"
#include "platform/MemoryStream.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"
#include "support/DarkPixel.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using test::ColorNear;

constexpr int32_t kFigureKind = 7;
constexpr int32_t kLineKind = 19;
constexpr int32_t kBlockKind = 20;
constexpr int32_t kKernKind = 33;
constexpr int32_t kAxisKind = 35;
constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);
constexpr uint32_t kRed = MakeColor(255, 0, 0, 255);
constexpr uint32_t kBlue = MakeColor(0, 0, 255, 255);
constexpr uint32_t kGreen = MakeColor(0, 160, 0, 255);

using test::Dark;

// A picture of one colour, width x height pixels.
TBitmap Solid(int32_t width, int32_t height, uint32_t rgb) {
  TBitmap bitmap(width, height, TPixelFormat::pf24bit);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) bitmap.SetPixel(x, y, rgb);
  }
  return bitmap;
}

// The kinds must be registered before the street is made, so that it owns its libraries.
struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

class DesignDrawTest : public ::testing::Test {
 protected:
  template <typename TItem>
  TItem& Add(int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return dynamic_cast<TItem&>(item);
  }
  TDsnBlockDefList& Blocks() {
    return dynamic_cast<TDsnBlockDefList&>(*street_.Library(TStreetLibrary::TSlot::Blocks));
  }
  TDsnLineDefList& Lines() {
    return dynamic_cast<TDsnLineDefList&>(*street_.Library(TStreetLibrary::TSlot::Lines));
  }
  TDsnFigDefList& Figures() {
    return dynamic_cast<TDsnFigDefList&>(*street_.Library(TStreetLibrary::TSlot::Figures));
  }

  TRegistered registered_;
  test::RoadDataRoot data_;
  TStreetStructure street_;
};

// A 2 x 4 block whose picture is red above and blue below: each half lands where the
// anchor, the size and the axis's turn put it.
TEST_F(DesignDrawTest, ABlockPictureSitsOnItsAnchorAtItsSizeTurnedByTheAxis) {
  struct TCase {
    const char* What;
    int32_t AnchorX, AnchorY;  // pixels of the 20 x 40 picture
    double Angle;              // of the axis
    double RedX, RedY;         // where the red half's middle lands, from the point
  };
  const TCase cases[] = {
      {"bottom middle", 10, 40, 0, 0, 3},
      {"top left", 0, 0, 0, 1, -1},
      {"centre", 10, 20, 0, 0, 1},
      {"bottom middle, axis at 90 degrees", 10, 40, std::numbers::pi / 2, -3, 0},
      {"top left, axis at 30 degrees", 0, 0, std::numbers::pi / 6, 1.366, -0.366},
  };
  for (const TCase& c : cases) {
    street_.Clear();  // keeps the block library
    Blocks().Clear();
    TDsnBlockDef& def = Blocks().Add();
    def.SetName("Post");
    TBitmap picture = Solid(20, 40, 0x0000FF);
    for (int32_t y = 0; y < 20; ++y) {
      for (int32_t x = 0; x < 20; ++x) picture.SetPixel(x, y, 0xFF0000);
    }
    def.SetBitmap(std::move(picture));
    def.SetWidth(2);
    def.SetHeight(4);
    def.SetAnchor(c.AnchorX, c.AnchorY);
    const TXYZ at{10, 10, 0};
    TAbstractItem& axis = Add<TAbstractItem>(kAxisKind, {{0, 0, 0}, {float(std::cos(c.Angle)), float(std::sin(c.Angle)), 0}});
    auto& block = Add<TDesignBlockItem>(kBlockKind, {at});
    block.SetBlockName("Post");
    block.AxisRef().SetItem(0, &axis);
    const auto image = test::DrawPlan(street_, at, 20.0, TKindSet{kBlockKind, kAxisKind}, 240, 240);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    // The red half's middle, the blue half's middle (2 units further down the picture)
    // and a point as far beyond the red half's top.
    const double s = std::sin(c.Angle), co = std::cos(c.Angle);
    const auto from = [&](double dx, double dy) { return TXYZ{float(at.x + dx), float(at.y + dy), 0}; };
    const TXYZ red = from(c.RedX, c.RedY);
    const TXYZ blue = from(c.RedX + 2 * s, c.RedY - 2 * co);
    const TXYZ beyond = from(c.RedX - 2 * s, c.RedY + 2 * co);
    EXPECT_TRUE(ColorNear(image->At(red), kRed, 8)) << c.What;
    EXPECT_TRUE(ColorNear(image->At(blue), kBlue, 8)) << c.What;
    EXPECT_TRUE(ColorNear(image->At(beyond), kWhite)) << c.What;
  }
}

// A block was drawn only while one of its points was in view: a large picture hanging
// from its top-left anchor vanished when zoomed in on its middle. Each copy is culled by
// its own picture's circle.
TEST_F(DesignDrawTest, ABlockCopyIsCulledByItsOwnPicture) {
  TDsnBlockDef& def = Blocks().Add();
  def.SetName("Field");
  def.SetBitmap(Solid(20, 20, 0xFF0000));
  def.SetWidth(20);
  def.SetHeight(20);
  def.SetAnchor(0, 0);
  // Copies anchored at (0, 0) and (100, 0): pictures down and to the right of them.
  auto& block = Add<TDesignBlockItem>(kBlockKind, {{0, 0, 0}, {100, 0, 0}});
  block.SetBlockName("Field");
  struct TCase {
    const char* What;
    TXYZ Centre;
    bool Red;
  };
  const TCase cases[] = {
      {"the first copy's middle, 14 m from its anchor", {10, -10, 0}, true},
      {"the second copy's far corner", {119, -19, 0}, true},
      {"between the copies", {60, -10, 0}, false},
  };
  for (const TCase& c : cases) {
    const auto image = test::DrawPlan(street_, c.Centre, 40.0, TKindSet{kBlockKind}, 120, 120);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_EQ(bool(ColorNear(image->At(c.Centre), kRed, 8)), c.Red) << c.What;
  }
}

// A block picture 16,385 pixels wide, one more than the device's largest texture, stopped
// the whole frame: it is drawn scaled down, with one warning naming it, and the rest of
// the plan with it.
TEST_F(DesignDrawTest, ABlockPictureWiderThanTheDeviceTakesIsDrawnScaledDown) {
  TDsnBlockDef& wide = Blocks().Add();
  wide.SetName("Wide");
  TBitmap picture = Solid(16385, 2, 0xFF0000);
  for (int32_t x = 8193; x < 16385; ++x) {
    for (int32_t y = 0; y < 2; ++y) picture.SetPixel(x, y, 0x0000FF);
  }
  wide.SetBitmap(std::move(picture));
  wide.SetWidth(4);
  wide.SetHeight(1);
  wide.SetAnchor(0, 0);
  TDsnBlockDef& small = Blocks().Add();
  small.SetName("Small");
  small.SetBitmap(Solid(4, 4, 0x00A000));
  small.SetWidth(1);
  small.SetHeight(1);
  small.SetAnchor(0, 0);
  Add<TDesignBlockItem>(kBlockKind, {{0, 0, 0}}).SetBlockName("Wide");
  Add<TDesignBlockItem>(kBlockKind, {{0, -2, 0}}).SetBlockName("Small");
  std::vector<std::string> warnings;
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  std::optional<test::TPlanPicture> image;
  for (int frame = 0; frame < 2; ++frame) image = test::DrawPlan(street_, {2, -1, 0}, 40.0, TKindSet{kBlockKind}, 240, 240);
  SetWarningSink({});
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(image->At(1, -0.5), kRed, 8));
  EXPECT_TRUE(ColorNear(image->At(3, -0.5), kBlue, 8));
  EXPECT_TRUE(ColorNear(image->At(0.5, -2.5), kGreen, 8));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("\"Wide\""), std::string::npos) << warnings[0];
}

TEST_F(DesignDrawTest, EveryPointOfABlockGetsACopyAndAnUnknownNameTheStandIn) {
  TDsnBlockDef& def = Blocks().Add();
  def.SetName("Bin");
  def.SetBitmap(Solid(8, 8, 0x00A000));
  def.SetWidth(1);
  def.SetHeight(1);
  def.SetAnchor(4, 4);
  auto& bins = Add<TDesignBlockItem>(kBlockKind, {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}});
  bins.SetBlockName("Bin");
  auto& unknown = Add<TDesignBlockItem>(kBlockKind, {{4, 4, 0}});
  unknown.SetBlockName("No such block");
  const auto image = test::DrawPlan(street_, {4, 2, 0}, 20.0, TKindSet{kBlockKind}, 300, 200);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  for (const float x : {0.0f, 4.0f, 8.0f}) EXPECT_TRUE(ColorNear(image->At(x, 0), kGreen, 8)) << x;
  EXPECT_TRUE(ColorNear(image->At(2, 0), kWhite));
  // The stand-in (1.5 x 3, anchored at its top-left corner) marks its anchor corner.
  EXPECT_FALSE(ColorNear(image->At(4.1, 3.9), kWhite));
  EXPECT_TRUE(ColorNear(image->At(3.9, 4.1), kWhite));
}

// The axis bends a right angle at x = 10; the block's three copies, two beyond the bend,
// all lie along the first segment's direction, as the first point's station gives it.
TEST_F(DesignDrawTest, EveryCopyOfABlockIsTurnedByTheAxisAngleAtItsFirstPoint) {
  TDsnBlockDef& def = Blocks().Add();
  def.SetName("Bar");
  def.SetBitmap(Solid(16, 4, 0x00A000));
  def.SetWidth(2);
  def.SetHeight(0.5f);
  def.SetAnchor(8, 2);
  TAbstractItem& axis = Add<TAbstractItem>(kAxisKind, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  auto& bars = Add<TDesignBlockItem>(kBlockKind, {{5, 1, 0}, {11, 4, 0}, {11, 8, 0}});
  bars.SetBlockName("Bar");
  bars.AxisRef().SetItem(0, &axis);
  const auto image = test::DrawPlan(street_, {8, 4, 0}, 20.0, TKindSet{kBlockKind}, 300, 300);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  for (const TXYZ& p : {TXYZ{5, 1, 0}, TXYZ{11, 4, 0}, TXYZ{11, 8, 0}}) {
    EXPECT_TRUE(ColorNear(image->At(p.x + 0.8, p.y), kGreen, 8)) << p.x << "," << p.y << ": along x";
    EXPECT_TRUE(ColorNear(image->At(p.x, p.y + 0.8), kWhite)) << p.x << "," << p.y << ": not along y";
  }
}

TEST_F(DesignDrawTest, ABlockSmallerThanAPixelIsNotDrawn) {
  TDsnBlockDef& def = Blocks().Add();
  def.SetName("Dot");
  def.SetBitmap(Solid(8, 8, 0x000000));
  def.SetWidth(0.01f);
  def.SetHeight(0.01f);
  def.SetAnchor(4, 4);
  Add<TDesignBlockItem>(kBlockKind, {{0, 0, 0}}).SetBlockName("Dot");
  // 0.02 units of picture against a pixel of 0.05 units.
  const auto image = test::DrawPlan(street_, {0, 0, 0}, 20.0, TKindSet{kBlockKind}, 40, 40);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  for (uint32_t y = 0; y < 40; ++y) {
    for (uint32_t x = 0; x < 40; ++x) ASSERT_TRUE(ColorNear(image->Frame.At(x, y), kWhite));
  }
}

// A core-sample mark's label sits inside its block, starting a fifth of its width to the
// left of the spot a quarter of the block's width right of the point and a third of its
// height above it, vertically centred there.
TEST_F(DesignDrawTest, AKernLabelSitsInsideItsBlock) {
  TDsnBlockDef& def = Blocks().Add();
  def.SetName(std::string("Керн"_cp1251));
  def.SetBitmap(Solid(8, 8, 0xFFFFFF));  // transparent: only the label shows
  def.SetWidth(8);
  def.SetHeight(6);
  auto& kern = Add<TKernItem>(kKernKind, {{0, 0, 0}});
  kern.SetLabel("888");
  const auto image = test::DrawPlan(street_, {2, 2, 0}, 20.0, TKindSet{kKernKind}, 300, 240);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const TFontTexture& atlas = FontsData().BlackAtlas();
  const double width = 0.08 * AtlasTextWidth(atlas, "888"), height = 0.1 * AtlasTextHeight(atlas);
  const double left = 2 - 0.2 * width, right = 2 + 0.8 * width, bottom = 2 - 0.5 * height, top = 2 + 0.5 * height;
  int32_t inside = 0, outside = 0;
  for (uint32_t y = 0; y < image->Frame.Height; ++y) {
    for (uint32_t x = 0; x < image->Frame.Width; ++x) {
      if (!Dark(image->Frame.At(x, y))) continue;
      const double wx = 2 + (x + 0.5 - 150) / 20.0, wy = 2 - (y + 0.5 - 120) / 20.0;
      (wx > left && wx < right && wy > bottom && wy < top ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
}

// The runs of dark pixels along a row between two columns.
std::vector<std::pair<int32_t, int32_t>> DarkRuns(const test::TPlanPicture& image, int32_t row, int32_t first,
                                                  int32_t last) {
  std::vector<std::pair<int32_t, int32_t>> runs;  // start, length
  for (int32_t x = first; x <= last; ++x) {
    if (!Dark(image.Frame.At(uint32_t(x), uint32_t(row)))) continue;
    if (!runs.empty() && runs.back().first + runs.back().second == x) {
      ++runs.back().second;
    } else {
      runs.emplace_back(x, 1);
    }
  }
  return runs;
}

// Dashes start one period apart; a dash covers three quarters of the period, a dash-dot
// period a half-period dash and a tenth-period dot.
TEST_F(DesignDrawTest, DashedDesignLinesRepeatTheirPatternEveryPeriod) {
  struct TCase {
    int32_t Style;
    float Period;
    std::vector<double> Runs;  // lengths of the dark runs in one period, as fractions
  };
  const TCase cases[] = {
      {TDesignLineItem::kDashed, 2, {0.75}},
      {TDesignLineItem::kDashed, 4, {0.75}},
      {TDesignLineItem::kDashDot, 4, {0.5, 0.1}},
  };
  constexpr double pixels = 20;
  for (const TCase& c : cases) {
    street_.Clear();
    auto& line = Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {16, 0, 0}});
    line.SetWidth(0.4f);
    line.SetStyle(c.Style);
    line.SetPeriod(c.Period);
    const auto image = test::DrawPlan(street_, {8, 0, 0}, pixels, TKindSet{kLineKind}, 360, 40);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    const auto runs = DarkRuns(*image, image->Row(0.1), image->Column(0), image->Column(16) - 1);
    const size_t perPeriod = c.Runs.size();
    ASSERT_EQ(runs.size(), perPeriod * size_t(16 / c.Period)) << "style " << c.Style << " period " << c.Period;
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_NEAR(runs[i].second, c.Runs[i % perPeriod] * c.Period * pixels, 1.5) << "run " << i;
      if (i >= perPeriod) {
        EXPECT_NEAR(runs[i].first - runs[i - perPeriod].first, c.Period * pixels, 1) << "run " << i;
      }
    }
  }
}

// Regression: a style beyond dash-dot picked the kind's collection Style + 1 whatever
// it held - the line collection for -1 (a crash), a line definition's picture once the
// library lent its collections. Such a style draws solid.
TEST_F(DesignDrawTest, AStyleOutsideTheThreeDrawsSolid) {
  TDsnLineDef& def = Lines().Add();
  def.SetName("Hedge");
  def.SetBitmap(TLinePart::Repeat, Solid(16, 4, 0x00A000));
  for (const int32_t style : {-1, 3, 4, 5, 100}) {
    for (int32_t i = street_.ItemList(kLineKind).Count(); i > 0; --i)
      street_.ItemList(kLineKind).Delete(street_.ItemList(kLineKind).Items(i - 1));
    auto& line = Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {10, 0, 0}});
    line.SetWidth(0.4f);
    line.SetColor(kBlue);
    line.SetStyle(style);
    const auto image = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{kLineKind}, 240, 40);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_EQ(line.Style(), style) << "the stored style stays";
    for (const double x : {1.0, 4.6, 8.2}) EXPECT_TRUE(ColorNear(image->At(x, 0.12), kBlue)) << style << " at " << x;
  }
}

// A definition with a 32-pixel start cap, a 64-pixel repeat and a 32-pixel end cap at a
// period of 2 has caps 1 unit long: red over the first unit, blue over the last.
TEST_F(DesignDrawTest, ALineDefinitionDrawsItsCapsOnceAndRepeatsItsMiddle) {
  struct TCase {
    const char* What;
    bool Start, Repeat, Finish;
    std::vector<std::pair<double, uint32_t>> Colours;  // along the 10-unit line
  };
  const uint32_t darkRed = MakeColor(192, 0, 0, 255);
  const TCase cases[] = {
      {"all three", true, true, true, {{0.5, kRed}, {1.5, kGreen}, {8.5, kGreen}, {9.5, kBlue}}},
      {"repeat only", false, true, false, {{0.5, kGreen}, {9.5, kGreen}}},
      {"start and repeat", true, true, false, {{0.5, kRed}, {9.5, kGreen}}},
      {"no repeat picture", true, false, true, {{0.5, darkRed}, {5, darkRed}, {9.5, darkRed}}},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TDsnLineDef& def = Lines().Add();
    def.SetName("Kerb stones");
    def.SetPeriod(2);
    def.SetWidth(0.5f);
    if (c.Start) def.SetBitmap(TLinePart::Start, Solid(32, 8, 0xFF0000));
    if (c.Repeat) def.SetBitmap(TLinePart::Repeat, Solid(64, 8, 0x00A000));
    if (c.Finish) def.SetBitmap(TLinePart::Finish, Solid(32, 8, 0x0000FF));
    auto& line = Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {4, 0, 0}, {10, 0, 0}});
    line.SetLineDefName("Kerb stones");
    const auto image = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{kLineKind}, 240, 40);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    for (const auto& [x, colour] : c.Colours) EXPECT_TRUE(ColorNear(image->At(x, 0.1), colour, 8)) << c.What << " at " << x;
    EXPECT_TRUE(ColorNear(image->At(5, 0.4), kWhite)) << c.What << ": the band is 0.5 wide";
  }
}

TEST_F(DesignDrawTest, AThinLineIsDrawnWhereNoBandIs) {
  auto& line = Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {10, 0, 0}});
  line.SetColor(kBlue);
  line.SetDisp(1);  // to the right: below a line running east
  const auto image = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{kLineKind}, 240, 80);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const int32_t column = image->Column(5);
  int32_t dark = -1;
  for (uint32_t y = 0; y < 80; ++y) {
    if (Dark(image->Frame.At(uint32_t(column), y))) dark = int32_t(y);
  }
  EXPECT_NEAR(dark, image->Row(-1), 1);
}

// A hatch of one dark column in every eight pixels, repeating every unit: dark pixels
// inside the outline at the hatch's spacing, none outside it.
TEST_F(DesignDrawTest, AFigurePatternFillsTheOutlineOnly) {
  TDsnFigDef& hatch = Figures().Add();
  hatch.SetName("Hatch");
  TBitmap picture = Solid(8, 8, 0xFFFFFF);
  for (int32_t y = 0; y < 8; ++y) picture.SetPixel(0, y, 0x000000);
  hatch.SetBitmap(std::move(picture));
  hatch.SetPeriodX(1);
  hatch.SetPeriodY(1);
  struct TCase {
    const char* What;
    TXYZArray Outline;
    double Row;               // a y through the figure
    double From, To;          // x inside along that row
    double OutFrom, OutTo;    // x outside along it
  };
  const TCase cases[] = {
      {"square", {{0, 0, 0}, {6, 0, 0}, {6, 4, 0}, {0, 4, 0}}, 2, 0.2, 5.8, 6.2, 8},
      {"triangle", {{0, 0, 0}, {8, 0, 0}, {0, 4, 0}}, 2, 0.2, 3.8, 4.2, 8},
  };
  for (const TCase& c : cases) {
    for (int32_t i = street_.ItemList(kFigureKind).Count(); i > 0; --i)
      street_.ItemList(kFigureKind).Delete(street_.ItemList(kFigureKind).Items(i - 1));
    auto& figure = Add<TDesignFigureItem>(kFigureKind, c.Outline);
    figure.SetPatternName("Hatch");
    const auto image = test::DrawPlan(street_, {4, 2, 0}, 40.0, TKindSet{kFigureKind}, 400, 240);
    if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
    const int32_t row = image->Row(c.Row);
    const auto inside = DarkRuns(*image, row, image->Column(c.From), image->Column(c.To));
    ASSERT_GE(inside.size(), 3u) << c.What;
    for (size_t i = 1; i < inside.size(); ++i) EXPECT_NEAR(inside[i].first - inside[i - 1].first, 40, 1) << c.What;
    EXPECT_TRUE(DarkRuns(*image, row, image->Column(c.OutFrom), image->Column(c.OutTo)).empty()) << c.What;
    EXPECT_TRUE(ColorNear(image->At(0.5, 2), kWhite)) << c.What << ": between the hatch lines";
  }
}

// The figure's reference axis runs north: the picture's vertical hatch lines lie
// across it, so a column through the figure crosses one a unit, a row none.
TEST_F(DesignDrawTest, AFigurePatternTurnsWithTheReferenceAxis) {
  TDsnFigDef& hatch = Figures().Add();
  hatch.SetName("Hatch");
  TBitmap picture = Solid(8, 8, 0xFFFFFF);
  for (int32_t y = 0; y < 8; ++y) picture.SetPixel(0, y, 0x000000);
  hatch.SetBitmap(std::move(picture));
  TAbstractItem& axis = Add<TAbstractItem>(kAxisKind, {{-1, 0, 0}, {-1, 10, 0}});
  auto& figure = Add<TDesignFigureItem>(kFigureKind, {{0, 0, 0}, {6, 0, 0}, {6, 6, 0}, {0, 6, 0}});
  figure.SetPatternName("Hatch");
  figure.References().SetItem(0, &axis);
  const auto image = test::DrawPlan(street_, {3, 3, 0}, 40.0, TKindSet{kFigureKind}, 280, 280);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  int32_t acrossColumn = 0;
  for (double y = 0.5; y < 5.5; y += 0.025) acrossColumn += Dark(image->At(3.1, y)) ? 1 : 0;
  const auto alongRow = DarkRuns(*image, image->Row(3.1), image->Column(0.2), image->Column(5.8));
  // Five thin lines across the column, not one along it.
  EXPECT_GE(acrossColumn, 5);
  EXPECT_LT(acrossColumn, 60);
  EXPECT_TRUE(alongRow.empty() || alongRow.front().second > 150) << "a row lies along one line or between two";
}

TEST_F(DesignDrawTest, AFigureWithAnUnknownPatternIsFilledPlainly) {
  Figures().Add().SetName("Hatch");
  auto& figure = Add<TDesignFigureItem>(kFigureKind, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}});
  figure.SetFillColor(kGreen);
  figure.SetPatternName("hatch");  // names are matched exactly
  const auto image = test::DrawPlan(street_, {2, 2, 0}, 20.0, TKindSet{kFigureKind}, 120, 120);
  if (!image) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(image->At(2, 2), kGreen));
}

// The collections a kind's array holds: the kind's own first, then each definition's.
std::vector<TDxPrimCollection*> Array(TStreetStructure& street, int32_t kind) {
  std::vector<TDxPrimCollection*> array;
  for (const TKindCollection& entry : street.KindCollections(kind)) array.push_back(entry.get());
  return array;
}

TEST_F(DesignDrawTest, TheLibrariesLendTheirCollectionsAfterALoadAndAfterClearing) {
  for (const char* name : {"A", "B"}) {
    Lines().Add().SetName(name);
    Figures().Add().SetName(name);
  }
  Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {1, 0, 0}});
  Add<TDesignFigureItem>(kFigureKind, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  TMemoryStream file;
  street_.SaveToStream(file);

  struct TCase {
    const char* What;
    std::function<void(TStreetStructure&)> Change;
    size_t Definitions;
  };
  const TCase cases[] = {
      {"loaded", [&](TStreetStructure& s) { file.Seek(0, TSeekOrigin::Begin); s.LoadFromStream(file); }, 2},
      {"line library cleared", [](TStreetStructure& s) { s.Library(TStreetLibrary::TSlot::Lines)->Clear(); }, 0},
      {"loaded again", [&](TStreetStructure& s) { file.Seek(0, TSeekOrigin::Begin); s.LoadFromStream(file); }, 2},
      {"street cleared", [](TStreetStructure& s) { s.Clear(); }, 0},
  };
  TStreetStructure street;
  for (const TCase& c : cases) {
    c.Change(street);
    auto& lines = dynamic_cast<TDsnLineDefList&>(*street.Library(TStreetLibrary::TSlot::Lines));
    const std::vector<TDxPrimCollection*> lineArray = Array(street, kLineKind);
    const size_t own = street.ItemList(kLineKind).Count() > 0 ? TDesignLineItem::kOwnCollections : 0;
    ASSERT_EQ(lineArray.size(), own + 3 * c.Definitions) << c.What;
    for (size_t i = 0; i < own; ++i) EXPECT_FALSE(street.KindCollections(kLineKind)[i].IsBorrowed()) << c.What;
    for (size_t d = 0; d < c.Definitions; ++d) {
      EXPECT_EQ(lineArray[own + 3 * d + 0], &lines.Item(int32_t(d)).Collection(TLinePart::Start)) << c.What;
      EXPECT_EQ(lineArray[own + 3 * d + 1], &lines.Item(int32_t(d)).Collection(TLinePart::Repeat)) << c.What;
      EXPECT_EQ(lineArray[own + 3 * d + 2], &lines.Item(int32_t(d)).Collection(TLinePart::Finish)) << c.What;
    }
    if (c.What == std::string("line library cleared")) continue;
    auto& figures = dynamic_cast<TDsnFigDefList&>(*street.Library(TStreetLibrary::TSlot::Figures));
    const std::vector<TDxPrimCollection*> figureArray = Array(street, kFigureKind);
    const size_t figureOwn = street.ItemList(kFigureKind).Count() > 0 ? 1 : 0;
    ASSERT_EQ(figureArray.size(), figureOwn + c.Definitions) << c.What;
    for (size_t d = 0; d < c.Definitions; ++d)
      EXPECT_EQ(figureArray[figureOwn + d], &figures.Item(int32_t(d)).Collection()) << c.What;
  }
}

// After the library changes, an item drawn with a definition is rebuilt: here its
// definition is gone and its own blue solid band shows instead of the green picture
// (to which the item's colour is added).
TEST_F(DesignDrawTest, ALineRedrawsWhenItsDefinitionGoes) {
  TDsnLineDef& def = Lines().Add();
  def.SetName("Hedge");
  def.SetBitmap(TLinePart::Repeat, Solid(16, 4, 0x00A000));
  auto& line = Add<TDesignLineItem>(kLineKind, {{0, 0, 0}, {10, 0, 0}});
  line.SetLineDefName("Hedge");
  line.SetWidth(0.4f);
  line.SetColor(kBlue);
  const auto before = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{kLineKind}, 240, 40);
  if (!before) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(before->At(5, 0.05), MakeColor(0, 160, 255, 255), 8));
  Lines().Clear();
  const auto after = test::DrawPlan(street_, {5, 0, 0}, 20.0, TKindSet{kLineKind}, 240, 40);
  EXPECT_TRUE(ColorNear(after->At(5, 0.12), kBlue));
}

}  // namespace
}  // namespace vellmar
