// Snapping a measuring point on the large street of the load benchmark (100,000 items:
// lawn polygons and curb lines of ten vertices each), as the viewer does on every mouse
// move in the measure mode. Peer: the reference snap that looks at every item's vertices
// and segments.
//
// Goal on the 2-core reference machine: a snap over 10^5 items < 5 ms.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "RatioReporter.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/ItemSnapper.h"
#include "support/BenchmarkStreet.h"

namespace vellmar {
namespace {

// Ten pixels at 0.05 m.
constexpr double kRadius = 0.5;

TStreetStructure& Street() {
  RegisterAllItemKinds();
  return test::LoadedBenchmarkStreet();
}

const TItemSnapper& Snapper() {
  static const TItemSnapper snapper(Street());
  return snapper;
}

void Snap(benchmark::State& state, TXYZ point, bool found) {
  const TItemSnapper& snapper = Snapper();
  const TKindSet visible = TKindRegistry::AllKinds();
  if (snapper.Snap(visible, point, kRadius).has_value() != found) state.SkipWithError("wrong snap");
  for (auto _ : state) benchmark::DoNotOptimize(snapper.Snap(visible, point, kRadius));
}

// Beside a vertex of the lawn at the grid's origin (a ring of radius 10 round it).
void BM_SnapCorner(benchmark::State& state) {
  Snap(state, {10.2f, 0.2f, 0}, true);
}
BENCHMARK(BM_SnapCorner)->Unit(benchmark::kMillisecond);

// Between the lawns: every box is looked at and nothing is near.
void BM_SnapNothing(benchmark::State& state) {
  Snap(state, {15, 15, 0}, false);
}
BENCHMARK(BM_SnapNothing)->Unit(benchmark::kMillisecond);

void BM_MakeSnapper(benchmark::State& state) {
  TStreetStructure& street = Street();
  for (auto _ : state) benchmark::DoNotOptimize(TItemSnapper(street));
}
BENCHMARK(BM_MakeSnapper)->Unit(benchmark::kMillisecond);

void BM_ReferenceSnap(benchmark::State& state) {
  TStreetStructure& street = Street();
  const TKindSet visible = TKindRegistry::AllKinds();
  for (auto _ : state) benchmark::DoNotOptimize(SnapToItems(street, visible, {15, 15, 0}, kRadius));
}
BENCHMARK(BM_ReferenceSnap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  const double corner = reporter.Time("BM_SnapCorner");
  const double nothing = reporter.Time("BM_SnapNothing");
  const double make = reporter.Time("BM_MakeSnapper");
  const double reference = reporter.Time("BM_ReferenceSnap");
  if (corner > 0) std::printf("snap over 10^5 items, at a lawn's corner: %.3f ms (goal < 5)\n", corner);
  if (nothing > 0) std::printf("snap over 10^5 items, nothing near: %.3f ms (goal < 5)\n", nothing);
  if (make > 0) std::printf("making the snapper for 10^5 items: %.2f ms\n", make);
  if (nothing > 0 && reference > 0) std::printf("snap / reference snap: %.3f\n", nothing / reference);
  return 0;
}
