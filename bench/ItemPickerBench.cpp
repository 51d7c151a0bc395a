// Picking the item under the cursor on the large street of the load benchmark (100,000
// items: lawn polygons and curb lines of ten vertices each). A pick runs through every
// visible item from the top kind down, so a click on a lawn, the lowest kind there, and a
// click on empty ground, where nothing is found, are the slow cases. Peers: the reference
// pick that tests every item's shape, and a walk through each item's own HitTest
// (distance to its polyline), the generic test of the item interface.
//
// Goal on the 2-core reference machine: a pick over 10^5 items < 5 ms.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "RatioReporter.h"
#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/ItemPicker.h"
#include "support/BenchmarkStreet.h"

namespace vellmar {
namespace {

// Three pixels at 0.05 m.
constexpr double kTolerance = 0.15;

TStreetStructure& Street() {
  RegisterAllItemKinds();
  return test::LoadedBenchmarkStreet();
}

const TItemPicker& Picker() {
  static const TItemPicker picker(Street());
  return picker;
}

void Pick(benchmark::State& state, TXYZ point, bool found) {
  const TItemPicker& picker = Picker();
  const TKindSet visible = TKindRegistry::AllKinds();
  if ((picker.Pick(visible, point, kTolerance) != nullptr) != found) state.SkipWithError("wrong pick");
  for (auto _ : state) benchmark::DoNotOptimize(picker.Pick(visible, point, kTolerance));
}

// Inside the lawn at the grid's origin: every curb is passed first.
void BM_PickLawn(benchmark::State& state) {
  Pick(state, {1, 1, 0}, true);
}
BENCHMARK(BM_PickLawn)->Unit(benchmark::kMillisecond);

// Between the lawns: every item is looked at and none is hit.
void BM_PickNothing(benchmark::State& state) {
  Pick(state, {15, 15, 0}, false);
}
BENCHMARK(BM_PickNothing)->Unit(benchmark::kMillisecond);

// Making the picker once for a street, as the viewer does when a street is shown.
void BM_MakePicker(benchmark::State& state) {
  TStreetStructure& street = Street();
  for (auto _ : state) benchmark::DoNotOptimize(TItemPicker(street));
}
BENCHMARK(BM_MakePicker)->Unit(benchmark::kMillisecond);

void BM_ReferencePick(benchmark::State& state) {
  TStreetStructure& street = Street();
  const TKindSet visible = TKindRegistry::AllKinds();
  for (auto _ : state) benchmark::DoNotOptimize(PickItem(street, visible, {15, 15, 0}, kTolerance));
}
BENCHMARK(BM_ReferencePick)->Unit(benchmark::kMillisecond);

void BM_HitTestScan(benchmark::State& state) {
  TStreetStructure& street = Street();
  const TXYZ point{15, 15, 0};
  for (auto _ : state) {
    TAbstractItem* hit = nullptr;
    for (int32_t kind = kKindCount - 1; kind >= 0 && hit == nullptr; --kind) {
      TItemList& list = street.ItemList(kind);
      for (int32_t i = list.Count() - 1; i >= 0; --i) {
        float distance = 0;
        if (list.Items(i)->HitTest(point, distance, static_cast<float>(kTolerance))) {
          hit = list.Items(i);
          break;
        }
      }
    }
    benchmark::DoNotOptimize(hit);
  }
}
BENCHMARK(BM_HitTestScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  const double lawn = reporter.Time("BM_PickLawn");
  const double nothing = reporter.Time("BM_PickNothing");
  const double make = reporter.Time("BM_MakePicker");
  const double reference = reporter.Time("BM_ReferencePick");
  const double hitTests = reporter.Time("BM_HitTestScan");
  if (lawn > 0) std::printf("pick over 10^5 items, a lawn under all curbs: %.3f ms (goal < 5)\n", lawn);
  if (nothing > 0) std::printf("pick over 10^5 items, nothing there: %.3f ms (goal < 5)\n", nothing);
  if (make > 0) std::printf("making the picker for 10^5 items: %.2f ms\n", make);
  if (nothing > 0 && reference > 0) std::printf("pick / reference pick: %.3f\n", nothing / reference);
  if (nothing > 0 && hitTests > 0) std::printf("pick / per-item HitTest scan: %.3f\n", nothing / hitTests);
  return 0;
}
