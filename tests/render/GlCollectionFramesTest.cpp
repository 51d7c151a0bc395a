// Collections drawn frame after frame by one renderer on the OpenGL device, their
// vertices kept in the device's buffers between frames: every frame of a pan (with
// items changing in between) must show the same pixels as the whole collection handed
// to the device directly.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/gpu/gl/GlDevice.h"
#include "render/DisplayRenderer.h"
#include "render/DxTriangleCollection.h"
#include "support/GlTestSupport.h"

namespace vellmar {

class TAbstractItem {};

namespace {

constexpr uint32_t Width = 96;
constexpr uint32_t Height = 64;
constexpr float kHalfWidth = 48;  // world units across half the frame: one unit a pixel

class GlCollectionFrames : public testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    context_ = test::TryHeadlessContext(Width, Height, why);
    if (!context_) GTEST_SKIP() << "no headless OpenGL context: " << why;
    current_.emplace(*context_);
    renderer_ = std::make_unique<TDisplayRenderer>(
        Width, Height,
        [](std::unique_ptr<IGpuDevice>& device) { return GlDevice::Create(Width, Height, device); },
        [](const std::string&) {});
    if (!renderer_->HasDevice()) VELLMAR_SKIP_OR_FAIL("no GL device on the headless context");
  }
  void TearDown() override {
    renderer_.reset();
    current_.reset();
  }

  // One frame centred on x; the collection drawn as collections draw, or, as the
  // reference, all its primitives in one call from memory.
  std::vector<uint32_t> Frame(TDxTriangleCollection& c, float x, bool reference) {
    renderer_->BeginFrame();
    renderer_->ClearTarget(MakeColor(255, 255, 255, 255), true, false, false);
    renderer_->ResetMatrices();
    renderer_->World().Translate(true, -x, 0, 0);
    renderer_->World().Scale(true, 1 / kHalfWidth, 1 / (kHalfWidth * Height / Width), 1);
    if (reference) {
      std::vector<TDxVertex> all;
      for (size_t i = 0; i < c.Count(); ++i) {
        if (c.PrimAt(i).Deleted) continue;
        all.insert(all.end(), c.PrimAt(i).Vertices.begin(), c.PrimAt(i).Vertices.end());
      }
      renderer_->DrawVertexTriangles(all);
    } else {
      c.Draw(TDxDrawParams{renderer_.get(), TXYZ{x, 0, 0}, kHalfWidth * 1.3f});
    }
    renderer_->EndFrame();
    return current_->ReadPixels();
  }

  std::unique_ptr<HeadlessGlContext> context_;
  std::optional<HeadlessGlContext::TCurrent> current_;
  std::unique_ptr<TDisplayRenderer> renderer_;
};

TEST_F(GlCollectionFrames, EveryFrameOfAPanShowsWhatTheWholeCollectionShows) {
  // Overlapping triangles of many colours along 600 units; their order decides which
  // colour shows where they overlap.
  std::mt19937 rng(5);
  TDxTriangleCollection c;
  std::vector<TAbstractItem> owners(6);
  int added = 0;
  const auto add = [&](int count) {
    for (int i = 0; i < count; ++i, ++added) {
      // Along x in the order of adding, as an item's pieces lie: views show long runs.
      const float x = static_cast<float>(added % 3000) * 0.2f - 100 + static_cast<float>(rng() % 4);
      const float y = static_cast<float>(rng() % 60) - 30;
      c.SetColor(MakeColor(static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 128, 255));
      c.AddTriangles(&owners[rng() % owners.size()],
                     std::vector<TXYZ>{TXYZ{x, y, 0}, TXYZ{x + 9, y + 2, 0}, TXYZ{x + 3, y + 8, 0}});
    }
  };
  add(3000);
  const float views[] = {0, 30, 120, 400, 0, 250, 260, -50};
  for (size_t step = 0; step < std::size(views); ++step) {
    if (step == 3) c.RemoveOwner(&owners[2]);  // compacts: the buffers' places move
    if (step == 5) add(200);                   // appended after the buffers were made
    if (step == 6) c.RemoveOwner(&owners[5]);
    const std::vector<uint32_t> drawn = Frame(c, views[step], false);
    const std::vector<uint32_t> expected = Frame(c, views[step], true);
    ASSERT_EQ(drawn, expected) << "frame " << step << " at x = " << views[step];
  }
  EXPECT_EQ(c.DeviceBufferCount(), 1u) << "drawn from the device's buffer";
}

}  // namespace
}  // namespace vellmar
