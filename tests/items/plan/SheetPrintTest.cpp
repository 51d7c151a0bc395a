// Plan sheets printed to PDF and read back as a reader shows them (poppler at 254 dpi,
// ten pixels a millimetre): true scale, page sizes, seamless fills, stamps in their
// corners, and failures that leave no file behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/design/DesignFigureItem.h"
#include "items/plan/PlanDefineItem.h"
#include "items/plan/SheetLayout.h"
#include "items/plan/SheetPrint.h"
#include "items/road/GazonItem.h"
#include "items/road/RoadDrawSupport.h"
#include "items/road/TrotuarItem.h"
#include "platform/Error.h"
#include "platform/gpu/DxVertex.h"
#include "support/PdfRaster.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

using TCorner = TPlanDefineItem::TCorner;

constexpr int kDpi = 254;         // 10 pixels a millimetre
constexpr double kPxPerMm = 10.0;
constexpr int32_t kFigureKind = 7;
constexpr uint32_t kLawn = 0xFFD2FFD2u;  // the lawn's fill as poppler paints it
constexpr uint32_t kRed = MakeColor(220, 0, 0, 255);

bool Red(uint32_t argb) {
  return (argb >> 16 & 0xFF) > 150 && (argb >> 8 & 0xFF) < 90 && (argb & 0xFF) < 90;
}

struct TRegistered {
  TRegistered() { RegisterAllItemKinds(); }
};

class SheetPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string missing = test::PdfToolsMissing(); !missing.empty()) VELLMAR_SKIP_OR_FAIL(missing);
  }

  TPlanDefineItem& AddSheet(const TXYZ& corner, double angle) {
    auto& sheet = dynamic_cast<TPlanDefineItem&>(*street_.ItemList(TPlanDefineItem::kKind).NewItem());
    sheet.Points().InsertNew(0, corner);
    sheet.Points().InsertNew(
        1, TXYZ{corner.x + static_cast<float>(std::cos(angle)), corner.y + static_cast<float>(std::sin(angle)), 0});
    sheet.SetSheetKinds(TKindSet{TGazonItem::kKindIndex});
    return sheet;
  }

  // A lawn through the given points of the sheet, in paper millimetres from its bottom-left corner.
  void AddLawn(const TSheetLayout& layout, const std::vector<std::array<double, 2>>& mm) {
    TAbstractItem& lawn = *street_.ItemList(TGazonItem::kKindIndex).NewItem();
    for (const auto& p : mm) lawn.Points().InsertNew(lawn.Points().Count(), layout.ToWorld(p[0], p[1]));
  }

  std::optional<TOffscreenFrame> Print(int number = 1) {
    const std::filesystem::path pdf = dir_ / "sheet.pdf";
    PrintSheetsToPdf(street_, {number}, pdf);
    return test::RasterisePdf(pdf, kDpi);
  }

  TRegistered registered_;
  test::RoadDataRoot data_;
  test::TempDir dir_;
  TStreetStructure street_;
};

// The lawn along a row, to a hundredth of a pixel: each pixel counts with the share of it
// the lawn covers, read from its blue (white paper 255, the lawn 210). From and To keep
// the frame's lines out.
struct TSpan {
  double Left = -1.0;
  double Width = 0.0;
};
TSpan LawnSpan(const TOffscreenFrame& page, uint32_t row, uint32_t from, uint32_t to) {
  TSpan span;
  for (uint32_t x = from; x < to; ++x) {
    const double share = std::clamp((255.0 - (page.At(x, row) & 0xFF)) / 45.0, 0.0, 1.0);
    if (share > 0 && span.Left < 0) span.Left = x + 1 - share;
    span.Width += share;
  }
  return span;
}

// A lawn 50 m wide lies in the middle of each sheet: it measures 50 m at the sheet's
// scale on the paper (100.0 mm at 1:500), the middle stays in the middle whatever the
// sheet's turn on the plan, and the page is the sheet's format.
TEST_F(SheetPrintTest, ALawnFiftyMetresWideMeasuresItsScaleOnThePage) {
  struct TCase {
    int32_t Width, Height;  // mm
    double Scale;
    bool Landscape;
    double Angle;
    double WantMm;
  };
  const TCase cases[] = {
      {210, 297, 0.002, false, 0.0, 100.0},                // A4 portrait 1:500
      {420, 297, 0.002, true, 0.0, 100.0},                 // A3 landscape 1:500
      {420, 297, 0.004, true, std::numbers::pi / 6, 200.0},  // A3 landscape 1:250, turned on the plan
      {297, 420, 0.001, false, -2.0, 50.0},                // A3 portrait 1:1000, turned the other way
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TPlanDefineItem& sheet = AddSheet({1000, -400, 0}, c.Angle);
    sheet.SetFormat(c.Width, c.Height);
    sheet.SetSheetScale(c.Scale);
    sheet.SetLandscape(c.Landscape);
    const TSheetLayout layout = TSheetLayout::Of(sheet);
    const double half = 25.0 * c.Scale * 1000.0;  // 25 m in paper mm
    const double cx = c.Width / 2.0, cy = c.Height / 2.0;
    AddLawn(layout, {{cx - half, cy - 10}, {cx + half, cy - 10}, {cx + half, cy + 10}, {cx - half, cy + 10}});
    const std::string what = std::to_string(c.Width) + "x" + std::to_string(c.Height) + " at " +
                             std::to_string(c.Scale) + ", turned " + std::to_string(c.Angle);

    const std::filesystem::path pdf = dir_ / "sheet.pdf";
    PrintSheetsToPdf(street_, {1}, pdf);
    const std::optional<test::TPageSize> size = test::PdfPageSize(pdf);
    ASSERT_TRUE(size) << what;
    EXPECT_NEAR(size->Width, c.Width * 72 / 25.4, 0.01) << what;
    EXPECT_NEAR(size->Height, c.Height * 72 / 25.4, 0.01) << what;
    const std::optional<TOffscreenFrame> page = test::RasterisePdf(pdf, kDpi);
    ASSERT_TRUE(page) << what;

    // Inside the inner frame (20 mm from the left, 5 or 10 mm from the right).
    const TSpan span = LawnSpan(*page, page->Height / 2, static_cast<uint32_t>(22 * kPxPerMm),
                                static_cast<uint32_t>((c.Width - 12) * kPxPerMm));
    ASSERT_GE(span.Left, 0) << what << ": no lawn";
    EXPECT_NEAR(span.Width / kPxPerMm, c.WantMm, 0.1) << what;
    EXPECT_NEAR((span.Left + span.Width / 2) / kPxPerMm, c.Width / 2.0, 0.1) << what;
  }
}

// Regression guard: filled one triangle at a time, a surface shows hairlines of lighter
// pixels along every edge two triangles share once a reader smooths the edges. A lawn
// of 96 corners (94 triangles) must be one even colour inside.
TEST_F(SheetPrintTest, AFilledLawnShowsNoSeamsBetweenItsTriangles) {
  TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0.3);
  const TSheetLayout layout = TSheetLayout::Of(sheet);
  std::vector<std::array<double, 2>> ring;
  constexpr int kCorners = 96;
  constexpr double kRadius = 60.0;  // mm
  for (int i = 0; i < kCorners; ++i) {
    // A wavy ring, so the tessellation is not a plain fan.
    const double a = 2 * std::numbers::pi * i / kCorners, r = kRadius * (1 - 0.08 * (i % 2));
    ring.push_back({105 + r * std::cos(a), 148.5 + r * std::sin(a)});
  }
  AddLawn(layout, ring);
  const std::optional<TOffscreenFrame> page = Print();
  ASSERT_TRUE(page);
  int seams = 0, inside = 0;
  const double inner = (kRadius * 0.92 - 1.0) * kPxPerMm;
  for (uint32_t y = 0; y < page->Height; ++y)
    for (uint32_t x = 0; x < page->Width; ++x) {
      if (std::hypot(x + 0.5 - 105 * kPxPerMm, y + 0.5 - 148.5 * kPxPerMm) > inner) continue;
      ++inside;
      if (page->At(x, y) != kLawn) ++seams;
    }
  EXPECT_GT(inside, 100000);
  EXPECT_EQ(seams, 0) << "pixels inside the lawn that are not its colour";
}

// Each stamp holds a red bar 20 x 5 mm centred on its origin: it lies centred on its
// corner of the inner frame, upright in portrait (a quarter turn) and lying in landscape
// (a half turn), and nothing else on the page is red.
TEST_F(SheetPrintTest, StampsLieInTheirCornersForPortraitAndLandscape) {
  struct TCase {
    TCorner Corner;
    bool Landscape;
    double X, Y;  // the corner, mm from the page's top-left
  };
  const TCase cases[] = {
      {TCorner::TopLeft, false, 20, 10},      {TCorner::BottomRight, false, 200, 277},
      {TCorner::TopRight, false, 200, 10},    {TCorner::TopLeft, true, 20, 277},
      {TCorner::TopRight, true, 20, 10},      {TCorner::BottomRight, true, 200, 10},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TPlanDefineItem& sheet = AddSheet({50, 50, 0}, 1.0);
    sheet.SetLandscape(c.Landscape);
    auto stamp = std::make_unique<TStreetStructure>();
    auto& bar = dynamic_cast<TDesignFigureItem&>(*stamp->ItemList(kFigureKind).NewItem());
    for (const TXYZ& p : {TXYZ{-10, -2.5f, 0}, TXYZ{10, -2.5f, 0}, TXYZ{10, 2.5f, 0}, TXYZ{-10, 2.5f, 0}})
      bar.Points().InsertNew(bar.Points().Count(), p);
    bar.SetFillColor(kRed);
    sheet.SetStamp(c.Corner, std::move(stamp));
    const std::string what = std::to_string(static_cast<int>(c.Corner)) + (c.Landscape ? " landscape" : " portrait");

    const std::optional<TOffscreenFrame> page = Print();
    ASSERT_TRUE(page) << what;
    int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
    for (uint32_t y = 0; y < page->Height; ++y)
      for (uint32_t x = 0; x < page->Width; ++x)
        if (Red(page->At(x, y))) {
          left = std::min(left, int(x));
          right = std::max(right, int(x));
          top = std::min(top, int(y));
          bottom = std::max(bottom, int(y));
        }
    ASSERT_GE(right, 0) << what << ": no stamp on the page";
    EXPECT_NEAR((left + right + 1) / 2.0 / kPxPerMm, c.X, 0.2) << what;
    EXPECT_NEAR((top + bottom + 1) / 2.0 / kPxPerMm, c.Y, 0.2) << what;
    EXPECT_NEAR((right - left + 1) / kPxPerMm, c.Landscape ? 20 : 5, 0.3) << what;
    EXPECT_NEAR((bottom - top + 1) / kPxPerMm, c.Landscape ? 5 : 20, 0.3) << what;
  }
}

// The plan shows inside the inner frame only: a lawn over the whole paper stops at the
// frame, and the margins stay white.
TEST_F(SheetPrintTest, ThePlanIsCutAtTheInnerFrame) {
  TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
  AddLawn(TSheetLayout::Of(sheet), {{-50, -50}, {260, -50}, {260, 350}, {-50, 350}});
  const std::optional<TOffscreenFrame> page = Print();
  ASSERT_TRUE(page);
  struct TProbe {
    double X, Y;  // mm from the top-left
    bool Lawn;
  };
  const TProbe probes[] = {{10, 150, false}, {205, 150, false}, {100, 5, false}, {100, 290, false},
                           {25, 150, true},  {195, 150, true},  {100, 15, true}, {100, 270, true}};
  for (const TProbe& p : probes) {
    const uint32_t pixel = page->At(static_cast<uint32_t>(p.X * kPxPerMm), static_cast<uint32_t>(p.Y * kPxPerMm));
    EXPECT_EQ(pixel == kLawn, p.Lawn) << p.X << ", " << p.Y << ": " << std::hex << pixel;
  }
}

// A sheet stored at a resolution no printer has still prints, at the default.
TEST_F(SheetPrintTest, ASheetOfZeroDpiPrintsAtTheDefaultResolution) {
  AddSheet({0, 0, 0}, 0).SetDpi(0);
  EXPECT_EQ(SheetPaper(*PlanSheets(street_).front()).Dpi, 300);
  ASSERT_TRUE(Print());
}

// Failures name their cause and leave the target as it was: no file, or the old one.
TEST_F(SheetPrintTest, AFailedPrintLeavesNothingHalfWritten) {
  AddSheet({0, 0, 0}, 0);
  const std::filesystem::path old = dir_ / "old.pdf";
  std::ofstream(old) << "the old file";
  struct TCase {
    std::vector<int> Numbers;
    std::filesystem::path Path;
    const char* Message;
  };
  const TCase cases[] = {
      {{2}, old, "no sheet 2; the street has 1 sheet"},
      {{0}, old, "no sheet 0"},
      {{1}, dir_ / "missing" / "out.pdf", ""},
  };
  for (const TCase& c : cases) {
    try {
      PrintSheetsToPdf(street_, c.Numbers, c.Path);
      ADD_FAILURE() << c.Path << " was written";
    } catch (const EVellmarError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
    }
  }
  std::ifstream in(old);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old file");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1) << "a temporary was left";
  street_.Clear();
  EXPECT_THROW(PrintSheetsToPdf(street_, {}, dir_ / "none.pdf"), EVellmarError);
}

// A print on a worker thread tells the items drawn after each kind and stops at the
// next kind once asked: the old file stays, no temporary is left, and a print not
// stopped counts to the end and is written.
TEST_F(SheetPrintTest, AStoppedPrintLeavesTheOldFileAndTheCountGoesToTheEnd) {
  TPlanDefineItem& sheet = AddSheet({0, 0, 0}, 0);
  sheet.SetSheetKinds(TKindSet{TGazonItem::kKindIndex, TTrotuarItem::kKindIndex});
  const TSheetLayout layout = TSheetLayout::Of(sheet);
  AddLawn(layout, {{50, 50}, {100, 50}, {100, 100}});
  AddLawn(layout, {{150, 50}, {200, 50}, {200, 100}});
  TAbstractItem& sidewalk = *street_.ItemList(TTrotuarItem::kKindIndex).NewItem();
  for (const auto& p : std::vector<std::array<double, 2>>{{50, 150}, {100, 150}, {100, 200}})
    sidewalk.Points().InsertNew(sidewalk.Points().Count(), layout.ToWorld(p[0], p[1]));
  const std::filesystem::path target = dir_ / "out.pdf";

  using TCounts = std::vector<std::pair<int64_t, int64_t>>;
  struct TCase {
    const char* What;
    bool StopAtOnce;
    bool StopAfterFirstKind;
    TCounts Counts;  // as the control hears them
    bool Written;
  };
  // The sidewalks' kind comes before the lawns'.
  const TCase cases[] = {
      {"stopped before it began", true, false, {{0, 3}}, false},
      {"stopped after the sidewalks", false, true, {{0, 3}, {1, 3}}, false},
      {"not stopped", false, false, {{0, 3}, {1, 3}, {3, 3}}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    std::ofstream(target, std::ios::binary | std::ios::trunc) << "the old file";
    std::atomic<bool> stop = c.StopAtOnce;
    TCounts counts;
    TPrintControl control;
    control.Stop = &stop;
    control.Progress = [&](int64_t done, int64_t total) {
      counts.emplace_back(done, total);
      if (c.StopAfterFirstKind && done > 0) stop = true;
    };
    bool cancelled = false;
    try {
      PrintSheetsToPdf(street_, {1}, target, {}, control);
    } catch (const EPrintCancelled&) {
      cancelled = true;
    }
    EXPECT_EQ(cancelled, !c.Written);
    EXPECT_EQ(counts, c.Counts);
    std::ifstream in(target, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(bytes == "the old file", !c.Written);
    EXPECT_EQ(bytes.rfind("%PDF", 0) == 0, c.Written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1) << "a temporary was left";
  }
}

}  // namespace
}  // namespace vellmar
