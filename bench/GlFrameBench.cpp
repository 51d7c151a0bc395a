// A full frame of 10^6 triangles through the OpenGL device on the headless context,
// drawn the way primitive collections draw (3000-vertex chunks), against a memcpy of
// the same vertex bytes in the same run. There is no goal: without a GPU this measures
// the software rasteriser.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "platform/Error.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "render/DisplayRenderer.h"

namespace vellmar {
namespace {

constexpr uint32_t FrameWidth = 1024;
constexpr uint32_t FrameHeight = 768;
constexpr size_t TriangleCount = 1'000'000;
constexpr size_t ChunkVertices = 3000;

// Small triangles (a few pixels each) scattered over the frame, as a zoomed-out plan.
const std::vector<TDxVertex>& Triangles() {
  static const std::vector<TDxVertex> vertices = [] {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> position(-1.0f, 1.0f);
    std::uniform_real_distribution<float> offset(-0.006f, 0.006f);
    std::vector<TDxVertex> v(3 * TriangleCount);
    for (size_t t = 0; t < TriangleCount; ++t) {
      const float x = position(random), y = position(random);
      const uint32_t color = MakeColor(static_cast<uint8_t>(t), static_cast<uint8_t>(t >> 8), 128, 255);
      for (size_t k = 0; k < 3; ++k) v[3 * t + k] = {x + offset(random), y + offset(random), 0, color, 0, 0};
    }
    return v;
  }();
  return vertices;
}

// The peer: the best of five copies of the same vertex bytes.
double CopySeconds(const std::vector<TDxVertex>& Vertices) {
  std::vector<TDxVertex> target(Vertices.size());
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(target.data(), Vertices.data(), Vertices.size() * sizeof(TDxVertex));
    benchmark::DoNotOptimize(target.data());
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void BM_GlFrameOfAMillionTriangles(benchmark::State& state) {
  std::optional<HeadlessGlContext> context;
  try {
    context.emplace(FrameWidth, FrameHeight);
  } catch (const EVellmarError& error) {
    state.SkipWithError(error.what());
    return;
  }
  HeadlessGlContext::TCurrent current(*context);
  TDisplayRenderer renderer(
      FrameWidth, FrameHeight,
      [](std::unique_ptr<IGpuDevice>& device) { return GlDevice::Create(FrameWidth, FrameHeight, device); },
      [&](const std::string& message) { state.SkipWithError(message.c_str()); });
  if (!renderer.HasDevice()) return;
  const std::vector<TDxVertex>& vertices = Triangles();
  const double copySeconds = CopySeconds(vertices);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    renderer.BeginFrame();
    renderer.ClearTarget(MakeColor(255, 255, 255, 255), true, true, true);
    for (size_t offset = 0; offset < vertices.size(); offset += ChunkVertices) {
      const size_t count = std::min(ChunkVertices, vertices.size() - offset);
      renderer.DrawVertexArray(D3DPT_TRIANGLELIST, static_cast<uint32_t>(count / 3), sizeof(TDxVertex),
                               &vertices[offset]);
    }
    renderer.EndFrame();
    renderer.PresentFrame();
    glFinish();  // the frame is done only when the rasteriser is
  }
  const double frameSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
  state.counters["frame/memcpy"] = frameSeconds / copySeconds;
  // By wall-clock frame time: the rasteriser's threads do the work, so a rate counter
  // over this thread's CPU time would say nothing about the frame.
  state.counters["triangles/s"] = static_cast<double>(TriangleCount) / frameSeconds;
}
BENCHMARK(BM_GlFrameOfAMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace vellmar

BENCHMARK_MAIN();
