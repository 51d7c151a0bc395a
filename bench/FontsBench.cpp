// Speed of the vector fonts: building a face's 256 glyphs (outlines read, curves
// flattened, contours tessellated) once per face, and drawing 10^4 text labels per
// frame against drawing the very same triangles from one prepared triangle collection:
// through the recording device (vertex recording off), so that the ratio is the cost
// of our per-label path, and on screen through the OpenGL device (wall-clock frames
// finished by the rasteriser). Prints the figures at the end.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "RecordingRenderer.h"
#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/text/TextLabelItem.h"
#include "platform/Error.h"
#include "platform/fonts/FontFace.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "platform/text/Cp1251.h"
#include "render/DisplayRenderer.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"

namespace vellmar {
namespace {

constexpr int32_t kTextLabel = 21;
constexpr int kGrid = 100;  // labels a side
constexpr double kSpacing = 10.0;
constexpr int32_t kLabelSize = 100;  // 6.25 world units a line

void BuildFace(benchmark::State& state, const char* name, TFontStyle style) {
  for (auto _ : state) {
    TFontsData data;
    benchmark::DoNotOptimize(&data.GetFont(name, style));
  }
}

void BM_GetFontArial(benchmark::State& state) { BuildFace(state, "Arial", 0); }
BENCHMARK(BM_GetFontArial)->Unit(benchmark::kMillisecond);

void BM_GetFontTimesBoldItalic(benchmark::State& state) {
  BuildFace(state, "Times New Roman", kFontBold | kFontItalic);
}
BENCHMARK(BM_GetFontTimesBoldItalic)->Unit(benchmark::kMillisecond);

void BM_GetFontCourierNew(benchmark::State& state) { BuildFace(state, "Courier New", 0); }
BENCHMARK(BM_GetFontCourierNew)->Unit(benchmark::kMillisecond);

// The large black atlas: 256 characters, each drawn ten times (halo and glyph).
void BM_BuildLargeAtlas(benchmark::State& state) {
  TFontFace face(MatchFont("Arial", 0));
  for (auto _ : state) {
    TFontTexture atlas;
    atlas.BuildAtlas(face, TFontsData::kLargeAtlas, TFontsData::kLargeAtlasPoints, 0);
    benchmark::DoNotOptimize(atlas.Width());
  }
}
BENCHMARK(BM_BuildLargeAtlas)->Unit(benchmark::kMillisecond);

// 10^4 labels on a 1 km square, turned every which way, a third of them right-aligned.
struct TLabelScene {
  TStreetStructure Street;
  TItemList* Labels = nullptr;

  TLabelScene() {
    RegisterAllItemKinds();
    Labels = &Street.ItemList(kTextLabel);
    const std::string text = Utf8ToCp1251("ПК 1+50");
    for (int i = 0; i < kGrid * kGrid; ++i) {
      auto& label = dynamic_cast<TTextLabelItem&>(*Labels->NewItem());
      const float x = static_cast<float>((i % kGrid) * kSpacing), y = static_cast<float>((i / kGrid) * kSpacing);
      const double angle = i * 0.37;
      label.Points().InsertNew(0, {x, y, 0});
      label.Points().InsertNew(1, {x + static_cast<float>(std::cos(angle)), y + static_cast<float>(std::sin(angle)), 0});
      label.SetText(text);
      label.SetSize(kLabelSize);
      label.SetAlign(static_cast<uint8_t>(i % 3 == 0 ? kAlignBaselineRight : kAlignBaselineLeft));
    }
  }
};

TLabelScene& Scene() {
  static TLabelScene scene;
  return scene;
}

// The view: the whole square on a 1000-pixel panel, 1.3 world units a pixel, where a
// label's glyphs are drawn (a pixel spans 20 font pixels only at 1.28).
void SetView(TdxRenderer& renderer) {
  renderer.World().LoadIdentity();
  renderer.World().Translate(true, -500, -500, 0);
  renderer.World().Scale(true, 1.0 / 640, 1.0 / 640, 1);
}

const TDxDrawParams Params(TdxRenderer& renderer) { return {&renderer, {500, 500, 0}, 1000}; }

void BM_DrawLabels(benchmark::State& state) {
  TLabelScene& scene = Scene();
  auto renderer = MakeRecordingRenderer();
  SetView(*renderer);
  for (auto _ : state) {
    renderer->BeginFrame();
    scene.Labels->DrawImmediate(Params(*renderer), 1);
  }
  state.SetItemsProcessed(state.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_DrawLabels)->Unit(benchmark::kMillisecond);

// The peer: every label's glyph triangles placed in the world once, in one collection.
TDxTriangleCollection& SameTriangles() {
  static const std::unique_ptr<TDxTriangleCollection> triangles = [] {
    TLabelScene& scene = Scene();
    auto made = std::make_unique<TDxTriangleCollection>();
    TMatrixShell place;
    for (int32_t i = 0; i < scene.Labels->Count(); ++i) {
      const auto& label = dynamic_cast<const TTextLabelItem&>(*scene.Labels->Items(i));
      TDxFont& font = GetFont(label.FontName(), label.FontStyle());
      const TXYZ anchor = label.Points().GetVertex(0);
      const double k = label.FontScale();
      place.LoadIdentity();
      place.Translate(false, anchor.x, anchor.y, 0);
      place.RotateZ(false, -double{label.Orientation()});
      place.Scale(false, k, k, k);
      place.Translate(false, AlignFactors(label.Align()).FX * StringWidth(font, label.Text()), 0, 0);
      double pen = 0;
      for (const char c : label.Text()) {
        const TCharOutLine& glyph = font.Char(static_cast<unsigned char>(c));
        std::vector<TXYZ> points;
        for (const TXYZ& p : glyph.Triangles)
          points.push_back(place.TransformPoint({static_cast<float>(p.x + pen), p.y, 0}));
        made->AddTriangles(nullptr, points);
        pen += glyph.AdvanceX;
      }
    }
    return made;
  }();
  return *triangles;
}

void BM_DrawSameTrianglesFromACollection(benchmark::State& state) {
  TDxTriangleCollection& triangles = SameTriangles();
  auto renderer = MakeRecordingRenderer();
  SetView(*renderer);
  for (auto _ : state) {
    renderer->BeginFrame();
    triangles.Draw(Params(*renderer));
  }
  state.counters["triangles"] = static_cast<double>(triangles.Count());
  state.SetItemsProcessed(state.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_DrawSameTrianglesFromACollection)->Unit(benchmark::kMillisecond);

// Wall-clock seconds of one finished frame on screen, per benchmark.
std::map<std::string, double>& OnScreenSeconds() {
  static std::map<std::string, double> seconds;
  return seconds;
}

void OnScreenFrames(benchmark::State& state, const char* name, const std::function<void(TdxRenderer&)>& draw) {
  constexpr uint32_t kPanel = 1000;
  std::optional<HeadlessGlContext> context;
  try {
    context.emplace(kPanel, kPanel);
  } catch (const EVellmarError& error) {
    state.SkipWithError(error.what());
    return;
  }
  HeadlessGlContext::TCurrent current(*context);
  TDisplayRenderer renderer(
      kPanel, kPanel, [](std::unique_ptr<IGpuDevice>& device) { return GlDevice::Create(kPanel, kPanel, device); },
      [&](const std::string& message) { state.SkipWithError(message.c_str()); });
  if (!renderer.HasDevice()) return;
  SetView(renderer);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    renderer.BeginFrame();
    renderer.ClearTarget(MakeColor(255, 255, 255, 255), true, true, true);
    draw(renderer);
    renderer.EndFrame();
    renderer.PresentFrame();
    glFinish();  // the frame is done only when the rasteriser is
  }
  OnScreenSeconds()[name] =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
}

void BM_OnScreenLabels(benchmark::State& state) {
  TLabelScene& scene = Scene();
  OnScreenFrames(state, "labels", [&](TdxRenderer& renderer) { scene.Labels->DrawImmediate(Params(renderer), 1); });
}
BENCHMARK(BM_OnScreenLabels)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_OnScreenSameTriangles(benchmark::State& state) {
  TDxTriangleCollection& triangles = SameTriangles();
  OnScreenFrames(state, "collection", [&](TdxRenderer& renderer) { triangles.Draw(Params(renderer)); });
}
BENCHMARK(BM_OnScreenSameTriangles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  for (const char* face : {"BM_GetFontArial", "BM_GetFontTimesBoldItalic", "BM_GetFontCourierNew"}) {
    const double ms = reporter.Time(face);
    if (ms > 0) std::printf("%s: %.1f ms for 256 glyphs (goal <= 30)\n", face + 3, ms);
  }
  if (const double atlas = reporter.Time("BM_BuildLargeAtlas"); atlas > 0)
    std::printf("large atlas: %.1f ms, once per program\n", atlas);
  const double labels = reporter.Time("BM_DrawLabels");
  const double collection = reporter.Time("BM_DrawSameTrianglesFromACollection");
  if (labels > 0 && collection > 0)
    std::printf("10^4 labels / the same triangles from one collection: %.2f (goal <= 3)\n", labels / collection);
  const auto& onScreen = vellmar::OnScreenSeconds();
  if (onScreen.contains("labels") && onScreen.contains("collection")) {
    std::printf("on screen (OpenGL, wall clock): labels %.0f ms, collection %.0f ms a frame, ratio %.2f (goal <= 3)\n",
                1e3 * onScreen.at("labels"), 1e3 * onScreen.at("collection"),
                onScreen.at("labels") / onScreen.at("collection"));
  }
  return 0;
}
