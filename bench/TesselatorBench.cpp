// The polygon tessellator against the GLU tessellator on the same outlines: the real
// fixtures, regular polygons of 10^2 ... 10^6 vertices, combs (many split and merge
// vertices, many chains active at once), outlines with many holes, wide stars (thousands
// of chains active at once) and small outlines through `Tesselate`, where the fixed cost
// of a call counts. Each benchmark alternates ours and GLU, and prints both rates and
// their ratio (GLU time / our time: above 1 means ours is faster).

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "render/DxTesselator3.h"
#include "support/GluOracle.h"
#include "support/PolygonSamples.h"

namespace vellmar {
namespace {

size_t RunOurs(const TXYZArrays& contours) {
  TDxTesselator3 tesselator;
  for (const TXYZArray& contour : contours) tesselator.AddContour(contour);
  tesselator.Proceed();
  return tesselator.Result().size();
}

// CPU time of this thread: the machine is shared, and wall time would charge either
// side with whatever else runs at that moment.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Ours and GLU alternate on the same input, so both meet the same conditions; the
// benchmark's own time counts ours only.
void Compare(benchmark::State& state, const TXYZArrays& contours) {
  const double vertices = static_cast<double>(test::VertexCount(contours));
  double ours = 0.0;
  double glu = 0.0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    benchmark::DoNotOptimize(RunOurs(contours));
    const double middle = ThreadSeconds();
    state.PauseTiming();
    const double gluStart = ThreadSeconds();
    benchmark::DoNotOptimize(test::GluTriangles(contours).size());
    glu += ThreadSeconds() - gluStart;
    state.ResumeTiming();
    ours += middle - start;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["vertices"] = vertices;
  state.counters["ours_v/s"] = vertices * runs / ours;
  state.counters["glu_v/s"] = vertices * runs / glu;
  state.counters["ratio"] = glu / ours;
}

// Small outlines as the surfaces and symbols call it: one `Tesselate` per outline.
// Prints our time per call against the budget of 0.7 us + 40 ns per vertex.
void CompareSmall(benchmark::State& state, const TXYZArrays& outlines) {
  const double vertices = static_cast<double>(test::VertexCount(outlines));
  const double calls = static_cast<double>(outlines.size());
  double ours = 0.0;
  double glu = 0.0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    for (const TXYZArray& outline : outlines) benchmark::DoNotOptimize(Tesselate(outline).size());
    const double middle = ThreadSeconds();
    state.PauseTiming();
    const double gluStart = ThreadSeconds();
    for (const TXYZArray& outline : outlines) benchmark::DoNotOptimize(test::GluTriangles({outline}).size());
    glu += ThreadSeconds() - gluStart;
    state.ResumeTiming();
    ours += middle - start;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["ns/call"] = 1e9 * ours / (runs * calls);
  state.counters["budget_ns"] = 700.0 + 40.0 * vertices / calls;
  state.counters["ratio"] = glu / ours;
}

// Outlines of n vertices as surfaces and symbols have them: 100 regular polygons
// turned a little each (convex) and 100 stars (a split or merge vertex per spike).
TXYZArrays SmallOutlines(size_t n) {
  TXYZArrays outlines;
  for (uint32_t i = 0; i < 100; ++i) {
    outlines.push_back(test::RegularPolygon(n, 10.0, 0.0, 0.0, 0.01 * i));
    outlines.push_back(test::Star(n / 2, 10.0, 3.0 + 0.01 * i));
  }
  return outlines;
}

void Register(const std::string& name, TXYZArrays contours) {
  benchmark::RegisterBenchmark(("Tesselate/" + name).c_str(), [contours = std::move(contours)](
                                                                  benchmark::State& state) {
    Compare(state, contours);
  })->Unit(benchmark::kMicrosecond);
}

void RegisterAll() {
  const std::filesystem::path fixtures = std::filesystem::path(VELLMAR_SHARED_DIR) / "fixtures" / "polygons";
  std::error_code ec;
  if (std::filesystem::is_directory(fixtures, ec)) {
    for (auto& sample : test::ReadPolygonFixtures(fixtures))
      Register("fixture/" + sample.name, std::move(sample.contours));
  }
  for (size_t n : {100, 1000, 10000, 100000, 1000000})
    Register("ngon/" + std::to_string(n), {test::RegularPolygon(n, 1000.0)});
  for (size_t teeth : {10, 100, 1000}) Register("comb/" + std::to_string(teeth), {test::Comb(teeth)});
  Register("rings/10x1000", test::ConcentricRings(10, 1000));
  Register("holes/10000+100", test::OutlineWithHoles(10000, 100));
  Register("holes/200000+1000", test::OutlineWithHoles(200000, 1000));
  Register("star/10000", {test::Star(5000, 1000.0, 300.0)});
  Register("star/40000", {test::Star(20000, 1000.0, 300.0)});
  Register("random/200", {test::RandomOutline(200, 7)});
  for (size_t n : {4, 8, 16, 32, 48}) {
    benchmark::RegisterBenchmark(("Tesselate/small/" + std::to_string(n)).c_str(),
                                 [outlines = SmallOutlines(n)](benchmark::State& state) {
                                   CompareSmall(state, outlines);
                                 })
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
