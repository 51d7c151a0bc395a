// Marking symbols, point furniture and the bus-stop zigzag on the headless GL device:
// measured on the pixels they leave.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../signs/SignPictures.h"
#include "RoadDrawSupport.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisItem.h"
#include "items/road/KolodItem.h"
#include "items/road/PictureItem.h"
#include "items/road/RazmetStopItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/ReshetItem.h"
#include "items/road/StopItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "support/DarkPixel.h"
#include "support/GlTestSupport.h"
#include "support/Prerequisite.h"

namespace vellmar {
namespace {

using test::Brightness;
using test::ColorNear;

constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);
// The arrow library is the program's, read once: a test run before in this process
// without the data root leaves it empty (ctest runs every test in a process of its own).
constexpr const char* kNoArrowLibrary = "the arrow library was read without the data files";

using test::Dark;

// A point of the plan and whether it must be painted.
struct TProbe {
  double X, Y;
  bool Painted;
};

class RoadSymbolsDrawTest : public ::testing::Test {
 protected:
  RoadSymbolsDrawTest() { RegisterAllItemKinds(); }

  template <typename TItem>
  TItem& Add(int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return dynamic_cast<TItem&>(item);
  }

  void AddAxis() {
    auto& axis = Add<TAxisItem>(TAxisItem::kKindIndex, {{-50, -20, 0}, {50, -20, 0}});
    street_.MainReferences().SetItem(0, &axis);
  }

  // Every probe painted (dark) or not (white) as it says; false when no GL context.
  bool Expect(const TXYZ& centre, double pixelsPerMetre, int32_t kind, const std::vector<TProbe>& probes,
              const std::string& what) {
    const auto picture = test::DrawPlan(street_, centre, pixelsPerMetre, TKindSet{kind}, 300, 300);
    if (!picture) return false;
    for (const TProbe& p : probes) {
      const uint32_t pixel = picture->At(p.X, p.Y);
      if (p.Painted) {
        EXPECT_TRUE(Dark(pixel)) << what << " at " << p.X << ", " << p.Y << ": " << test::Hex(pixel);
      } else {
        EXPECT_TRUE(ColorNear(pixel, kWhite)) << what << " at " << p.X << ", " << p.Y << ": " << test::Hex(pixel);
      }
    }
    return true;
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
};

// The library's right turn leaves the shaft to the right (-y); its mirrored left turn
// to the left; every point but the last carries an arrow towards the next.
TEST_F(RoadSymbolsDrawTest, ArrowsPointToTheNextPointAndMirrorAcrossTheirLine) {
  struct TCase {
    const char* Type;
    TXYZArray Points;
    std::vector<TProbe> Probes;
  };
  const TCase cases[] = {
      {"Направо", {{0, 0, 0}, {5, 0, 0}}, {{1, 0, true}, {2.43, -1.3, true}, {2.43, 1.3, false}, {4.6, 0, false}}},
      {"Налево", {{0, 0, 0}, {5, 0, 0}}, {{1, 0, true}, {2.43, 1.3, true}, {2.43, -1.3, false}}},
      {"Прямо", {{5, 0, 0}, {0, 0, 0}}, {{0.6, 0, true}, {0.6, 0.3, false}, {4.4, 0.3, false}, {2, 0, true}}},
      {"Прямо", {{-5, 0, 0}, {0, 0, 0}, {0, 5, 0}}, {{-0.4, 0, true}, {0, 4.4, true}, {0, 5.5, false}}},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    auto& arrow = Add<TArrowRazmetItem>(TArrowRazmetItem::kKindIndex, c.Points);
    arrow.SetArrowName(Utf8ToCp1251(c.Type));
    if (arrow.ArrowIndex() < 0) VELLMAR_SKIP_OR_FAIL(kNoArrowLibrary);
    if (!Expect({0, 0, 0}, 20, TArrowRazmetItem::kKindIndex, c.Probes, c.Type))
      GTEST_SKIP() << "no headless OpenGL context on this machine";
  }
}

// An arrow along the axis has its label end at its base point; one against the axis
// has it turned round to read along the axis, starting at its base point.
TEST_F(RoadSymbolsDrawTest, ArrowLabelsReadAlongTheAxisWhicheverWayTheArrowPoints) {
  struct TCase {
    TXYZArray Points;
    double LabelFrom, LabelTo;  // along x, where the label's letters lie
  };
  const TCase cases[] = {
      {{{0, 0, 0}, {5, 0, 0}}, -3, -0.1},
      {{{0, 0, 0}, {-5, 0, 0}}, 0.1, 3},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    AddAxis();
    auto& arrow = Add<TArrowRazmetItem>(TArrowRazmetItem::kKindIndex, c.Points);
    arrow.SetArrowName(Utf8ToCp1251("Прямо"));
    if (arrow.ArrowIndex() < 0) VELLMAR_SKIP_OR_FAIL(kNoArrowLibrary);
    const auto picture = test::DrawPlan(street_, {0, 0, 0}, 40, TKindSet{TArrowRazmetItem::kKindIndex}, 400, 120);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    // The label straddles the line (y = 0); above the arrow it is the only ink.
    int inside = 0, outside = 0;
    for (double x = -4.9; x < 4.9; x += 0.025) {
      const double y = 0.4;  // above the arrow head (0.35), within the label
      if (!Dark(picture->At(x, y))) continue;
      (x > c.LabelFrom && x < c.LabelTo ? inside : outside) += 1;
    }
    EXPECT_GT(inside, 5) << c.Points[1].x;
    EXPECT_EQ(outside, 0) << c.Points[1].x;
  }
}

// Letters of the marking font stand 1.6 m high from the point along the orientation; a
// letter the font lacks is a bar; large markings stretch the letters 2.5 times.
TEST_F(RoadSymbolsDrawTest, MarkingTextsDrawTheFontsLettersOrThePlaceholderBar) {
  struct TCase {
    const char* Text;
    bool Big;
    std::vector<TProbe> Probes;
  };
  const TCase cases[] = {
      // "Т": a bar across the top and a stem in the middle.
      {"Т", false, {{0.3, 1.58, true}, {0.3, 0.5, true}, {0.05, 0.8, false}, {0.55, 0.5, false}, {0.3, 1.8, false}}},
      // "Q" is not in the font: the bar from 0.1 to 0.5.
      {"Q", false, {{0.15, 0.05, true}, {0.45, 1.55, true}, {0.3, 0.8, true}, {0.02, 0.8, false}, {0.58, 0.8, false}}},
      // Two bars: the second starts one advance (0.6) on.
      {"QQ", false, {{0.3, 0.8, true}, {0.55, 0.8, false}, {0.9, 0.8, true}}},
      {"Т", true, {{0.3, 3.95, true}, {0.3, 3.5, true}, {0.05, 2.0, false}, {0.3, 4.3, false}}},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    street_.SetArrowBig(c.Big);
    Add<TRazmetTextItem>(TRazmetTextItem::kKindIndex, {{0, 0, 0}, {1, 0, 0}}).SetText(Utf8ToCp1251(c.Text));
    if (!Expect({0.5, 2, 0}, 60, TRazmetTextItem::kKindIndex, c.Probes, c.Text))
      GTEST_SKIP() << "no headless OpenGL context on this machine";
  }
}

// A sign duplicate's shapes come from the library in millimetres: frame and sign, only
// the frame for a sign the library lacks, the placeholder rectangle without either.
TEST_F(RoadSymbolsDrawTest, SignDuplicatesDrawTheirFrameSignOrPlaceholder) {
  struct TCase {
    const char* Name;
    std::vector<TProbe> Probes;
  };
  const TCase cases[] = {
      // The ring of the prohibitory signs, 1.35 by 2.25 m, hollow in the middle.
      {"3.99", {{0, 0.08, true}, {0, 2.32, true}, {0.67, 1.2, true}, {0, 1.2, false}, {0.85, 1.2, false}}},
      // The rectangle -0.5..0.5 by 0..1.6.
      {"7.1", {{0, 0.8, true}, {0.45, 1.55, true}, {-0.45, 0.05, true}, {0.6, 0.8, false}, {0, 1.7, false}}},
      // Information signs: the square frame and the bus lane's letter inside it.
      {"5.14", {{0, 0.08, true}, {0.67, 1.2, true}, {-0.35, 1.35, false}, {0, 1.0, true}}},  // "А"'s crossbar
  };
  for (const TCase& c : cases) {
    street_.Clear();
    Add<TRazmetZnakItem>(TRazmetZnakItem::kKindIndex, {{0, 0, 0}, {1, 0, 0}}).SetSignName(c.Name);
    if (!Expect({0, 1.2, 0}, 100, TRazmetZnakItem::kKindIndex, c.Probes, c.Name))
      GTEST_SKIP() << "no headless OpenGL context on this machine";
  }
}

// The manhole's cover texture fills the square on its point, transparent beyond the
// round cover; the grate's rectangle turns with its orientation.
TEST_F(RoadSymbolsDrawTest, FurnitureTexturesLieAtTheirPoints) {
  struct TCase {
    int32_t Kind;
    TXYZArray Points;
    std::vector<TProbe> Probes;
  };
  const TCase cases[] = {
      {TKolodItem::kKindIndex, {{3, 2, 0}}, {{3, 2, true}, {3.4, 2, true}, {3, 1.6, true}, {3.47, 2.47, false}}},
      {TReshetItem::kKindIndex, {{3, 2, 0}, {4, 2, 0}}, {{3.55, 2, true}, {3, 2.25, true}, {3, 2.45, false}}},
      {TReshetItem::kKindIndex, {{3, 2, 0}, {3, 3, 0}}, {{3, 2.55, true}, {3.25, 2, true}, {3.45, 2, false}}},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    Add<TAbstractItem>(c.Kind, c.Points);
    if (!Expect({3, 2, 0}, 100, c.Kind, c.Probes, std::to_string(c.Kind)))
      GTEST_SKIP() << "no headless OpenGL context on this machine";
  }
  // The cover's middle is the texture's, not the kind's ink: the picture shows.
  street_.Clear();
  Add<TKolodItem>(TKolodItem::kKindIndex, {{0, 0, 0}});
  const auto picture = test::DrawPlan(street_, {0, 0, 0}, 100, TKindSet{TKolodItem::kKindIndex});
  ASSERT_TRUE(picture);
  EXPECT_FALSE(ColorNear(picture->At(0.43, 0), picture->At(0.3, 0.3), 8)) << "rim and middle differ";
}

// A pavilion is red and crossed, or yellow and filled with "StopsYellow"; a flag stop's
// crossed flag stands 1.5 m to 2.5 m left of the axis direction from its first point,
// whichever way its points run.
TEST_F(RoadSymbolsDrawTest, StopsDrawAsPavilionsOrFlags) {
  struct TCase {
    const char* What;
    TXYZArray Points;
    bool Pavilion;
    bool Yellow;
    TXYZ Probe;  // where the diagonals cross
    uint32_t Colour;
  };
  const uint32_t red = MakeColor(255, 0, 0, 255), yellow = MakeColor(255, 255, 80, 255);
  const TCase cases[] = {
      {"red pavilion", {{0, 0, 0}, {1, 0, 0}}, true, false, {2, 1, 0}, red},
      {"yellow pavilion", {{0, 0, 0}, {1, 0, 0}}, true, true, {2, 1, 0}, yellow},
      {"flag along the axis", {{0, 0, 0}, {1, 0, 0}}, false, false, {0.75f, 2, 0}, red},
      {"flag against the axis", {{0, 0, 0}, {-1, 0, 0}}, false, false, {0.75f, 2, 0}, red},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    AddAxis();
    street_.DrawOptions().Lines() = {c.Yellow ? "StopsYellow=1" : "StopsYellow=0"};
    auto& stop = Add<TStopItem>(TStopItem::kKindIndex, c.Points);
    stop.SetPavilion(c.Pavilion);
    const auto picture = test::DrawPlan(street_, {0, 0, 0}, 50, TKindSet{TStopItem::kKindIndex}, 400, 400);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(ColorNear(picture->At(c.Probe), c.Colour, 40)) << c.What << ": " << test::Hex(picture->At(c.Probe));
    EXPECT_TRUE(ColorNear(picture->At(-c.Probe.x, -c.Probe.y), kWhite)) << c.What << ": nothing on the other side";
  }
}

// A picture lies with its top edge from the first point towards the second, scaled to
// their distance, rows running to the right of that direction.
TEST_F(RoadSymbolsDrawTest, PicturesLieBetweenTheirPointsWithTheirTopAlongTheLine) {
  const uint32_t green = MakeColor(0, 255, 0, 255), red = MakeColor(255, 0, 0, 255);
  struct TCase {
    const char* What;
    TXYZArray Points;
    TXYZ Top, Bottom;  // inside the green top half and the red bottom half
  };
  const TCase cases[] = {
      {"along x", {{0, 0, 0}, {4, 0, 0}}, {2, -1, 0}, {2, -3, 0}},
      {"along y", {{0, 0, 0}, {0, 4, 0}}, {1, 2, 0}, {3, 2, 0}},
      {"against x", {{0, 0, 0}, {-4, 0, 0}}, {-2, 1, 0}, {-2, 3, 0}},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    auto& item = Add<TPictureItem>(TPictureItem::kKindIndex, c.Points);
    item.Picture() = test::MetafileOf(test::BandPicture(300, 300, {0x00FF00, 0xFF0000}));
    const auto picture = test::DrawPlan(street_, {0, 0, 0}, 50, TKindSet{TPictureItem::kKindIndex}, 400, 400);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(ColorNear(picture->At(c.Top), green, 40)) << c.What << ": " << test::Hex(picture->At(c.Top));
    EXPECT_TRUE(ColorNear(picture->At(c.Bottom), red, 40)) << c.What << ": " << test::Hex(picture->At(c.Bottom));
  }
}

// The zigzag peaks 2 m left of its line every 4 m, touches it in between, ends with a
// tick square to the line at the last whole period; a shorter remainder stays bare.
TEST_F(RoadSymbolsDrawTest, TheBusStopZigzagKeepsItsPeriodAndLeavesTheRemainderBare) {
  struct TCase {
    float Length;
    double LastTick;
  };
  const TCase cases[] = {{9, 8}, {12.5f, 12}, {4, 4}};
  for (const TCase& c : cases) {
    street_.Clear();
    Add<TRazmetStopItem>(TRazmetStopItem::kKindIndex, {{0, 0, 0}, {c.Length, 0, 0}});
    std::vector<TProbe> probes = {{0, 1, true},     {1, 1, true},   {2, 0.02, true}, {4, 1.97, true},
                                  {2, 1.5, false},  {0, -0.3, false}, {c.LastTick, 1, true},
                                  {c.LastTick + 0.15, 1.5, false}, {c.LastTick + 0.5, 0, false}};
    if (!Expect({c.Length / 2, 1, 0}, 20, TRazmetStopItem::kKindIndex, probes, std::to_string(c.Length)))
      GTEST_SKIP() << "no headless OpenGL context on this machine";
  }
}

}  // namespace
}  // namespace vellmar
