#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {
namespace {

class TDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    renderer_ = std::make_unique<TdxRenderer>(
        100, 100,
        [this](std::unique_ptr<IGpuDevice>& made) {
          auto recording = std::make_unique<RecordingDevice>(100, 100);
          device_ = recording.get();
          made = std::move(recording);
          return D3D_OK;
        },
        nullptr);
    renderer_->BeginFrame();
    device_->ClearCalls();
  }

  TDxDrawParams View(float x, float radius) { return TDxDrawParams{renderer_.get(), TXYZ{x, 0, 0}, radius}; }

  std::vector<std::string> Calls() const { return device_->CallTexts(); }
  // The draw calls only, without the vertex format set before each.
  std::vector<const TGpuCall*> Draws() const {
    std::vector<const TGpuCall*> draws;
    for (const TGpuCall& call : device_->Calls()) {
      if (call.Text.starts_with("DrawPrimitive")) draws.push_back(&call);
    }
    return draws;
  }
  std::vector<std::string> DrawTexts() const {
    std::vector<std::string> texts;
    for (const TGpuCall* call : Draws()) texts.push_back(call->Text);
    return texts;
  }

  std::unique_ptr<TdxRenderer> renderer_;
  RecordingDevice* device_ = nullptr;
};

std::vector<TXYZ> Points(size_t count, float x = 0.0f) {
  std::vector<TXYZ> points(count);
  for (size_t i = 0; i < count; ++i) points[i] = TXYZ{x + static_cast<float>(i % 10) * 0.1f, 0.0f, 0.0f};
  return points;
}

TEST_F(TDrawTest, SevenThousandVerticesGoOutAsThreeThousandThreeThousandAndOneThousand) {
  TDxLineCollection lines;
  lines.AddSegments(nullptr, Points(7000));
  lines.Draw(View(0, 5));
  EXPECT_EQ(DrawTexts(),
            (std::vector<std::string>{"DrawPrimitive(2, 0, 1500)", "DrawPrimitive(2, 3000, 1500)",
                                      "DrawPrimitive(2, 6000, 500)"}));
  // The chunks are consecutive pieces of the collection's vertices.
  ASSERT_EQ(Draws().size(), 3u);
  ASSERT_EQ(Draws()[2]->Vertices.size(), 1000u);
  EXPECT_EQ(Draws()[2]->Vertices[0].X, lines.PrimAt(3000).Vertices[0].X);
  EXPECT_EQ(Draws()[2]->Vertices[999].X, lines.PrimAt(3499).Vertices[1].X);

  TDxTriangleCollection triangles;
  triangles.AddTriangles(nullptr, Points(6000));
  device_->ClearCalls();
  triangles.Draw(View(0, 5));
  EXPECT_EQ(DrawTexts(),
            (std::vector<std::string>{"DrawPrimitive(4, 0, 1000)", "DrawPrimitive(4, 3000, 1000)"}));
}

TEST_F(TDrawTest, FrameCountersAddAllStoredAndTheDrawnVertices) {
  TDxLineCollection lines;
  lines.AddSegments(nullptr, Points(20));           // near the view
  lines.AddSegments(nullptr, Points(10, 1000.0f));  // far away
  lines.Draw(View(0, 5));
  lines.Draw(View(0, 5));
  EXPECT_EQ(renderer_->FrameCounters().SubmittedVertices, 60u);
  EXPECT_EQ(renderer_->FrameCounters().DrawnVertices, 40u);
  EXPECT_EQ(device_->DrawnVertexCount(), 40u);

  TDxLineCollection empty;
  device_->ClearCalls();
  empty.Draw(View(0, 5));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(renderer_->FrameCounters().SubmittedVertices, 60u);
}

TEST_F(TDrawTest, TextureIsBoundAroundTheDrawAndUnboundAfter) {
  TDxTriangleCollection triangles;
  TBitmap picture(1, 1, TPixelFormat::pf24bit);
  triangles.CreateOwnTexture().AssignBitmap(picture);
  triangles.AddTriangles(nullptr, Points(3));
  triangles.Draw(View(0, 5));
  const std::vector<std::string> calls = Calls();
  ASSERT_GE(calls.size(), 5u);
  EXPECT_EQ(calls[0], "GetDeviceCaps()");
  EXPECT_EQ(calls[1], "CreateTexture(1, 1, 1, 0, 21, 1)");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetTexture(0, texture)"), 1);
  EXPECT_EQ(calls[calls.size() - 4], "DrawPrimitive(4, 0, 1)");
  EXPECT_EQ(calls[calls.size() - 3], "SetStreamSource(0, null, 0, 0)");
  EXPECT_EQ(calls[calls.size() - 2], "SetTexture(0, null)");
  EXPECT_EQ(calls[calls.size() - 1], "SetRenderState(27, 0)");
  const auto bind = std::find(calls.begin(), calls.end(), "SetTexture(0, texture)");
  EXPECT_LT(bind - calls.begin(), static_cast<ptrdiff_t>(calls.size()) - 3);

  // Everything filtered out by mode: the texture is still applied and taken off, nothing drawn.
  triangles.Clear();
  triangles.SetModeSet(1u << 2);
  triangles.AddTriangles(nullptr, Points(3));
  triangles.SetModeSet(1u << 5);
  device_->ClearCalls();
  triangles.Draw(View(0, 5));
  EXPECT_TRUE(Draws().empty());
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls().front(), "SetTexture(0, texture)");
  EXPECT_EQ(Calls().back(), "SetRenderState(27, 0)");

  // Nothing near the view: no device call at all.
  device_->ClearCalls();
  triangles.SetModeSet(0);
  triangles.Draw(View(500, 5));
  EXPECT_TRUE(Calls().empty());
}

TEST_F(TDrawTest, SharedTextureIsNotFreedWithTheCollection) {
  TTextureSurface shared;
  TBitmap picture(1, 1, TPixelFormat::pf24bit);
  shared.AssignBitmap(picture);
  {
    TDxTriangleCollection triangles;
    triangles.ShareTexture(&shared);
    triangles.AddTriangles(nullptr, Points(3));
    triangles.Draw(View(0, 5));
    EXPECT_EQ(triangles.Texture(), &shared);
  }
  EXPECT_EQ(shared.LinkCount(), 1u);
  EXPECT_EQ(shared.Width(), 1);
}

}  // namespace
}  // namespace vellmar
