#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/recording/RecordingDevice.h"

namespace vellmar {
namespace {

using testing::ElementsAre;

TEST(RecordingDevice, RecordsCallsWithTheirArguments) {
  RecordingDevice device(100, 50);
  device.SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFFu);
  device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
  device.SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FF00u, 1.0f, 0);
  device.SetTexture(0, nullptr);
  device.BeginScene();
  device.EndScene();
  device.Present();
  EXPECT_THAT(device.CallTexts(),
              ElementsAre("SetRenderState(139, 4294967295)", "SetTextureStageState(0, 1, 7)",
                          "SetSamplerState(0, 1, 3)", "Clear(0, 3, 4278255360, 1, 0)", "SetTexture(0, null)",
                          "BeginScene()", "EndScene()", "Present()"));
}

TEST(RecordingDevice, KeepsTheVerticesOfADraw) {
  RecordingDevice device(100, 50);
  device.SetFVF(DxVertexFVF);
  const TDxVertex strip[4] = {{0, 0, 0, 1, 0, 0}, {1, 0, 0, 2, 0, 0}, {0, 1, 0, 3, 0, 0}, {1, 1, 0, 4, 0, 0}};
  ASSERT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(TDxVertex)), D3D_OK);
  const TGpuCall& call = device.Calls().back();
  EXPECT_EQ(call.Text, "DrawPrimitiveUP(5, 2, 24)");
  ASSERT_EQ(call.Vertices.size(), 4u);
  EXPECT_EQ(call.Vertices[3].Color, 4u);
  EXPECT_EQ(device.DrawnVertexCount(), 4u);

  // Benchmarks switch the copies off; the counters go on.
  device.SetRecordVertices(false);
  device.DrawPrimitiveUP(D3DPT_LINELIST, 2, strip, sizeof(TDxVertex));
  EXPECT_TRUE(device.Calls().back().Vertices.empty());
  EXPECT_EQ(device.DrawnVertexCount(), 8u);
  EXPECT_EQ(device.DrawCallCount(), 2u);
}

// The recording device must refuse what the OpenGL device refuses, or tests would pass
// over calls that fail on screen.
TEST(RecordingDevice, RefusesTheCallsTheGlDeviceRefuses) {
  RecordingDevice device(100, 50);
  const TDxVertex v[3] = {};
  EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(TDxVertex)), D3DERR_INVALIDCALL)
      << "no vertex format set";
  device.SetFVF(DxVertexFVF);
  EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 0, v, sizeof(TDxVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, sizeof(TDxVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.DrawCallCount(), 0u);
  EXPECT_EQ(device.EndScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.BeginScene(), D3D_OK);
  EXPECT_EQ(device.BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.SetViewport({90, 0, 20, 50, 0.0f, 1.0f}), D3DERR_INVALIDCALL);
  std::unique_ptr<IGpuTexture> texture;
  EXPECT_EQ(device.CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3DERR_INVALIDCALL);
  EXPECT_EQ(texture, nullptr);
}

TEST(RecordingDevice, ViewportStartsAsTheWholeTarget) {
  RecordingDevice device(100, 50);
  D3DVIEWPORT9 viewport;
  device.GetViewport(viewport);
  EXPECT_EQ(viewport.Width, 100u);
  EXPECT_EQ(viewport.Height, 50u);
  ASSERT_EQ(device.SetViewport({10, 5, 20, 10, 0.0f, 1.0f}), D3D_OK);
  device.GetViewport(viewport);
  EXPECT_EQ(viewport.X, 10u);
  EXPECT_EQ(viewport.Height, 10u);
}

TEST(RecordingDevice, TexturesKeepWhatWasWrittenAndOutliveTheDevice) {
  std::unique_ptr<IGpuTexture> texture;
  {
    RecordingDevice device(10, 10);
    ASSERT_EQ(device.CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, locked, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 8);
    EXPECT_EQ(texture->LockRect(0, locked, 0), D3DERR_INVALIDCALL) << "already locked";
    static_cast<uint32_t*>(locked.pBits)[3] = 0xFF123456u;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_THAT(device.CallTexts(), ElementsAre("CreateTexture(2, 2, 1, 0, 21, 1)", "LockRect(0, 0)",
                                                "LockRect(0, 0)", "UnlockRect(0)"));
    EXPECT_EQ(device.Calls()[0].Texture, texture.get());
  }
  const auto& recorded = static_cast<RecordingTexture&>(*texture);
  EXPECT_EQ(recorded.Pixels()[3], 0xFF123456u);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(texture->LockRect(0, locked, 0), D3D_OK);
  EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
}

TEST(DxVertex, LayoutAndColourPacking) {
  EXPECT_EQ(offsetof(TDxVertex, Color), 12u);
  EXPECT_EQ(offsetof(TDxVertex, U), 16u);
  EXPECT_EQ(MakeColor(0x12, 0x34, 0x56, 0x78), 0x78123456u);
  EXPECT_EQ(VertexCountOf(D3DPT_LINESTRIP, 3), 4u);
  EXPECT_EQ(VertexCountOf(D3DPT_TRIANGLEFAN, 3), 5u);
  EXPECT_EQ(VertexCountOf(D3DPT_LINELIST, 3), 6u);
}

}  // namespace
}  // namespace vellmar
