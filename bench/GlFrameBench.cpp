// A full frame of 10^6 triangles through the OpenGL device on the headless context, in
// 3000-vertex chunks handed over from memory and, as primitive collections draw, from a
// vertex buffer kept on the device, against a memcpy of the same vertex bytes in the
// same run. There is no goal: without a GPU this measures
// the software rasteriser.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "platform/Error.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "render/DisplayRenderer.h"
#include "MemcpyPeer.h"

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

// The frame drawn either from memory (the vertices handed over with every draw) or from
// one vertex buffer written before the first frame, as collections draw.
void GlFrame(benchmark::State& state, bool fromBuffer) {
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
  const size_t bytes = vertices.size() * sizeof(TDxVertex);
  std::unique_ptr<IGpuVertexBuffer> buffer;
  if (fromBuffer) {
    void* data = nullptr;
    if (renderer.Device()->CreateVertexBuffer(static_cast<uint32_t>(bytes), D3DUSAGE_WRITEONLY, DxVertexFVF,
                                              D3DPOOL_DEFAULT, buffer) != D3D_OK ||
        buffer->Lock(0, 0, &data, D3DLOCK_DISCARD) != D3D_OK) {
      state.SkipWithError("no vertex buffer");
      return;
    }
    std::copy(vertices.begin(), vertices.end(), static_cast<TDxVertex*>(data));
    buffer->Unlock();
  }
  const double copySeconds = BestMemcpySeconds(bytes);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    renderer.BeginFrame();
    renderer.ClearTarget(MakeColor(255, 255, 255, 255), true, true, true);
    if (fromBuffer) renderer.BindVertexBuffer(buffer.get());
    for (size_t offset = 0; offset < vertices.size(); offset += ChunkVertices) {
      const auto count = static_cast<uint32_t>(std::min(ChunkVertices, vertices.size() - offset) / 3);
      if (fromBuffer)
        renderer.DrawBufferedPrimitives(D3DPT_TRIANGLELIST, static_cast<uint32_t>(offset), count);
      else
        renderer.DrawVertexArray(D3DPT_TRIANGLELIST, count, sizeof(TDxVertex), &vertices[offset]);
    }
    if (fromBuffer) renderer.BindVertexBuffer(nullptr);
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

void BM_GlFrameOfAMillionTriangles(benchmark::State& state) {
  GlFrame(state, false);
}
BENCHMARK(BM_GlFrameOfAMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_GlFrameOfAMillionTrianglesFromABuffer(benchmark::State& state) {
  GlFrame(state, true);
}
BENCHMARK(BM_GlFrameOfAMillionTrianglesFromABuffer)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace vellmar

BENCHMARK_MAIN();
