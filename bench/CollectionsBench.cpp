// Speed of the primitive collections: adding primitives, and drawing a collection of
// 10^6 triangles through the recording device (vertex recording off, so a draw costs what
// the collection does on the CPU to hand its buffers over; no pixel is made) with the
// view unchanged and after a view move that rebuilds the visible set, against a plain
// memcpy of the same vertex bytes, CPU time against CPU time; and pans of a zoomed-in view, which cull afresh
// each frame, against a memcpy of the vertices they show. Prints the ratios at the end, and the vertex bytes
// each kind of frame writes into the device's buffers.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "MemcpyPeer.h"
#include "RatioReporter.h"
#include "RecordingRenderer.h"

namespace vellmar {
namespace {

constexpr size_t kPrims = 1'000'000;

uint64_t UploadedBytes(const TdxRenderer& renderer) {
  return static_cast<const RecordingDevice*>(renderer.Device())->UploadedVertexBytes();
}

// Points on a 1000 x 1000 grid of 0.1-unit cells: a dense plan about 100 units across.
std::vector<TXYZ> GridPoints(size_t count) {
  std::vector<TXYZ> points(count);
  for (size_t i = 0; i < count; ++i) {
    const auto cell = i / 3;
    points[i] = TXYZ{static_cast<float>(cell % 1000) * 0.1f + (i % 3 == 1 ? 0.05f : 0.0f),
                     static_cast<float>(cell / 1000 % 1000) * 0.1f + (i % 3 == 2 ? 0.05f : 0.0f), 0.0f};
  }
  return points;
}

const std::vector<TXYZ>& TrianglePoints() {
  static const std::vector<TXYZ> points = GridPoints(3 * kPrims);
  return points;
}

void BM_AddLines(benchmark::State& state) {
  const std::vector<TXYZ> points = GridPoints(2 * kPrims);
  // A kind's collection is refilled, not made anew: its arrays keep their capacity.
  TDxLineCollection lines;
  for (auto _ : state) {
    lines.Clear();
    lines.AddSegments(nullptr, points);
    benchmark::DoNotOptimize(lines.Count());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPrims));
}
BENCHMARK(BM_AddLines)->Unit(benchmark::kMillisecond);

void BM_AddTriangles(benchmark::State& state) {
  TDxTriangleCollection triangles;
  for (auto _ : state) {
    triangles.Clear();
    triangles.AddTriangles(nullptr, TrianglePoints());
    benchmark::DoNotOptimize(triangles.Count());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPrims));
}
BENCHMARK(BM_AddTriangles)->Unit(benchmark::kMillisecond);

// The peer: copying the bytes that one draw of the whole collection hands over.
void BM_MemcpyVertices(benchmark::State& state) {
  std::vector<TDxVertex> source(3 * kPrims);
  std::vector<TDxVertex> target(3 * kPrims);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size() * sizeof(TDxVertex));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPrims));
}
BENCHMARK(BM_MemcpyVertices)->Unit(benchmark::kMillisecond);

void DrawTriangles(benchmark::State& state, bool moveView, bool someDeleted = false) {
  auto renderer = MakeRecordingRenderer();
  TDxTriangleCollection triangles;
  triangles.AddTriangles(nullptr, TrianglePoints());
  size_t live = kPrims;
  if (someDeleted) {
    // One in 20 flagged (below the compaction share): every primitive is checked.
    TDxPrimList all;
    triangles.TakeRecorded(all);
    TDxPrimList flagged;
    for (size_t i = 0; i < all.size(); i += 20) flagged.push_back(all[i]);
    triangles.MarkDeleted(flagged);
    live -= flagged.size();
  }
  // A radius that keeps every primitive visible from both view centres.
  TDxDrawParams params{renderer.get(), TXYZ{50.0f, 50.0f, 0.0f}, 1000.0f};
  triangles.Draw(params);
  const uint64_t uploadedBefore = UploadedBytes(*renderer);
  for (auto _ : state) {
    if (moveView) params.Centre.x = params.Centre.x == 50.0f ? 75.0f : 50.0f;
    // Counted per frame, so that the check below sees the last frame alone.
    renderer->FrameCounters() = {};
    triangles.Draw(params);
  }
  state.counters["uploaded B/frame"] =
      static_cast<double>(UploadedBytes(*renderer) - uploadedBefore) / static_cast<double>(state.iterations());
  if (renderer->FrameCounters().DrawnVertices != 3 * live) {
    state.SkipWithError(("a frame drew " + std::to_string(renderer->FrameCounters().DrawnVertices) +
                         " vertices, not the " + std::to_string(3 * live) + " of the live triangles")
                            .c_str());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPrims));
}

void BM_DrawViewUnchanged(benchmark::State& state) {
  DrawTriangles(state, false);
}
BENCHMARK(BM_DrawViewUnchanged)->Unit(benchmark::kMillisecond);

void BM_DrawViewUnchangedSomeDeleted(benchmark::State& state) {
  DrawTriangles(state, false, true);
}
BENCHMARK(BM_DrawViewUnchangedSomeDeleted)->Unit(benchmark::kMillisecond);

void BM_DrawAfterViewMove(benchmark::State& state) {
  DrawTriangles(state, true);
}
BENCHMARK(BM_DrawAfterViewMove)->Unit(benchmark::kMillisecond);

// A view of a few units panned back and forth across the plan: every frame culls afresh
// and shows a different tenth of the primitives.
void BM_DrawAfterPanZoomedIn(benchmark::State& state) {
  auto renderer = MakeRecordingRenderer();
  TDxTriangleCollection triangles;
  triangles.AddTriangles(nullptr, TrianglePoints());
  TDxDrawParams params{renderer.get(), TXYZ{25.0f, 25.0f, 0.0f}, 2.0f};
  triangles.Draw(params);
  const uint64_t shown = renderer->FrameCounters().DrawnVertices;
  params.Centre = TXYZ{75.0f, 75.0f, 0.0f};
  triangles.Draw(params);  // both views' primitives are in the device's buffer from here on
  const uint64_t uploadedBefore = UploadedBytes(*renderer);
  for (auto _ : state) {
    params.Centre.x = params.Centre.y = params.Centre.x == 25.0f ? 75.0f : 25.0f;
    triangles.Draw(params);
  }
  state.counters["uploaded B/frame"] =
      static_cast<double>(UploadedBytes(*renderer) - uploadedBefore) / static_cast<double>(state.iterations());
  state.counters["visible vertices"] = static_cast<double>(shown);
  state.counters["memcpy ms"] = 1e3 * BestMemcpySeconds(shown * sizeof(TDxVertex), TPeerClock::ThreadCpu);
}
BENCHMARK(BM_DrawAfterPanZoomedIn)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  const double memcpyMs = reporter.Time("BM_MemcpyVertices");
  const double unchanged = reporter.Time("BM_DrawViewUnchanged");
  const double checked = reporter.Time("BM_DrawViewUnchangedSomeDeleted");
  const double moved = reporter.Time("BM_DrawAfterViewMove");
  const double addLines = reporter.Time("BM_AddLines");
  const double addTriangles = reporter.Time("BM_AddTriangles");
  if (memcpyMs > 0 && unchanged > 0) {
    std::printf("draw, view unchanged / memcpy: %.2f (goal <= 2)\n", unchanged / memcpyMs);
  }
  if (memcpyMs > 0 && checked > 0) {
    std::printf("draw, view unchanged, 5%% flagged deleted / memcpy: %.2f (goal <= 2)\n", checked / memcpyMs);
  }
  if (memcpyMs > 0 && moved > 0) {
    std::printf("draw after view move: %.2f ms per 10^6 primitives (goal <= 20), %.2f x memcpy\n", moved,
                moved / memcpyMs);
  }
  const double panned = reporter.Time("BM_DrawAfterPanZoomedIn");
  const double pannedPeer = reporter.Counter("BM_DrawAfterPanZoomedIn", "memcpy ms");
  if (panned > 0 && pannedPeer > 0) {
    std::printf("draw after a pan of a zoomed-in view / memcpy of its visible vertices: %.2f\n", panned / pannedPeer);
  }
  for (const char* name :
       {"BM_DrawViewUnchanged", "BM_DrawViewUnchangedSomeDeleted", "BM_DrawAfterViewMove", "BM_DrawAfterPanZoomedIn"}) {
    std::printf("%s: %.0f vertex bytes written to the device per frame\n", name,
                reporter.Counter(name, "uploaded B/frame"));
  }
  if (addLines > 0) std::printf("adding lines: %.3g primitives/s (goal >= 1e7)\n", 1e3 * 1e6 / addLines);
  if (addTriangles > 0) {
    std::printf("adding triangles: %.3g primitives/s (goal >= 1e7)\n", 1e3 * 1e6 / addTriangles);
  }
  return 0;
}
