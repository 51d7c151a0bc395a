// 10^4 road signs showing 50 distinct pictures of the bundled sign library, drawn through
// the recording device (our own cost, no GPU): the first frame plays each picture once,
// so it makes 50 textures, not 10^4; a frame is measured against the peer that draws
// the same number of plain textured quads, each with one of 50 ready textures.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "RecordingRenderer.h"
#include "document/NameValueList.h"
#include "document/StreetStructure.h"
#include "geometry/XYZ.h"
#include "items/ItemKinds.h"
#include "items/signs/EMFTexture.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/ZnakItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/metafile/MetafilePlayer.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {
namespace {

constexpr int kGrid = 100;  // signs a row and a column: 10^4
constexpr int kPictures = 50;
constexpr float kSpacing = 10;  // metres between posts

struct TSignScene {
  TNamedMetafileLib Library;
  TNameValueList Translation;
  TMetafile Missing;
  TSignLibraries Libraries{Library, Translation, Missing};
  TStreetStructure Street;
  int32_t FirstFrameTextures = -1;

  TSignScene() {
    RegisterAllItemKinds();
    Library.LoadDirectory(std::filesystem::path(__FILE__).parent_path() / ".." / "data" / "DataFiles" / "Знаки",
                          nullptr);
    for (int i = 0; i < kGrid * kGrid; ++i) {
      auto& sign = dynamic_cast<TZnakItem&>(*Street.ItemList(TZnakItem::kKindIndex).NewItem());
      sign.UseLibraries(Libraries);
      const TXYZ top{kSpacing * static_cast<float>(i % kGrid), kSpacing * static_cast<float>(i / kGrid), 0};
      sign.Points().InsertNew(0, {top.x, top.y - 4, 0});
      sign.Points().InsertNew(1, {top.x - 1, top.y, 0});
      sign.Points().InsertNew(2, top);
      sign.AddPlate().SetLibName(Library.Name(i % kPictures));
    }
  }
};

TSignScene& Scene() {
  static TSignScene scene;
  return scene;
}

// Everything in view; a screen pixel is far smaller than a plate unit, so every plate
// shows its picture.
TDxDrawParams Params(TdxRenderer& renderer) {
  return {&renderer, {kSpacing * kGrid / 2, kSpacing * kGrid / 2, 0}, 1e6f};
}

void DrawSigns(TdxRenderer& renderer) {
  renderer.BeginFrame();
  Scene().Street.Draw(Params(renderer), TKindSet{TZnakItem::kKindIndex}, 1u << 0);
}

// Runs first, in a fresh process: the cache is empty and the kind's collections unbuilt.
void BM_SignsFirstFrame(benchmark::State& state) {
  TSignScene& scene = Scene();
  auto renderer = MakeRecordingRenderer();
  for (auto _ : state) {
    const int32_t before = EMFTextureCache().CreatedCount();
    DrawSigns(*renderer);
    scene.FirstFrameTextures = EMFTextureCache().CreatedCount() - before;
  }
  state.counters["textures"] = scene.FirstFrameTextures;
  state.counters["cached"] = EMFTextureCache().Count();
}
BENCHMARK(BM_SignsFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SignsFrame(benchmark::State& state) {
  auto renderer = MakeRecordingRenderer();
  DrawSigns(*renderer);
  for (auto _ : state) DrawSigns(*renderer);
  state.counters["textures made"] = EMFTextureCache().CreatedCount();
  state.SetItemsProcessed(state.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_SignsFrame)->Unit(benchmark::kMillisecond);

// The peer: the same quads, each placed on the world shell and drawn with its texture,
// from 50 surfaces holding the same pictures played once.
class TPlainQuads {
 public:
  TPlainQuads() : renderer_(MakeRecordingRenderer()) {
    const TNamedMetafileLib& library = Scene().Library;
    for (int i = 0; i < kPictures; ++i) {
      const TMetafile& picture = library.Metafile(i);
      auto& surface = *surfaces_.emplace_back(std::make_unique<TTextureSurface>());
      surface.SetTransparentColor(255, 0, 255);
      surface.AssignBitmap(
          PlayMetafile(picture, MetafileTextureSide(picture.Width()), MetafileTextureSide(picture.Height())));
    }
  }

  void Frame() {
    renderer_->BeginFrame();
    TMatrixShell& world = renderer_->World();
    constexpr float w = 700;
    constexpr std::array<TDxVertex, 6> quad = {
        {{0, 0, 0, 0, 0, 0}, {w, 0, 0, 0, 1, 0}, {w, w, 0, 0, 1, 1}, {w, w, 0, 0, 1, 1}, {0, w, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0}}};
    for (int i = 0; i < kGrid * kGrid; ++i) {
      world.PushMatrix();
      world.Translate(false, kSpacing * (i % kGrid), kSpacing * (i / kGrid), 0);
      world.Scale(false, 1.0 / 150, -1.0 / 150, 1);
      world.Translate(false, -w / 2, -w / 2, 0);
      surfaces_[static_cast<size_t>(i % kPictures)]->Apply(*renderer_);
      renderer_->DrawVertexTriangles(quad);
      renderer_->BindTexture(nullptr);
      world.PopMatrix();
    }
  }

 private:
  std::unique_ptr<TdxRenderer> renderer_;
  std::vector<std::unique_ptr<TTextureSurface>> surfaces_;
};

// Its first frame: the 50 pictures played and their textures made.
void BM_PlainTexturedQuadsFirstFrame(benchmark::State& state) {
  for (auto _ : state) TPlainQuads().Frame();
}
BENCHMARK(BM_PlainTexturedQuadsFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainTexturedQuads(benchmark::State& state) {
  TPlainQuads quads;
  quads.Frame();
  for (auto _ : state) quads.Frame();
  state.SetItemsProcessed(state.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_PlainTexturedQuads)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  const int32_t textures = vellmar::Scene().FirstFrameTextures;
  if (textures >= 0) std::printf("first frame of 10^4 signs of 50 pictures: %d textures made (goal 50)\n", textures);
  const double first = reporter.Time("BM_SignsFirstFrame");
  const double signs = reporter.Time("BM_SignsFrame");
  const double quads = reporter.Time("BM_PlainTexturedQuads");
  if (signs > 0 && quads > 0) {
    std::printf("a frame of 10^4 signs / 10^4 plain textured quads: %.2f (goal <= 2)\n", signs / quads);
    const double firstQuads = reporter.Time("BM_PlainTexturedQuadsFirstFrame");
    if (first > 0 && firstQuads > 0) {
      std::printf("first frames (50 pictures played; the signs also build their posts and captions): %.2f\n",
                  first / firstQuads);
    }
  }
  return 0;
}
