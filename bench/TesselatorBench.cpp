// The polygon tessellator against the GLU tessellator on the same outlines: the real
// fixtures, regular polygons of 10^2 ... 10^6 vertices, combs (many split and merge
// vertices, many chains active at once) and outlines with many holes. Each benchmark
// alternates ours and GLU, and prints both rates and their ratio (GLU time / our time: above 1 means ours is
// faster).

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
  Register("random/200", {test::RandomOutline(200, 7)});
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
