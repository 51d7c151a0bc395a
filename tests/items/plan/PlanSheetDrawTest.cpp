// The plan sheet's paper, inner frame and stamps: their geometry, and the pixels they
// leave on the headless GL device.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/design/DesignFigureItem.h"
#include "items/plan/PlanDefineItem.h"
#include "items/plan/SheetLayout.h"
#include "items/road/RoadDrawSupport.h"
#include "platform/gpu/DxVertex.h"
#include "render/MatrixShell.h"
#include "support/DarkPixel.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using TCorner = TPlanDefineItem::TCorner;
using test::ColorNear;

constexpr int32_t kPlanKind = 36;
constexpr int32_t kFigureKind = 7;
constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);
constexpr uint32_t kStampRed = MakeColor(220, 0, 0, 255);

using test::Dark;

// The kinds must be registered before the street is made, so that it owns its libraries.
struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

class PlanSheetDrawTest : public ::testing::Test {
 protected:

  TPlanDefineItem& AddSheet(const TXYZ& corner, double angle) {
    auto& sheet = dynamic_cast<TPlanDefineItem&>(*street_.ItemList(kPlanKind).NewItem());
    sheet.Points().InsertNew(0, corner);
    sheet.Points().InsertNew(
        1, TXYZ{corner.x + static_cast<float>(std::cos(angle)), corner.y + static_cast<float>(std::sin(angle)), 0});
    return sheet;
  }

  TRegistered registered_;
  test::RoadDataRoot data_;
  TStreetStructure street_;
};

void ExpectNear(const TXYZ& actual, double x, double y, const char* what) {
  EXPECT_NEAR(actual.x, x, 1e-3) << what;
  EXPECT_NEAR(actual.y, y, 1e-3) << what;
}

TEST_F(PlanSheetDrawTest, AnA4SheetAt1To500OutlinesItsPaperAndFrameInMetres) {
  const TSheetLayout straight = TSheetLayout::Of(AddSheet({0, 0, 0}, 0));
  ExpectNear(straight.Edge()[1], 0, 0, "edge, bottom left");
  ExpectNear(straight.Edge()[3], 105, 148.5, "edge, top right");
  ExpectNear(straight.Frame()[1], 10, 10, "frame, bottom left");
  ExpectNear(straight.Frame()[3], 100, 143.5, "frame, top right");
  // Turned a quarter counter-clockwise the sheet lies to the left of its corner.
  const TSheetLayout turned = TSheetLayout::Of(AddSheet({0, 0, 0}, std::numbers::pi / 2));
  ExpectNear(turned.Edge()[3], -148.5, 105, "turned far corner");
}

// Regression: a sheet scale of 0 made the paper infinitely large; its NaN outline and
// stamps went into the collections and the frame. Such a sheet is kept but not drawn.
TEST_F(PlanSheetDrawTest, ASheetWithoutAUsableScaleDrawsNothing) {
  for (const double scale : {0.0, -0.002, std::numeric_limits<double>::infinity(), std::nan("")}) {
    street_.Clear();
    TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
    sheet.SetSheetScale(scale);
    auto stamp = std::make_unique<TStreetStructure>();
    sheet.SetStamp(TCorner::TopLeft, std::move(stamp));
    const auto picture = test::DrawPlan(street_, {50, 70, 0}, 2.0, TKindSet{kPlanKind});
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_EQ(street_.KindCollections(kPlanKind).at(0)->Count(), 0u) << scale;
    EXPECT_TRUE(sheet.Stamp(TCorner::TopLeft)->Placement().IsIdentity()) << scale;
  }
}

// The paper's edge and the inner frame, along a row and a column through the sheet's
// middle: dark exactly at the edge and at mm x 0.001 / SheetScale inside it.
TEST_F(PlanSheetDrawTest, TheInnerFrameLiesAtTheMarginsFromTheEdge) {
  struct TCase {
    int32_t Width, Height;                // mm
    int32_t Left, Right, Top, Bottom;     // mm
    double Scale;
    bool Landscape;
    double Pixels;  // per metre
    int32_t Dpi = 300;
  };
  const TCase cases[] = {
      {210, 297, 20, 10, 10, 20, 0.002, false, 3.0},  // A4 portrait, 1:500
      {420, 297, 20, 5, 5, 5, 0.002, true, 2.0},      // A3 landscape, 1:500
      {297, 420, 25, 10, 15, 30, 0.001, false, 1.0},  // A3 portrait, 1:1000
      {594, 420, 20, 10, 10, 10, 0.004, true, 3.0},   // A2 landscape, 1:250
      // The printer's resolution has no say in where the paper lies, not even 0 dpi.
      {210, 297, 20, 10, 10, 20, 0.002, false, 3.0, 0},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
    sheet.SetFormat(c.Width, c.Height);
    sheet.SetIndents(c.Left, c.Right, c.Top, c.Bottom);
    sheet.SetSheetScale(c.Scale);
    sheet.SetLandscape(c.Landscape);
    sheet.SetDpi(c.Dpi);
    const double k = 0.001 / c.Scale, w = c.Width * k, h = c.Height * k;
    const auto size = [&](double metres) { return static_cast<uint32_t>(metres * c.Pixels) + 20; };
    const auto picture = test::DrawPlan(street_, {float(w / 2), float(h / 2), 0}, c.Pixels, TKindSet{kPlanKind},
                                        size(w), size(h));
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    std::vector<int32_t> columns, rows;
    const int32_t middleRow = picture->Row(h / 2), middleColumn = picture->Column(w / 2);
    for (uint32_t x = 0; x < picture->Frame.Width; ++x) {
      if (Dark(picture->Frame.At(x, static_cast<uint32_t>(middleRow)))) columns.push_back(int32_t(x));
    }
    for (uint32_t y = 0; y < picture->Frame.Height; ++y) {
      if (Dark(picture->Frame.At(static_cast<uint32_t>(middleColumn), y))) rows.push_back(int32_t(y));
    }
    const std::vector<double> wantColumns = {0, c.Left * k, w - c.Right * k, w};
    const std::vector<double> wantRows = {h, h - c.Top * k, c.Bottom * k, 0};
    ASSERT_EQ(columns.size(), 4u) << c.Width << "x" << c.Height;
    ASSERT_EQ(rows.size(), 4u) << c.Width << "x" << c.Height;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(columns[i], picture->Column(wantColumns[i]), 1) << c.Width << "x" << c.Height << " line " << i;
      EXPECT_NEAR(rows[i], picture->Row(wantRows[i]), 1) << c.Width << "x" << c.Height << " line " << i;
    }
  }
}

// The stamp corners and turns of portrait and landscape sheets.
TEST_F(PlanSheetDrawTest, LandscapeMovesEveryStampOneCornerOnAndTurnsItHalfWay) {
  struct TCase {
    TCorner Corner;
    bool Landscape;
    float X, Y;  // mm, on the default A4 sheet
  };
  const TCase cases[] = {
      {TCorner::TopLeft, false, 20, 287},      {TCorner::TopRight, false, 200, 287},
      {TCorner::BottomLeft, false, 20, 20},    {TCorner::BottomRight, false, 200, 20},
      {TCorner::TopLeft, true, 20, 20},        {TCorner::TopRight, true, 20, 287},
      {TCorner::BottomLeft, true, 200, 20},    {TCorner::BottomRight, true, 200, 287},
  };
  for (const TCase& c : cases) {
    TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
    sheet.SetLandscape(c.Landscape);
    const TSheetLayout layout = TSheetLayout::Of(sheet);
    const TXYZ corner = layout.StampCorner(c.Corner);
    EXPECT_EQ(corner.x, c.X) << int(c.Corner) << (c.Landscape ? " landscape" : " portrait");
    EXPECT_EQ(corner.y, c.Y) << int(c.Corner) << (c.Landscape ? " landscape" : " portrait");
    // The stamp's x axis points up the sheet in portrait, to the left in landscape.
    TMatrixShell placement;
    layout.PlaceStamp(placement, c.Corner);
    const TXYZ origin = placement.TransformPoint({0, 0, 0});
    const TXYZ along = placement.TransformPoint({10, 0, 0});
    EXPECT_NEAR(along.x - origin.x, c.Landscape ? -5 : 0, 1e-4);
    EXPECT_NEAR(along.y - origin.y, c.Landscape ? 0 : 5, 1e-4);
  }
}

// A stamp holding one red rectangle 20 x 5 mm from its origin lands at its corner of
// the inner frame, turned with the stamp rule and with the sheet; the same rectangle
// mirrored through the corner stays white.
TEST_F(PlanSheetDrawTest, AStampIsDrawnAtItsCornerTurnedWithTheSheet) {
  struct TCase {
    TCorner Corner;
    bool Landscape;
    double Angle;
  };
  const TCase cases[] = {
      {TCorner::TopLeft, false, 0},
      {TCorner::BottomRight, false, 0},
      {TCorner::TopRight, true, 0},
      {TCorner::BottomLeft, false, std::numbers::pi / 2},
      {TCorner::TopLeft, true, std::numbers::pi / 6},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TPlanDefineItem& sheet = AddSheet({100, 50, 0}, c.Angle);
    sheet.SetLandscape(c.Landscape);
    auto stamp = std::make_unique<TStreetStructure>();
    auto& mark = dynamic_cast<TDesignFigureItem&>(*stamp->ItemList(kFigureKind).NewItem());
    for (const TXYZ& p : {TXYZ{0, 0, 0}, TXYZ{20, 0, 0}, TXYZ{20, 5, 0}, TXYZ{0, 5, 0}})
      mark.Points().InsertNew(mark.Points().Count(), p);
    mark.SetFillColor(kStampRed);
    sheet.SetStamp(c.Corner, std::move(stamp));

    const TSheetLayout layout = TSheetLayout::Of(sheet);
    const TXYZ corner = layout.StampCorner(c.Corner);
    // The rectangle's middle (10, 2.5) turned by the stamp rule, in sheet millimetres.
    const double turn = c.Landscape ? std::numbers::pi : std::numbers::pi / 2;
    const double dx = 10 * std::cos(turn) - 2.5 * std::sin(turn), dy = 10 * std::sin(turn) + 2.5 * std::cos(turn);
    const TXYZ inside = layout.ToWorld(corner.x + dx, corner.y + dy);
    const TXYZ mirrored = layout.ToWorld(corner.x - dx, corner.y - dy);
    const auto picture = test::DrawPlan(street_, inside, 8.0, TKindSet{kPlanKind}, 240, 240);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(ColorNear(picture->At(inside), kStampRed)) << int(c.Corner) << " angle " << c.Angle;
    EXPECT_TRUE(ColorNear(picture->At(mirrored), kWhite)) << int(c.Corner) << " angle " << c.Angle;
  }
}

TEST_F(PlanSheetDrawTest, ASheetOutOfViewDrawsNoStampButKeepsItsOutline) {
  TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
  sheet.SetStamp(TCorner::TopLeft, std::make_unique<TStreetStructure>());
  // The sheet reaches (210 + 297) / 1000 / 0.002 = 253.5 m from its corner.
  const auto far = test::DrawPlan(street_, {600, 0, 0}, 1.0, TKindSet{kPlanKind}, 100, 100);
  if (!far) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(sheet.Stamp(TCorner::TopLeft)->Placement().IsIdentity());
  EXPECT_EQ(street_.KindCollections(kPlanKind).at(0)->Count(), 8u);  // two closed outlines
  ASSERT_TRUE(test::DrawPlan(street_, {50, 50, 0}, 1.0, TKindSet{kPlanKind}, 100, 100));
  EXPECT_FALSE(sheet.Stamp(TCorner::TopLeft)->Placement().IsIdentity());
}

// Stamps hold streets that may hold sheets with stamps again. A chain nested deeper than
// a stream may load stamps is drawn down to that depth and no further, instead of
// following the chain to its end (or, for a chain that never ends, overflowing the stack).
TEST_F(PlanSheetDrawTest, StampsNestedTooDeeplyAreLeftOut) {
  constexpr int chain = TPlanDefineItem::kMaxStampDepth + 3;
  std::vector<TStreetStructure*> stamps;
  TStreetStructure* holder = &street_;
  for (int depth = 0; depth < chain; ++depth) {
    auto& sheet = dynamic_cast<TPlanDefineItem&>(*holder->ItemList(kPlanKind).NewItem());
    sheet.Points().InsertNew(0, {0, 0, 0});
    sheet.Points().InsertNew(1, {1, 0, 0});
    sheet.SetStamp(TCorner::TopLeft, std::make_unique<TStreetStructure>());
    holder = sheet.Stamp(TCorner::TopLeft);
    stamps.push_back(holder);
  }
  if (!test::DrawPlan(street_, {50, 50, 0}, 1.0, TKindSet{kPlanKind}, 100, 100))
    GTEST_SKIP() << "no headless OpenGL context on this machine";
  for (int depth = 0; depth < chain; ++depth) {
    EXPECT_EQ(stamps[size_t(depth)]->Placement().IsIdentity(), depth >= TPlanDefineItem::kMaxStampDepth)
        << "stamp at depth " << depth + 1;
  }
}

}  // namespace
}  // namespace vellmar
