// The polygon tessellator against its peers on the same outlines: the GLU tessellator
// (odd rule, any input) and ear clipping (earcut.hpp, simple outlines with holes, when
// scripts/bench-peers could fetch it). Inputs: the real outlines (the shared fixtures,
// and the folder named by VELLMAR_EXTRA_POLYGONS when set: outlines kept apart from the
// repository), regular polygons of 10^2 ... 10^6 vertices, combs, outlines with many
// holes, wide stars, and small outlines through `Tesselate`, where the fixed cost of a
// call counts. The machine is shared: every side is timed in batches that alternate
// with the others, and the best batch counts (best of N); ratios are peer time / our
// time from the same run, so above 1 means ours is faster. A closing table sums up the
// real outlines: the median ratio, the worst, and how far our area is from GLU's.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "render/DxTesselator3.h"
#include "support/GluOracle.h"
#include "support/PolygonSamples.h"

#ifdef VELLMAR_HAVE_EARCUT
#include <earcut.hpp>

// Ear clipping reads our points as they are: the same float input for every side.
namespace mapbox::util {
template <>
struct nth<0, vellmar::TXYZ> {
  static float get(const vellmar::TXYZ& p) { return p.x; }
};
template <>
struct nth<1, vellmar::TXYZ> {
  static float get(const vellmar::TXYZ& p) { return p.y; }
};
}  // namespace mapbox::util
#endif

namespace vellmar {
namespace {

constexpr bool HaveEarcut =
#ifdef VELLMAR_HAVE_EARCUT
    true;
#else
    false;
#endif

// Both sides keep their memory from call to call, as the glyph build and `Tesselate`
// keep a tessellator: ours is cleared, ear clipping's object reused.
size_t RunOurs(const TXYZArrays& contours, TDxTesselator3::TPath first = TDxTesselator3::TPath::Fan) {
  thread_local TDxTesselator3 any;
  thread_local TDxTesselator3 sweep(TDxTesselator3::TSearch::Ordered, TDxTesselator3::TPath::Sweep);
  TDxTesselator3& tesselator = first == TDxTesselator3::TPath::Sweep ? sweep : any;
  tesselator.Clear();
  for (const TXYZArray& contour : contours) tesselator.AddContour(contour);
  tesselator.Proceed();
  return tesselator.Result().size();
}

size_t RunEarcut([[maybe_unused]] const TXYZArrays& contours) {
#ifdef VELLMAR_HAVE_EARCUT
  thread_local mapbox::detail::Earcut<uint32_t> earcut;
  earcut(contours);
  return earcut.indices.size();
#else
  return 0;
#endif
}

// CPU time of this thread: the machine is shared, and wall time would charge either
// side with whatever else runs at that moment.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Best seconds per call of each side.
struct TBest {
  double ours = INFINITY;
  double earcut = INFINITY;
  double glu = INFINITY;
  double sweep = INFINITY;  // ours with the sweep only, the reference path (real outlines)
};

// Calls per batch so that one batch of ours lasts about 50 us: long enough for the
// clock, short enough that a batch often runs undisturbed.
size_t BatchSize(const std::function<void()>& ours) {
  const double start = ThreadSeconds();
  ours();
  const double once = std::max(ThreadSeconds() - start, 1e-8);
  return std::clamp(static_cast<size_t>(50e-6 / once), size_t{1}, size_t{4096});
}

double TimeBatch(size_t calls, const std::function<void()>& run) {
  const double start = ThreadSeconds();
  for (size_t i = 0; i < calls; ++i) run();
  return (ThreadSeconds() - start) / static_cast<double>(calls);
}

// One batch of each side per iteration; the benchmark's own time counts ours only.
TBest Race(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& earcut,
           const std::function<void()>& glu, const std::function<void()>& sweep = nullptr) {
  const size_t calls = BatchSize(ours);
  TBest best;
  for (auto _ : state) {
    const double mine = TimeBatch(calls, ours);
    state.PauseTiming();
    if (HaveEarcut) best.earcut = std::min(best.earcut, TimeBatch(calls, earcut));
    best.glu = std::min(best.glu, TimeBatch(calls, glu));
    if (sweep) best.sweep = std::min(best.sweep, TimeBatch(calls, sweep));
    state.ResumeTiming();
    best.ours = std::min(best.ours, mine);
  }
  state.counters["ours_us"] = 1e6 * best.ours;
  state.counters["glu_ratio"] = best.glu / best.ours;
  if (HaveEarcut) state.counters["earcut_ratio"] = best.earcut / best.ours;
  return best;
}

double TriangleArea(double ax, double ay, double bx, double by, double cx, double cy) {
  return 0.5 * std::fabs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay));
}

// |our area - GLU's| / GLU's: the two must fill the same (odd rule). `path`: the path
// our run took.
double AreaDeviation(const TXYZArrays& contours, const char*& path) {
  TDxTesselator3 tesselator;
  for (const TXYZArray& contour : contours) tesselator.AddContour(contour);
  tesselator.Proceed();
  using TPath = TDxTesselator3::TPath;
  path = tesselator.Path() == TPath::Fan ? "fan" : (tesselator.Path() == TPath::Ears ? "ears" : "sweep");
  const auto ours = tesselator.Result();
  double area = 0.0;
  for (size_t i = 0; i + 2 < ours.size(); i += 3)
    area += TriangleArea(ours[i]->x, ours[i]->y, ours[i + 1]->x, ours[i + 1]->y, ours[i + 2]->x, ours[i + 2]->y);
  const std::vector<test::TPoint2> glu = test::GluTriangles(contours);
  double peer = 0.0;
  for (size_t i = 0; i + 2 < glu.size(); i += 3)
    peer += TriangleArea(glu[i].x, glu[i].y, glu[i + 1].x, glu[i + 1].y, glu[i + 2].x, glu[i + 2].y);
  return peer > 0.0 ? std::fabs(area - peer) / peer : std::fabs(area);
}

struct TRealResult {
  size_t vertices = 0;
  const char* path = "";
  TBest best;
  double deviation = 0.0;
};
// The last (the reported) run of each real outline, for the closing table.
std::map<std::string, TRealResult> RealResults;

void Compare(benchmark::State& state, const std::string& name, const TXYZArrays& contours, bool real) {
  const TBest best = Race(
      state, [&] { benchmark::DoNotOptimize(RunOurs(contours)); },
      [&] { benchmark::DoNotOptimize(RunEarcut(contours)); },
      [&] { benchmark::DoNotOptimize(test::GluTriangles(contours).size()); },
      real ? std::function<void()>([&] { benchmark::DoNotOptimize(RunOurs(contours, TDxTesselator3::TPath::Sweep)); })
           : nullptr);
  state.counters["vertices"] = static_cast<double>(test::VertexCount(contours));
  if (real) {
    TRealResult& result = RealResults[name];
    result.vertices = test::VertexCount(contours);
    result.best = best;
    result.deviation = AreaDeviation(contours, result.path);
  }
}

// Small outlines as the surfaces and symbols call it: one `Tesselate` per outline.
void CompareSmall(benchmark::State& state, const TXYZArrays& outlines) {
  const double calls = static_cast<double>(outlines.size());
  const TBest best = Race(
      state, [&] { for (const TXYZArray& outline : outlines) benchmark::DoNotOptimize(Tesselate(outline).size()); },
      [&] {
        for (const TXYZArray& outline : outlines) benchmark::DoNotOptimize(RunEarcut({outline}));
      },
      [&] {
        for (const TXYZArray& outline : outlines) benchmark::DoNotOptimize(test::GluTriangles({outline}).size());
      });
  state.counters["ns/call"] = 1e9 * best.ours / calls;
  if (HaveEarcut) state.counters["earcut_ns/call"] = 1e9 * best.earcut / calls;
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

void Register(const std::string& name, TXYZArrays contours, bool real = false) {
  benchmark::RegisterBenchmark(("Tesselate/" + name).c_str(),
                               [name, real, contours = std::move(contours)](benchmark::State& state) {
                                 Compare(state, name, contours, real);
                               })
      ->Unit(benchmark::kMicrosecond);
}

void RegisterReal(const std::string& prefix, const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return;
  for (auto& sample : test::ReadPolygonFixtures(folder))
    Register(prefix + sample.name, std::move(sample.contours), true);
}

void RegisterAll() {
  RegisterReal("fixture/", std::filesystem::path(VELLMAR_SHARED_DIR) / "fixtures" / "polygons");
  if (const char* extra = std::getenv("VELLMAR_EXTRA_POLYGONS")) RegisterReal("kept/", extra);
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

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// The real outlines in one table: per outline our time and both ratios, then the
// median and the worst of each ratio and the largest area deviation from GLU.
void PrintRealSummary() {
  if (RealResults.empty()) return;
  std::printf("\nReal outlines (best of N, ratio = peer time / our time):\n");
  std::printf("%-34s %8s %6s %10s %10s %8s %8s %9s\n", "outline", "vertices", "path", "ours_us", "sweep_us",
              "earcut", "glu", "area_dev");
  std::vector<double> earcut;
  std::vector<double> glu;
  double worstDeviation = 0.0;
  size_t earcutTwiceFaster = 0;
  for (const auto& [name, r] : RealResults) {
    const double e = r.best.earcut / r.best.ours;
    const double g = r.best.glu / r.best.ours;
    std::printf("%-34s %8zu %6s %10.3f %10.3f %8.2f %8.2f %9.1e\n", name.c_str(), r.vertices, r.path,
                1e6 * r.best.ours, 1e6 * r.best.sweep,
                HaveEarcut ? e : 0.0, g, r.deviation);
    if (HaveEarcut) earcut.push_back(e);
    glu.push_back(g);
    worstDeviation = std::max(worstDeviation, r.deviation);
    if (HaveEarcut && e < 0.5) ++earcutTwiceFaster;
  }
  std::printf("%zu outlines; GLU: median %.2f, worst %.2f; largest area deviation from GLU %.1e\n",
              RealResults.size(), Median(glu), *std::min_element(glu.begin(), glu.end()), worstDeviation);
  if (HaveEarcut)
    std::printf("ear clipping: median %.2f, worst %.2f, outlines where it is more than 2x faster: %zu\n",
                Median(earcut), *std::min_element(earcut.begin(), earcut.end()), earcutTwiceFaster);
  else
    std::printf("ear clipping: peer missing (earcut.hpp not found; scripts/bench-peers fetches it)\n");
}

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  if (!vellmar::HaveEarcut)
    std::printf("bench_TesselatorBench: the ear-clipping peer is missing (run scripts/bench-peers)\n");
  vellmar::RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  vellmar::PrintRealSummary();
  return 0;
}
