#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>

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

// Vertex buffers: what is written through locks is what later draws read, every byte
// written counts as uploaded, and what would read or write outside a buffer, or reach
// another device's buffer, is refused.
TEST(RecordingDevice, VertexBuffersCountWhatIsWrittenAndRefuseWhatReachesOutside) {
  RecordingDevice device(100, 50);
  RecordingDevice other(100, 50);
  std::unique_ptr<IGpuVertexBuffer> buffer, foreign, refused;
  ASSERT_EQ(device.CreateVertexBuffer(4 * sizeof(TDxVertex), D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT, buffer),
            D3D_OK);
  ASSERT_EQ(other.CreateVertexBuffer(sizeof(TDxVertex), D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT, foreign),
            D3D_OK);
  void* data = nullptr;
  ASSERT_EQ(buffer->Lock(2 * sizeof(TDxVertex), 0, &data, D3DLOCK_NOOVERWRITE), D3D_OK);  // to the end
  const TDxVertex line[2] = {{1, 0, 0, 7, 0, 0}, {2, 0, 0, 8, 0, 0}};
  std::memcpy(data, line, sizeof line);
  EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL) << "locked twice";
  device.SetFVF(DxVertexFVF);
  ASSERT_EQ(device.SetStreamSource(0, buffer.get(), 0, sizeof(TDxVertex)), D3D_OK);
  EXPECT_EQ(device.DrawPrimitive(D3DPT_LINELIST, 2, 1), D3DERR_INVALIDCALL) << "drawn while locked";
  ASSERT_EQ(buffer->Unlock(), D3D_OK);
  EXPECT_EQ(device.UploadedVertexBytes(), sizeof line);
  ASSERT_EQ(device.DrawPrimitive(D3DPT_LINELIST, 2, 1), D3D_OK);
  EXPECT_EQ(device.Calls().back().Text, "DrawPrimitive(2, 2, 1)");
  ASSERT_EQ(device.Calls().back().Vertices.size(), 2u);
  EXPECT_EQ(device.Calls().back().Vertices[1].Color, 8u);
  EXPECT_EQ(device.DrawnVertexCount(), 2u);

  struct TCase {
    const char* Call;
    HRESULT Result;
  };
  const TCase cases[] = {
      {"lock past the end", buffer->Lock(3 * sizeof(TDxVertex), 2 * sizeof(TDxVertex), &data, 0)},
      {"lock at the end", buffer->Lock(4 * sizeof(TDxVertex), 0, &data, 0)},
      {"unlock without lock", buffer->Unlock()},
      {"draw past the end", device.DrawPrimitive(D3DPT_LINELIST, 3, 1)},
      {"draw of no primitives", device.DrawPrimitive(D3DPT_LINELIST, 0, 0)},
      {"another device's buffer", device.SetStreamSource(0, foreign.get(), 0, sizeof(TDxVertex))},
      {"stream 1", device.SetStreamSource(1, buffer.get(), 0, sizeof(TDxVertex))},
      {"wrong stride", device.SetStreamSource(0, buffer.get(), 0, 12)},
      {"shorter than a vertex", device.CreateVertexBuffer(8, D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT, refused)},
      {"readable buffer", device.CreateVertexBuffer(96, 0, DxVertexFVF, D3DPOOL_DEFAULT, refused)},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Result, D3DERR_INVALIDCALL) << c.Call;
  EXPECT_EQ(device.UploadedVertexBytes(), sizeof line) << "refused locks upload nothing";
  ASSERT_EQ(device.SetStreamSource(0, nullptr, 0, 0), D3D_OK);
  EXPECT_EQ(device.DrawPrimitive(D3DPT_LINELIST, 0, 1), D3DERR_INVALIDCALL) << "no stream bound";

  // A buffer that outlives its device keeps working and records nothing.
  const size_t calls = other.Calls().size();
  {
    RecordingDevice gone(10, 10);
    ASSERT_EQ(gone.CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT, refused), D3D_OK);
  }
  EXPECT_EQ(refused->Lock(0, 0, &data, 0), D3D_OK);
  EXPECT_EQ(refused->Unlock(), D3D_OK);
  EXPECT_EQ(other.Calls().size(), calls);
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
