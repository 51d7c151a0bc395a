// The renderer's device calls, geometry and conversions, checked on the recording device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/Error.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DisplayRenderer.h"

namespace vellmar {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr int32_t PanelWidth = 200;
constexpr int32_t PanelHeight = 100;
constexpr uint32_t Red = MakeColor(255, 0, 0, 255);

// A renderer on a recording device that the test can read.
template <class TRenderer>
struct TRecorded {
  RecordingDevice* Device = nullptr;
  std::unique_ptr<TRenderer> Renderer;
  std::vector<std::string> Errors;

  TRecorded() {
    Renderer = std::make_unique<TRenderer>(
        PanelWidth, PanelHeight,
        [this](std::unique_ptr<IGpuDevice>& device) {
          auto recording = std::make_unique<RecordingDevice>(PanelWidth, PanelHeight);
          Device = recording.get();
          device = std::move(recording);
          return D3D_OK;
        },
        [this](const std::string& message) { Errors.push_back(message); });
    Device->ClearCalls();
  }

  std::vector<const TGpuCall*> Draws() const {
    std::vector<const TGpuCall*> draws;
    for (const TGpuCall& call : Device->Calls())
      if (call.Text.starts_with("DrawPrimitiveUP")) draws.push_back(&call);
    return draws;
  }
};

TXYZArray Line(std::initializer_list<TXYZ> Points) {
  return TXYZArray(Points);
}

TEST(DxRenderer, CreationReadsCapsBindsTheShellsAndReadsTheViewport) {
  RecordingDevice* device = nullptr;
  TdxRenderer renderer(
      PanelWidth, PanelHeight,
      [&](std::unique_ptr<IGpuDevice>& d) {
        auto recording = std::make_unique<RecordingDevice>(PanelWidth, PanelHeight);
        recording->Caps().MaxTextureWidth = 4096;
        device = recording.get();
        d = std::move(recording);
        return D3D_OK;
      },
      nullptr);
  EXPECT_THAT(device->CallTexts(), ElementsAre("GetDeviceCaps()", "SetTransform(256)", "SetTransform(2)",
                                               "SetTransform(3)", "GetViewport()"));
  EXPECT_EQ(renderer.Caps().MaxTextureWidth, 4096u);
  EXPECT_EQ(TdxRenderer::ProcessCaps().MaxTextureWidth, 4096u);
  EXPECT_EQ(renderer.Viewport().Width, 200u);
}

// A failed device creation is shown to the user, and the renderer then refuses to draw
// rather than crashing on a missing device.
TEST(DxRenderer, FailedDeviceIsReportedAndDrawingIsRefused) {
  for (const bool nullDevice : {false, true}) {
    std::vector<std::string> errors;
    TDisplayRenderer renderer(
        PanelWidth, PanelHeight,
        [&](std::unique_ptr<IGpuDevice>&) { return nullDevice ? D3D_OK : D3DERR_NOTAVAILABLE; },
        [&](const std::string& message) { errors.push_back(message); });
    EXPECT_THAT(errors, ElementsAre("dx9_dev create failed: -2005530518"));
    EXPECT_FALSE(renderer.HasDevice());
    renderer.BeginFrame();
    renderer.SetAmbientColor(Red);
    renderer.ClearTarget(Red, true, true, true);
    renderer.ResetMatrices();
    renderer.World().Translate(false, 1, 2, 0);
    renderer.PushMatrices();
    renderer.PopMatrices();
    renderer.BindTexture(nullptr);
    renderer.DrawPolyline(Line({{0, 0, 0}, {1, 1, 0}}), Red);
    renderer.DrawTexturedRibbon(Line({{0, 0, 0}, {1, 1, 0}}), true, Red, 1, 1, 0, -1, 1);
    const TDxVertex vertices[3] = {};
    renderer.DrawVertexArray(D3DPT_TRIANGLELIST, 1, sizeof(TDxVertex), vertices);
    renderer.EndFrame();
    renderer.PresentFrame();
    // Conversions need no device.
    const TXYZ centre = renderer.ScreenToWorld(100, 50);
    EXPECT_FLOAT_EQ(centre.x, -1.0f);
    EXPECT_FLOAT_EQ(centre.y, -2.0f);
  }
}

TEST(DxRenderer, FrameBracketSetsTheFixedStates) {
  TRecorded<TDisplayRenderer> r;
  r.Renderer->BeginFrame();
  r.Renderer->SetAmbientColor(MakeColor(196, 196, 255, 196));
  r.Renderer->ClearTarget(MakeColor(255, 255, 255, 255), true, true, true);
  r.Renderer->EndFrame();
  r.Renderer->PresentFrame();
  EXPECT_THAT(r.Device->CallTexts(),
              ElementsAre("BeginScene()", "SetRenderState(22, 1)", "SetRenderState(147, 1)",
                          "SetRenderState(139, 4294967295)", "SetRenderState(7, 0)", "SetFVF(322)",
                          "SetRenderState(139, 3301229823)", "Clear(0, 7, 4294967295, 1, 0)", "EndScene()",
                          "Present()"));

  TRecorded<TdxRenderer> base;
  base.Renderer->BeginFrame();
  base.Renderer->ClearTarget(0, true, false, false);
  base.Renderer->EndFrame();
  EXPECT_THAT(base.Device->CallTexts(), ElementsAre("SetRenderState(22, 1)", "SetRenderState(147, 1)",
                                                    "SetRenderState(139, 4294967295)", "SetRenderState(7, 0)",
                                                    "SetFVF(322)", "Clear(0, 1, 0, 1, 0)"));
}

TEST(DxRenderer, FailingSceneCallsRaise) {
  TRecorded<TDisplayRenderer> r;
  r.Renderer->BeginFrame();
  try {
    r.Renderer->BeginFrame();  // the device refuses a second BeginScene
    FAIL() << "no error raised";
  } catch (const EVellmarError& error) {
    EXPECT_STREQ(error.what(), "TDisplayRenderer.BeginFrame: BeginScene failed (-2005530516)");
  }
  r.Renderer->EndFrame();
  EXPECT_THROW(r.Renderer->EndFrame(), EVellmarError);
}

TEST(DxRenderer, ScratchArraysAreZeroedAndFreedAtTheNextFrame) {
  TRecorded<TdxRenderer> r;
  r.Renderer->BeginFrame();
  std::span<TDxVertex> a = r.Renderer->AllocFrameVertices(3);
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[2].Color, 0u);
  EXPECT_EQ(a[2].U, 0.0f);
  r.Renderer->DrawPolyline(Line({{0, 0, 0}, {1, 1, 0}}), Red);
  EXPECT_EQ(r.Renderer->FrameArrayCount(), 2u);
  r.Renderer->BeginFrame();
  EXPECT_EQ(r.Renderer->FrameArrayCount(), 0u);
}

TEST(DxRenderer, TextureBinding) {
  TRecorded<TdxRenderer> r;
  std::unique_ptr<IGpuTexture> texture;
  r.Device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture);
  r.Device->ClearCalls();
  r.Renderer->BindTexture(texture.get());
  r.Renderer->BindTexture(nullptr);
  EXPECT_THAT(r.Device->CallTexts(),
              ElementsAre("SetTexture(0, texture)", "SetTexture(0, null)", "SetRenderState(27, 0)"));
  EXPECT_EQ(r.Device->Calls()[0].Texture, texture.get());
}

// Each operation draws nothing below its minimum point count and one primitive batch
// of the right type and count from it on.
TEST(DxRenderer, ImmediateOperationsKeepTheirMinimumsAndCounts) {
  TRecorded<TdxRenderer> r;
  TXYZArray points;
  for (int i = 0; i < 7; ++i) points.push_back({static_cast<float>(i), static_cast<float>(i % 2), 0});
  const auto first = [&](size_t n) {
    return TXYZArray(points.begin(), points.begin() + static_cast<long>(n));
  };
  struct TCase {
    const char* Name;
    std::function<void(size_t)> Draw;
    size_t Minimum;
    size_t Points;
    const char* Expected;
  };
  TdxRenderer& renderer = *r.Renderer;
  const TCase cases[] = {
      {"DrawPoints", [&](size_t n) { renderer.DrawPoints(first(n), Red); }, 1, 3,
       "DrawPrimitiveUP(1, 3, 24)"},
      {"DrawPolyline", [&](size_t n) { renderer.DrawPolyline(first(n), Red); }, 2, 4,
       "DrawPrimitiveUP(3, 3, 24)"},
      {"DrawSegments", [&](size_t n) { renderer.DrawSegments(first(n), Red); }, 2, 5,
       "DrawPrimitiveUP(2, 2, 24)"},
      {"DrawTriangles", [&](size_t n) { renderer.DrawTriangles(first(n), Red); }, 3, 7,
       "DrawPrimitiveUP(4, 2, 24)"},
      {"DrawTexturedPolyline", [&](size_t n) { renderer.DrawTexturedPolyline(first(n), true, Red, 1, 0); }, 2,
       3, "DrawPrimitiveUP(3, 2, 24)"},
      {"DrawRibbon", [&](size_t n) { renderer.DrawRibbon(first(n), Red, 1, -1); }, 2, 3,
       "DrawPrimitiveUP(5, 4, 24)"},
      {"DrawTexturedRibbon",
       [&](size_t n) { renderer.DrawTexturedRibbon(first(n), false, Red, 1, 1, 0, -1, 1); }, 2, 2,
       "DrawPrimitiveUP(5, 2, 24)"},
  };
  for (const TCase& c : cases) {
    r.Device->ClearCalls();
    c.Draw(c.Minimum - 1);
    EXPECT_THAT(r.Draws(), IsEmpty()) << c.Name << " below its minimum";
    c.Draw(c.Points);
    ASSERT_EQ(r.Draws().size(), 1u) << c.Name;
    EXPECT_EQ(r.Draws()[0]->Text, c.Expected) << c.Name;
    EXPECT_EQ(r.Draws()[0]->Result, D3D_OK) << c.Name;
    EXPECT_EQ(r.Draws()[0]->Vertices[0].Color, Red) << c.Name;
  }
}

TEST(DxRenderer, VertexArrayOperations) {
  TRecorded<TdxRenderer> r;
  std::vector<TDxVertex> v(7);
  std::span<const TDxVertex> all(v);
  r.Renderer->DrawVertexLines(all.first(1));
  r.Renderer->DrawVertexFan(all.first(2));
  r.Renderer->DrawVertexTriangles(all.first(2));
  r.Renderer->DrawVertexStrip(all.first(2));
  r.Renderer->DrawVertexArray(D3DPT_LINELIST, 0, sizeof(TDxVertex), v.data());
  EXPECT_THAT(r.Draws(), IsEmpty());
  r.Renderer->DrawVertexLines(all.first(5));
  r.Renderer->DrawVertexFan(all.first(5));
  r.Renderer->DrawVertexTriangles(all.first(7));
  r.Renderer->DrawVertexStrip(all.first(5));
  r.Renderer->DrawVertexArray(D3DPT_LINELIST, 3, sizeof(TDxVertex), v.data());
  std::vector<std::string> texts;
  for (const TGpuCall* call : r.Draws()) texts.push_back(call->Text);
  EXPECT_THAT(texts, ElementsAre("DrawPrimitiveUP(2, 2, 24)", "DrawPrimitiveUP(6, 3, 24)",
                                 "DrawPrimitiveUP(4, 2, 24)", "DrawPrimitiveUP(5, 3, 24)",
                                 "DrawPrimitiveUP(2, 3, 24)"));
}

std::vector<float> UOf(const TGpuCall& Draw) {
  std::vector<float> u;
  for (const TDxVertex& v : Draw.Vertices) u.push_back(v.U);
  return u;
}

// With whole periods the texture must end exactly at a period boundary (U = 3 over
// 2.6 units with period 1); without, U is the length over the period.
TEST(DxRenderer, TextureUAlongALine) {
  TRecorded<TdxRenderer> r;
  const TXYZArray line = Line({{0, 0, 0}, {1, 0, 0}, {1, 1.6f, 0}});
  r.Renderer->DrawTexturedPolyline(line, true, Red, 1, 0.25);
  r.Renderer->DrawTexturedPolyline(line, false, Red, 1, 0.25);
  r.Renderer->DrawTexturedPolyline(line, false, Red, 0.5, 0.25);
  r.Renderer->DrawTexturedPolyline(Line({{0, 0, 0}, {0, 2.5f, 0}}), true, Red, 1, 0);  // 2.5 -> 2 repeats
  r.Renderer->DrawTexturedPolyline(Line({{0, 0, 0}, {0, 0.2f, 0}}), true, Red, 1, 0);  // at least 1 repeat
  r.Renderer->DrawTexturedPolyline(Line({{0, 0, 0}, {1, 0, 0}}), false, Red, 0, 0);    // period 0 counts as 1
  const auto draws = r.Draws();
  ASSERT_EQ(draws.size(), 6u);
  EXPECT_THAT(UOf(*draws[0]), ElementsAre(0.0f, testing::FloatEq(3 / 2.6f), testing::FloatEq(3.0f)));
  EXPECT_THAT(UOf(*draws[1]), ElementsAre(0.0f, 1.0f, testing::FloatEq(2.6f)));
  EXPECT_THAT(UOf(*draws[2]), ElementsAre(0.0f, 2.0f, testing::FloatEq(5.2f)));
  EXPECT_EQ(draws[0]->Vertices[1].V, 0.25f);
  EXPECT_THAT(UOf(*draws[3]), ElementsAre(0.0f, testing::FloatEq(2.0f)));
  EXPECT_THAT(UOf(*draws[4]), ElementsAre(0.0f, testing::FloatEq(1.0f)));
  EXPECT_THAT(UOf(*draws[5]), ElementsAre(0.0f, 1.0f));
}

TEST(DxRenderer, RibbonVerticesSitAtTheOffsetsInStripOrder) {
  TRecorded<TdxRenderer> r;
  // Straight run: the middle pair lies exactly at +-offset across the line.
  r.Renderer->DrawRibbon(Line({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}), Red, 0.5, -0.5);
  // A left turn by a right angle: the left side meets on the inner corner.
  r.Renderer->DrawRibbon(Line({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), Red, 1, -1);
  const auto draws = r.Draws();
  ASSERT_EQ(draws.size(), 2u);
  const auto& straight = draws[0]->Vertices;
  ASSERT_EQ(straight.size(), 6u);
  const float expected[6][2] = {{0, 0.5f}, {0, -0.5f}, {1, 0.5f}, {1, -0.5f}, {2, 0.5f}, {2, -0.5f}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(straight[i].X, expected[i][0]) << i;
    EXPECT_EQ(straight[i].Y, expected[i][1]) << i;
  }
  const auto& corner = draws[1]->Vertices;
  EXPECT_FLOAT_EQ(corner[2].X, 0.0f);
  EXPECT_FLOAT_EQ(corner[2].Y, 1.0f);
  EXPECT_FLOAT_EQ(corner[3].X, 2.0f);
  EXPECT_FLOAT_EQ(corner[3].Y, -1.0f);
  // The last point's pair lies across the last segment.
  EXPECT_FLOAT_EQ(corner[4].X, 0.0f);
  EXPECT_FLOAT_EQ(corner[5].X, 2.0f);
  EXPECT_FLOAT_EQ(corner[5].Y, 1.0f);
}

TEST(DxRenderer, TexturedRibbonCarriesUAlongAndVAcross) {
  TRecorded<TdxRenderer> r;
  r.Renderer->DrawTexturedRibbon(Line({{0, 0, 0}, {2.6f, 0, 0}}), true, Red, 1, 0.5, 0, -0.5, 1);
  const auto& v = r.Draws().at(0)->Vertices;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].U, 0.0f);
  EXPECT_EQ(v[1].U, 0.0f);
  EXPECT_FLOAT_EQ(v[2].U, 3.0f);
  EXPECT_FLOAT_EQ(v[3].U, 3.0f);
  EXPECT_EQ(v[0].V, 0.0f);
  EXPECT_EQ(v[1].V, 1.0f);
  EXPECT_EQ(v[2].V, 0.0f);
  EXPECT_EQ(v[3].V, 1.0f);
  EXPECT_EQ(v[0].Y, 0.5f);
  EXPECT_EQ(v[1].Y, -0.5f);
}

TEST(DxRenderer, PushAndPopMoveAllThreeShellsWorldFirst) {
  TRecorded<TdxRenderer> r;
  r.Renderer->PushMatrices();
  r.Renderer->World().Translate(false, 5, 0, 0);
  r.Renderer->View().Scale(false, 2, 2, 1);
  r.Device->ClearCalls();
  r.Renderer->PopMatrices();
  EXPECT_THAT(r.Device->CallTexts(), ElementsAre("SetTransform(256)", "SetTransform(2)", "SetTransform(3)"));
  EXPECT_TRUE(r.Renderer->World().IsIdentity());
  EXPECT_TRUE(r.Renderer->View().IsIdentity());
  EXPECT_EQ(r.Device->Calls()[0].Matrix.m, r.Renderer->World().GetMatrix().m);
  EXPECT_THROW(r.Renderer->PopMatrices(), EVellmarError);
}

// A plan-view-like world matrix: centre (cx, cy) at the panel centre, scaled and turned.
void SetPlanView(TdxRenderer& Renderer, double Cx, double Cy, double Scale, double Angle) {
  Renderer.ResetMatrices();
  Renderer.World().Translate(true, -Cx, -Cy, 0);
  Renderer.World().RotateZ(true, Angle);
  Renderer.World().Scale(true, Scale, Scale * PanelWidth / PanelHeight, 1);
}

TEST(DxRenderer, ScreenToWorldOfThePanelCentreIsTheViewCentre) {
  TRecorded<TdxRenderer> r;
  TXYZ centre = r.Renderer->ScreenToWorld(PanelWidth / 2, PanelHeight / 2);
  EXPECT_EQ(centre.x, 0.0f);
  EXPECT_EQ(centre.y, 0.0f);
  EXPECT_EQ(centre.z, 0.0f);
  SetPlanView(*r.Renderer, 1250.5, -310.25, 0.01, 0.3);
  centre = r.Renderer->ScreenToWorld(PanelWidth / 2, PanelHeight / 2);
  EXPECT_NEAR(centre.x, 1250.5, 1e-3);
  EXPECT_NEAR(centre.y, -310.25, 1e-3);
}

TEST(DxRenderer, WorldToScreenAndBackReturnToThePixel) {
  TRecorded<TdxRenderer> r;
  SetPlanView(*r.Renderer, 40, 25, 0.05, -0.7);
  for (int py = 0; py <= PanelHeight; py += 10) {
    for (int px = 0; px <= PanelWidth; px += 25) {
      const TXYZ world = r.Renderer->ScreenToWorld(px, py);
      const TXYZ screen = r.Renderer->WorldToScreen(world);
      EXPECT_EQ(screen.x, static_cast<float>(px));
      EXPECT_EQ(screen.y, static_cast<float>(py));
    }
  }
  // y runs down on the screen: a world point above the centre has a smaller pixel y.
  SetPlanView(*r.Renderer, 0, 0, 0.1, 0);
  EXPECT_EQ(r.Renderer->WorldToScreen({0, 1, 0}).y, 40.0f);
  EXPECT_EQ(r.Renderer->WorldToScreen({1, 0, 0}).x, 110.0f);
}

// When the unprojected line of sight is not parallel to the plan, the result is where
// it meets z = 0, not the near point.
TEST(DxRenderer, ScreenToWorldMeetsThePlan) {
  TRecorded<TdxRenderer> r;
  TMatrix44 m = {};
  m.m = {1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0.5f, 1};  // (x + z, y, z + 0.5)
  r.Renderer->World().SetMatrix(m);
  const TXYZ p = r.Renderer->ScreenToWorld(150, 25);  // NDC (0.5, 0.5)
  EXPECT_FLOAT_EQ(p.x, 0.5f);
  EXPECT_FLOAT_EQ(p.y, 0.5f);
  EXPECT_EQ(p.z, 0.0f);
}

TEST(DxRenderer, PixelSizeAndViewPlane) {
  TRecorded<TdxRenderer> r;
  SetPlanView(*r.Renderer, 10, 10, 0.02, 0);
  // One pixel is 2 / (200 * 0.02) = 0.5 world units each way.
  EXPECT_NEAR(r.Renderer->PixelSize(), std::hypot(0.5, 0.5) * 0.707, 1e-5);
  r.Renderer->ResetMatrices();
  r.Renderer->UpdateViewPlane();
  const TPlane& plane = r.Renderer->ViewPlane();
  EXPECT_EQ(plane.a, 0.0f);
  EXPECT_EQ(plane.b, 0.0f);
  EXPECT_EQ(plane.c, 1.0f);
  EXPECT_EQ(plane.d, 0.0f);
}

}  // namespace
}  // namespace vellmar
