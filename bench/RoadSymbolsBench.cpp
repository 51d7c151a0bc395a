// Painted symbols on a street: 10,000 arrows and 10,000 marking texts ("СТОП") on a
// grid. Measures the first build of their collections (arrow shapes and every symbol's
// label), and the texts' letters drawn every frame against the same triangles placed
// once in one collection, both through a recording device, in the same run.
//
// Goals: first build < 0.5 s CPU; the per-frame letters <= 3x the prepared collection.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/MarkingFont.h"
#include "items/road/RazmetTextItem.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "RatioReporter.h"
#include "RecordingRenderer.h"

namespace vellmar {
namespace {

constexpr int32_t kColumns = 100;
constexpr int32_t kRows = 100;
constexpr float kSpacing = 10.0f;  // metres between symbols

void Add(TStreetStructure& street, int32_t kind, const TXYZArray& points) {
  TAbstractItem& item = *street.ItemList(kind).NewItem();
  for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
}

// Arrows along x and texts across them, one of each in every grid cell.
std::unique_ptr<TStreetStructure> MakeStreet() {
  auto street = std::make_unique<TStreetStructure>();
  const std::string arrow = Utf8ToCp1251("Прямо и направо"), text = Utf8ToCp1251("СТОП");
  for (int32_t i = 0; i < kColumns * kRows; ++i) {
    const float x = static_cast<float>(i % kColumns) * kSpacing, y = static_cast<float>(i / kColumns) * kSpacing;
    Add(*street, TArrowRazmetItem::kKindIndex, {{x, y, 0}, {x + 5, y, 0}});
    dynamic_cast<TArrowRazmetItem&>(*street->ItemList(TArrowRazmetItem::kKindIndex).Items(i)).SetArrowName(arrow);
    Add(*street, TRazmetTextItem::kKindIndex, {{x + 7, y + 3, 0}, {x + 7, y - 1, 0}});
    dynamic_cast<TRazmetTextItem&>(*street->ItemList(TRazmetTextItem::kKindIndex).Items(i)).SetText(text);
  }
  return street;
}

const TKindSet kSymbolKinds{TArrowRazmetItem::kKindIndex, TRazmetTextItem::kKindIndex};

void BM_FirstBuild(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TStreetStructure> street = MakeStreet();
    state.ResumeTiming();
    street->RebuildKinds(kSymbolKinds);
    state.PauseTiming();
    street.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 2 * kColumns * kRows);
}
BENCHMARK(BM_FirstBuild)->Unit(benchmark::kMillisecond);

TStreetStructure& BuiltStreet() {
  static const std::unique_ptr<TStreetStructure> street = [] {
    std::unique_ptr<TStreetStructure> made = MakeStreet();
    made->RebuildKinds(kSymbolKinds);
    return made;
  }();
  return *street;
}

// The whole grid in view.
TDxDrawParams Params(TdxRenderer& renderer) {
  const float half = kColumns * kSpacing / 2;
  renderer.World().LoadIdentity();
  renderer.World().Translate(true, -half, -half, 0);
  renderer.World().Scale(true, 1.0 / half, 1.0 / half, 1);
  return {&renderer, {half, half, 0}, 2 * half};
}

void BM_DrawTextLetters(benchmark::State& state) {
  TItemList& texts = BuiltStreet().ItemList(TRazmetTextItem::kKindIndex);
  auto renderer = MakeRecordingRenderer();
  const TDxDrawParams params = Params(*renderer);
  for (auto _ : state) {
    renderer->BeginFrame();
    texts.DrawImmediate(params, 1);
  }
  state.SetItemsProcessed(state.iterations() * texts.Count());
}
BENCHMARK(BM_DrawTextLetters)->Unit(benchmark::kMillisecond);

// The peer: every text's letter triangles placed in the world once, in one collection.
TDxTriangleCollection& SameTriangles() {
  static const std::unique_ptr<TDxTriangleCollection> triangles = [] {
    TItemList& texts = BuiltStreet().ItemList(TRazmetTextItem::kKindIndex);
    auto made = std::make_unique<TDxTriangleCollection>();
    TMatrixShell place;
    std::vector<TXYZ> points;
    for (int32_t i = 0; i < texts.Count(); ++i) {
      auto& text = dynamic_cast<TRazmetTextItem&>(*texts.Items(i));
      const TXYZ at = text.Points().GetVertex(0);
      place.LoadIdentity();
      place.Translate(false, at.x, at.y, 0);
      place.RotateZ(false, -double{text.Orientation()});
      double pen = 0;
      for (const char c : text.Text()) {
        const TSymbolGlyph& glyph = MarkingFont().Glyph(static_cast<unsigned char>(c));
        points.clear();
        for (const TDxVertex& v : glyph.Triangles)
          points.push_back(place.TransformPoint({static_cast<float>(v.X + pen), v.Y, 0}));
        made->AddTriangles(nullptr, points);
        pen += glyph.Advance;
      }
    }
    return made;
  }();
  return *triangles;
}

void BM_DrawSameTrianglesFromACollection(benchmark::State& state) {
  TDxTriangleCollection& triangles = SameTriangles();
  auto renderer = MakeRecordingRenderer();
  const TDxDrawParams params = Params(*renderer);
  for (auto _ : state) {
    renderer->BeginFrame();
    triangles.Draw(params);
  }
  state.counters["triangles"] = static_cast<double>(triangles.Count());
}
BENCHMARK(BM_DrawSameTrianglesFromACollection)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  // The committed data files, unless the caller names others.
  const std::filesystem::path data = std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "DataFiles";
  setenv("VELLMAR_DATA", data.c_str(), 0);
  vellmar::RegisterAllItemKinds();
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  if (const double build = reporter.Time("BM_FirstBuild"); build > 0)
    std::printf("first build of 10^4 arrows and 10^4 texts: %.0f ms CPU (goal < 500)\n", build);
  const double letters = reporter.Time("BM_DrawTextLetters");
  const double collection = reporter.Time("BM_DrawSameTrianglesFromACollection");
  if (letters > 0 && collection > 0)
    std::printf("10^4 texts drawn per frame / the same triangles from one collection: %.2f (goal <= 3)\n",
                letters / collection);
  return 0;
}
