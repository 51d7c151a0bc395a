// Marking symbols, measures and label places without a display: the symbol libraries
// against the generated data files, the texts the kinds compute, the labels they write,
// and what they draw every frame through the recording device.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "RoadDrawSupport.h"
#include "document/StreetStructure.h"
#include "geometry/PolylineMeasure.h"
#include "items/ItemKinds.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisItem.h"
#include "items/road/KolodItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/MarkingFont.h"
#include "items/road/RadiusMeasureItem.h"
#include "items/road/RazmerItem.h"
#include "items/road/RazmetLabelPlaceItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/SignDuplicates.h"
#include "items/road/StopItem.h"
#include "platform/WarningSink.h"
#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxTriangleCollection.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"
#include "support/Prerequisite.h"
#include "support/RecordedFrame.h"

namespace vellmar {
namespace {

std::filesystem::path DataFile(std::string_view utf8) {
  return *ResolveDataPath(Utf8ToCp1251(utf8));
}

class RoadSymbolsTest : public ::testing::Test {
 protected:
  RoadSymbolsTest() { RegisterAllItemKinds(); }

  template <typename TItem>
  TItem& Add(int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street_.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return dynamic_cast<TItem&>(item);
  }

  void Rebuild() { street_.RebuildKinds(TKindRegistry::AllKinds()); }

  // An axis along +x, well away from the items.
  void AddAxis() {
    auto& axis = Add<TAxisItem>(TAxisItem::kKindIndex, {{-100, -50, 0}, {100, -50, 0}});
    street_.MainReferences().SetItem(0, &axis);
  }

  test::RoadDataRoot data_;
  TStreetStructure street_;
};

// Every letter the road's words need is drawn in the generated font, standing 1.6 m
// high on its baseline; what the font lacks shows as the bar, never as nothing.
TEST_F(RoadSymbolsTest, TheGeneratedMarkingFontHasTheRoadsLetters) {
  const TMarkingFont font = TMarkingFont::LoadFromFile(DataFile("\\DataFiles\\Разметка\\RazmetFont.pln"));
  for (const char* utf8 : {"С", "Т", "О", "П", "А", "В", "S", "T", "O", "P", "B", "U", "0", "1", "2", "3", "4", "5",
                           "6", "7", "8", "9"}) {
    const auto code = static_cast<unsigned char>(Utf8ToCp1251(utf8)[0]);
    const TSymbolGlyph& glyph = font.Glyph(code);
    ASSERT_FALSE(font.IsPlaceholder(code)) << utf8;
    float top = 0, bottom = 10;
    for (const TDxVertex& v : glyph.Triangles) {
      top = std::max(top, v.Y);
      bottom = std::min(bottom, v.Y);
    }
    EXPECT_NEAR(top, 1.6, 0.1) << utf8;
    EXPECT_NEAR(bottom, 0.0, 0.1) << utf8;
    EXPECT_GT(glyph.Advance, 0.5) << utf8;
    EXPECT_LT(glyph.Advance, 0.9) << utf8;
  }
  EXPECT_TRUE(font.IsPlaceholder('Q'));
  EXPECT_TRUE(font.Glyph(' ').Triangles.empty());
  EXPECT_DOUBLE_EQ(font.Glyph(' ').Advance, 0.3);
}

TEST_F(RoadSymbolsTest, AMissingOrDamagedFontLeavesEveryLetterABar) {
  test::TempDir dir;
  std::ofstream(dir / "damaged.pln", std::ios::binary) << "TAGSSIZE not a street";
  std::vector<std::string> warnings;
  TakePendingWarnings();
  SetWarningSink([&](const std::string& message) {
    if (message.find(".pln") != std::string::npos) warnings.push_back(message);
  });
  for (const char* name : {"missing.pln", "damaged.pln"}) {
    const TMarkingFont font = TMarkingFont::LoadFromFile(dir / name);
    EXPECT_TRUE(font.IsPlaceholder(static_cast<unsigned char>(Utf8ToCp1251("С")[0]))) << name;
    EXPECT_DOUBLE_EQ(font.Glyph('A').Advance, 0.6) << name;
    EXPECT_DOUBLE_EQ(font.Glyph('A').Area, 0.4 * 1.6) << name;
  }
  SetWarningSink({});
  // The damaged file is named once; the missing one is silent.
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("damaged.pln"), std::string::npos);
}

// The library holds the frames and the signs the demo and the tests paint; frames are
// not offered as sign names, and a sign finds its group's frame.
TEST_F(RoadSymbolsTest, TheGeneratedSignDuplicatesHaveTheirSignsAndFrames) {
  const TSignDuplicates library =
      TSignDuplicates::LoadFromFile(DataFile("\\DataFiles\\Знаки\\ZnakRoadCopy.pln"));
  std::vector<std::string> names = {"3.*", "5.*", "1.*", "5.19.1", "5.19.2", "1.23", "5.14"};
  for (int speed = 20; speed <= 90; speed += 10) names.push_back("3.24-" + std::to_string(speed));
  for (const std::string& name : names) {
    const int32_t index = library.LastIndexOf(name);
    ASSERT_GE(index, 0) << name;
    EXPECT_FALSE(library.Entry(index).Glyph.Triangles.empty()) << name;
  }
  const std::vector<std::string>& choosable = library.SignNames();
  EXPECT_TRUE(std::is_sorted(choosable.begin(), choosable.end()));
  EXPECT_EQ(std::count(choosable.begin(), choosable.end(), "3.*"), 0);
  EXPECT_EQ(choosable.size(), names.size() - 3);
  EXPECT_EQ(library.FrameIndexOf("3.24-40"), library.LastIndexOf("3.*"));
  EXPECT_EQ(library.FrameIndexOf("7.1"), -1);
  EXPECT_EQ(library.FrameIndexOf(""), -1);
}

// Measured values are rounded to 0.05, then to the street's step; custom texts replace
// them line by line and are kept when there are fewer intervals.
TEST_F(RoadSymbolsTest, DimensionTextsAreTheRoundedIntervals) {
  struct TCase {
    std::vector<float> Measured;  // along the line from (0, 0) to (10, 0)
    bool Custom;
    std::vector<std::string> Given;
    std::vector<std::string> Texts;
  };
  const TCase cases[] = {
      {{1, 4.31f}, false, {}, {"3.3"}},
      {{0, 2, 2.5f, 7.524f}, false, {}, {"2", "0.5", "5"}},
      {{7, 1, 4}, false, {"x"}, {"3", "3"}},           // sorted along the line
      {{0, 1, 2}, true, {"a"}, {"a"}},                   // the second interval has no text
      {{0, 1}, true, {"a", "b", "c"}, {"a", "b", "c"}},  // surplus lines are kept
      {{}, false, {"old"}, {"old"}},                     // two points: nothing measured
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TXYZArray points = {{0, 0, 0}, {10, 0, 0}};
    for (const float x : c.Measured) points.push_back({x, 1, 0});
    auto& dimension = Add<TRazmerItem>(TRazmerItem::kKindIndex, points);
    dimension.SetCustomTexts(c.Custom);
    dimension.SetTexts(c.Given);
    Rebuild();
    EXPECT_EQ(dimension.Texts(), c.Texts) << c.Measured.size() << " points measured";
  }
}

// Along a contour the intervals are measured as stations along it, round its corners.
TEST_F(RoadSymbolsTest, ADimensionAlongItsContourMeasuresAlongTheCurve) {
  TAbstractItem& curb = Add<TAbstractItem>(37, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  auto& dimension = Add<TRazmerItem>(
      TRazmerItem::kKindIndex, {{0, 1, 0}, {9, 11, 0}, {2, 0, 0}, {10, 5, 0}, {10, 8, 0}});
  dimension.Contour().SetCapacity(1);
  dimension.Contour().SetItem(0, &curb);
  Rebuild();
  EXPECT_EQ(dimension.Texts(), (std::vector<std::string>{"13", "3"}));
}

// The line a chain draws runs only between its outer measured points: a straight chain
// once drew the whole A-B segment beyond its outer arrows, and one along a curb drew a
// chord per interval across the inside of the bend beside the offset curve. Every drawn
// segment whose ends both lie on the dimension line must lie on it, inside the span.
TEST_F(RoadSymbolsTest, ADimensionChainDrawsItsLineOnlyAlongTheMeasuredSpan) {
  struct TCase {
    const char* What;
    TXYZArray Curb;  // empty: the straight form along A-B
    TXYZArray Points;
    TXYZArray Line;  // the line the dimension runs along
    double Offset;   // the dimension's distance from it
    std::function<bool(const TXYZ&)> Within;
  };
  const TCase cases[] = {
      {"straight, A and B beyond the measured points", {},
       {{-5, 0, 0}, {15, 0, 0}, {1, 1, 0}, {5, 1, 0}, {9, 1, 0}}, {{-100, 0, 0}, {100, 0, 0}}, 0,
       [](const TXYZ& p) { return p.x > 1 - 1e-3 && p.x < 9 + 1e-3; }},
      {"along a cornered curb", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}},
       {{0, 1, 0}, {9, 11, 0}, {2, 0, 0}, {10, 5, 0}, {10, 8, 0}}, {}, 1,
       // The offset blends the vertices' mitred offsets along each segment, so the ends
       // at stations 2 and 18 lie at (1.8, 1) and (9, 8.2).
       [](const TXYZ& p) { return p.x > 1.8 - 1e-3 && p.y < 8.2 + 1e-3; }},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    auto& dimension = Add<TRazmerItem>(TRazmerItem::kKindIndex, c.Points);
    TXYZArray line = c.Line;
    if (!c.Curb.empty()) {
      TAbstractItem& curb = Add<TAbstractItem>(37, c.Curb);
      dimension.Contour().SetCapacity(1);
      dimension.Contour().SetItem(0, &curb);
      Rebuild();
      line = curb.Points().Polyline();
    }
    Rebuild();
    const auto onLine = [&](const TXYZ& p) {
      double nearest = 1e9;
      for (size_t i = 1; i < line.size(); ++i) nearest = std::min(nearest, SegmentDistance(p, line[i - 1], line[i]));
      return std::abs(nearest - c.Offset) < 2e-3;
    };
    const TDxPrimCollection& lines = *street_.KindCollections(TRazmerItem::kKindIndex).at(0);
    size_t along = 0;
    for (size_t i = 0; i < lines.Count(); ++i) {
      const auto v = lines.PrimAt(i).Vertices;
      const TXYZ p{v[0].X, v[0].Y, 0}, q{v[1].X, v[1].Y, 0};
      if (!onLine(p) || !onLine(q)) continue;
      ++along;
      const TXYZ middle{(p.x + q.x) / 2, (p.y + q.y) / 2, 0};
      EXPECT_TRUE(c.Within(p) && c.Within(q)) << c.What << ": (" << p.x << ", " << p.y << ") - (" << q.x << ", "
                                              << q.y << ") overhangs";
      EXPECT_TRUE(onLine(middle)) << c.What << ": (" << p.x << ", " << p.y << ") - (" << q.x << ", " << q.y
                                  << ") leaves the line";
    }
    EXPECT_GT(along, 0u) << c.What << ": no line drawn";
  }
}

// What a symbol draws follows the changes it depends on at the next rebuild: the
// street's large arrows, its yellow stops, a marking moved off a label place.
TEST_F(RoadSymbolsTest, ChangesRebuildTheSymbolsThatDependOnThem) {
  const auto live = [&](int32_t kind, size_t collection) {
    const TDxPrimCollection& c = *street_.KindCollections(kind).at(collection);
    return c.Count() - c.DeletedCount();
  };
  const auto reach = [&](int32_t kind) {
    const TDxPrimCollection& c = *street_.KindCollections(kind).at(0);
    float x = 0;
    for (size_t i = 0; i < c.Count(); ++i) {
      if (c.PrimAt(i).Deleted) continue;
      for (const TDxVertex& v : c.PrimAt(i).Vertices) x = std::max(x, v.X);
    }
    return x;
  };
  auto& arrow = Add<TArrowRazmetItem>(TArrowRazmetItem::kKindIndex, {{0, 0, 0}, {1, 0, 0}});
  arrow.SetArrowName(Utf8ToCp1251("Прямо"));
  // The library is the program's, read once: a test run before in this process without
  // the data root leaves it empty (ctest runs every test in a process of its own).
  if (arrow.ArrowIndex() < 0) VELLMAR_SKIP_OR_FAIL("the arrow library was read without the data files");
  Add<TAbstractItem>(32, {{0, 20, 0}, {1, 20, 0}});
  auto& marking = Add<TLineRazmetItem>(TLineRazmetItem::kKindIndex, {{-5, 40, 0}, {5, 40, 0}});
  marking.SetGostName("1.5");
  Add<TRazmetLabelPlaceItem>(TRazmetLabelPlaceItem::kKindIndex, {{0, 38, 0}, {0, 42, 0}});
  Rebuild();
  EXPECT_FLOAT_EQ(reach(TArrowRazmetItem::kKindIndex), 5.0f);
  EXPECT_EQ(live(32, 0), 0u) << "a red crossed pavilion has no fill";
  EXPECT_EQ(live(TRazmetLabelPlaceItem::kKindIndex, 1), 6u) << "\"1.5\": two triangles a character";

  street_.SetArrowBig(true);
  street_.DrawOptions().SetValue("StopsYellow", "1");
  street_.InvalidateAll();
  marking.Points().SetVertex(0, {-5, 50, 0});
  marking.Points().SetVertex(1, {5, 50, 0});
  Rebuild();
  EXPECT_FLOAT_EQ(reach(TArrowRazmetItem::kKindIndex), 7.5f);
  EXPECT_EQ(live(32, 0), 2u) << "a yellow pavilion is filled";
  EXPECT_EQ(live(TRazmetLabelPlaceItem::kKindIndex, 1), 0u) << "the marking left the place";
}

// Coincident points give no direction: such items draw nothing rather than shapes of
// infinities and NaNs that the culling and the device would have to survive.
TEST_F(RoadSymbolsTest, CoincidentPointsDrawNothingRatherThanNaNs) {
  struct TCase {
    const char* What;
    int32_t Kind;
    bool Pavilion;
  };
  const TCase cases[] = {
      {"pavilion", 32, true},
      {"flag stop", 32, false},
      {"dimension", TRazmerItem::kKindIndex, true},
  };
  for (const TCase& c : cases) {
    street_.Clear();
    TAbstractItem& item = Add<TAbstractItem>(c.Kind, {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {3, 3, 0}});
    // Moved onto the first point after the list took it.
    item.Points().SetVertex(1, {1, 1, 0});
    if (auto* stop = dynamic_cast<TStopItem*>(&item)) stop->SetPavilion(c.Pavilion);
    Rebuild();
    size_t drawn = 0;
    for (const auto& collection : street_.KindCollections(c.Kind)) {
      for (size_t i = 0; i < collection->Count(); ++i) {
        for (const TDxVertex& v : collection->PrimAt(i).Vertices) {
          ASSERT_TRUE(std::isfinite(v.X) && std::isfinite(v.Y)) << c.What;
        }
        ++drawn;
      }
    }
    // A dimension draws at most its degenerate line, nothing measured along it.
    EXPECT_LE(drawn, c.Kind == 32 ? 0u : 1u) << c.What;
  }
}

// The box of every live primitive of a kind's collection.
struct TBox {
  float X0 = 1e9f, Y0 = 1e9f, X1 = -1e9f, Y1 = -1e9f;
  float CX() const { return (X0 + X1) / 2; }
  float CY() const { return (Y0 + Y1) / 2; }
};

TBox LabelBox(TStreetStructure& street, int32_t kind, size_t collection) {
  const TDxPrimCollection& c = *street.KindCollections(kind).at(collection);
  TBox box;
  for (size_t i = 0; i < c.Count(); ++i) {
    if (c.PrimAt(i).Deleted) continue;
    for (const TDxVertex& v : c.PrimAt(i).Vertices) {
      box = {std::min(box.X0, v.X), std::min(box.Y0, v.Y), std::max(box.X1, v.X), std::max(box.Y1, v.Y)};
    }
  }
  return box;
}

// Labels sit where their anchors say: a manhole's owner by its alignment code around
// the 0.99 m square, a painted text's designation beside the text's middle, on the
// side that reads along the axis.
TEST_F(RoadSymbolsTest, LabelsSitWhereTheirAnchorsSay) {
  AddAxis();
  struct TCase {
    const char* What;
    int32_t Kind;
    TXYZArray Points;
    uint8_t Align;
    double Left, Right, Bottom, Top;  // bounds the label's box must respect; NaN: free
  };
  const double free = std::nan("");
  const TCase cases[] = {
      // Alignment 6: the lower left corner on the square's right edge, 0.8 a above.
      {"manhole 6", TKolodItem::kKindIndex, {{10, 10, 0}}, 6, 10.495, free, 10.396, free},
      // Alignment 2: the upper right corner on the left edge, 1.2 a below the centre.
      {"manhole 2", TKolodItem::kKindIndex, {{10, 10, 0}}, 2, free, 9.505, free, 9.406},
      // Its designation beside a text: to the right of one that runs to the left of the
      // axis direction, to the left of one that runs to the right of it.
      {"text along the axis", TRazmetTextItem::kKindIndex, {{10, 10, 0}, {10, 11, 0}}, 0, 10.1, free, free, free},
      {"text against the axis", TRazmetTextItem::kKindIndex, {{10, 10, 0}, {10, 9, 0}}, 0, free, 9.9, free, free},
  };
  for (const TCase& c : cases) {
    street_.ItemList(TKolodItem::kKindIndex).Clear();
    street_.ItemList(TRazmetTextItem::kKindIndex).Clear();
    TAbstractItem& item = Add<TAbstractItem>(c.Kind, c.Points);
    if (auto* manhole = dynamic_cast<TKolodItem*>(&item)) {
      manhole->SetOwner("ABC");
      manhole->SetTextAlign(c.Align);
    }
    if (auto* text = dynamic_cast<TRazmetTextItem*>(&item)) text->SetText("ABC");
    Rebuild();
    const TBox box = LabelBox(street_, c.Kind, c.Kind == TKolodItem::kKindIndex ? 1 : 0);
    ASSERT_LT(box.X0, box.X1) << c.What << ": no label";
    // Atlas text's width counts the spacing after its last character, so its drawn
    // right edge lies a little short of it (more on the small atlas of small devices).
    const auto edge = [&](float actual, double bound, double below, const char* which) {
      if (std::isnan(bound)) return;
      EXPECT_GE(actual, bound - below - 0.01) << c.What << ", " << which;
      EXPECT_LE(actual, bound + 0.01) << c.What << ", " << which;
    };
    edge(box.X0, c.Left, 0, "left");
    edge(box.X1, c.Right, 0.15, "right");
    edge(box.Y0, c.Bottom, 0, "bottom");
    edge(box.Y1, c.Top, 0, "top");
  }
  // Alignment 4 centres the label on the point, its middle 0.099 m below it.
  street_.ItemList(TKolodItem::kKindIndex).Clear();
  auto& manhole = Add<TKolodItem>(TKolodItem::kKindIndex, {{10, 10, 0}});
  manhole.SetOwner("ABC");
  manhole.SetTextAlign(4);
  Rebuild();
  const TBox box = LabelBox(street_, TKolodItem::kKindIndex, 1);
  EXPECT_NEAR(box.CX(), 10, 0.08);
  EXPECT_NEAR(box.CY(), 10 - 0.099, 0.01);
}

// The label place writes, for each segment in turn, the designation of every marking
// it crosses, in the markings' order; markings the library lacks get none.
TEST_F(RoadSymbolsTest, ALabelPlaceWritesExactlyTheCrossedMarkingsInOrder) {
  Add<TLineRazmetItem>(TLineRazmetItem::kKindIndex, {{0, 0, 0}, {20, 0, 0}}).SetGostName("1.5");
  Add<TLineRazmetItem>(TLineRazmetItem::kKindIndex, {{0, 3, 0}, {20, 3, 0}}).SetGostName("1.4");
  Add<TLineRazmetItem>(TLineRazmetItem::kKindIndex, {{0, 6, 0}, {20, 6, 0}}).SetGostName("9.99");
  Add<TLineRazmetItem>(TLineRazmetItem::kKindIndex, {{0, 9, 0}, {3, 9, 0}}).SetGostName("1.1");  // missed
  Add<TRazmetLabelPlaceItem>(TRazmetLabelPlaceItem::kKindIndex, {{5, -1, 0}, {5, 10, 0}, {8, 10, 0}, {8, 1, 0}});
  Rebuild();
  auto& labels = dynamic_cast<TDxTriangleCollection&>(
      *street_.KindCollections(TRazmetLabelPlaceItem::kKindIndex).at(1));
  std::vector<std::string> expected;
  for (const char* text : {"1.5", "1.4(желтая)", "1.4(желтая)"}) expected.push_back(Utf8ToCp1251(text));
  std::vector<TDxVertex> written;
  for (size_t i = 0; i < labels.Count(); ++i) {
    const TDxPrimView prim = labels.PrimAt(i);
    written.insert(written.end(), prim.Vertices.begin(), prim.Vertices.end());
  }
  // The texture coordinates spell the texts: compare them with the same texts laid out.
  std::vector<TDxVertex> spelt, quads;
  for (const std::string& text : expected) {
    BuildTextQuads(FontsData().BlackAtlas(), text, quads);
    spelt.insert(spelt.end(), quads.begin(), quads.end());
  }
  ASSERT_EQ(written.size(), spelt.size());
  for (size_t i = 0; i < spelt.size(); ++i) {
    ASSERT_FLOAT_EQ(written[i].U, spelt[i].U) << i;
    ASSERT_FLOAT_EQ(written[i].V, spelt[i].V) << i;
  }
  // Each label lies beside its crossing: the first at the first segment's, the last at
  // the third segment's.
  const auto centre = [&](size_t first, size_t count) {
    TXYZ sum{};
    for (size_t i = first; i < first + count; ++i) sum = {sum.x + written[i].X, sum.y + written[i].Y, 0};
    return TXYZ{sum.x / static_cast<float>(count), sum.y / static_cast<float>(count), 0};
  };
  const size_t firstCount = 6 * expected[0].size(), lastCount = 6 * expected[2].size();
  const TXYZ first = centre(0, firstCount), last = centre(written.size() - lastCount, lastCount);
  EXPECT_NEAR(first.x, 5, 0.2);
  EXPECT_NEAR(first.y, 0, 1.0);
  EXPECT_NEAR(last.x, 8, 0.2);
  EXPECT_NEAR(last.y, 3, 1.0);
}

// A text, a sign duplicate and the measures draw through the renderer every frame: a
// text its letters in one list, a sign its frame and sign (each after the labels'
// collection), a radius measure its lines; a change shows in the next frame.
TEST_F(RoadSymbolsTest, PerFrameSymbolsDrawTheirShapesThroughTheDevice) {
  auto& text = Add<TRazmetTextItem>(TRazmetTextItem::kKindIndex, {{0, 0, 0}, {0, 1, 0}});
  auto& sign = Add<TRazmetZnakItem>(TRazmetZnakItem::kKindIndex, {{3, 0, 0}});
  auto& radius = Add<TRadiusMeasureItem>(39, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
  const TMarkingFont& font = MarkingFont();
  const auto letters = [&](const char* utf8) {
    size_t count = 0;
    for (const char c : Utf8ToCp1251(utf8)) count += font.Glyph(static_cast<unsigned char>(c)).Triangles.size();
    return count;
  };
  struct TCase {
    const char* What;
    std::function<void()> Change;
    int32_t Kind;
    size_t Draws;
    size_t LastVertices;  // of the last draw; 0: not looked at
  };
  const TCase cases[] = {
      {"СТОП", [&] { text.SetText(Utf8ToCp1251("СТОП")); }, 15, 2, letters("СТОП")},
      {"a space draws nothing", [&] { text.SetText(Utf8ToCp1251("СТ ОП")); }, 15, 2, letters("СТОП")},
      {"a missing letter is the bar", [&] { text.SetText("Q"); }, 15, 2, 6},
      {"sign with frame", [&] { sign.SetSignName("3.24-40"); }, 16, 3, 0},
      {"frame without sign", [&] { sign.SetSignName("3.99"); }, 16, 2, 0},
      {"neither: placeholder", [&] { sign.SetSignName("7.1"); }, 16, 2, 6},
      {"arc", [] {}, 39, 3, 0},
      {"three points on a line", [&] { radius.Points().SetVertex(1, {1, 0, 0}); }, 39, 1, 3},
  };
  for (const TCase& c : cases) {
    c.Change();
    test::TRecordedFrame frame;
    frame.Device->SetRecordVertices(true);
    TDxDrawParams params;
    params.Renderer = frame.Renderer.get();
    params.Centre = {0, 0, 0};
    params.Radius = 100;
    street_.Draw(params, TKindSet{c.Kind}, 1u << 0);
    const std::vector<const TGpuCall*> draws = frame.Draws();
    ASSERT_EQ(draws.size(), c.Draws) << c.What;
    if (c.LastVertices != 0) {
      EXPECT_EQ(draws.back()->Vertices.size(), c.LastVertices) << c.What;
    }
  }
}

}  // namespace
}  // namespace vellmar
