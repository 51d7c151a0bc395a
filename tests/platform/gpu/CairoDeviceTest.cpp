// The Cairo device drawing onto an image surface of 100 x 100 units (one unit a pixel
// here): where its primitives land, how textures map and combine, what it refuses, as
// the other devices do.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <memory>
#include <vector>

#include "geometry/Matrix.h"
#include "platform/gpu/DxVertex.h"
#include "platform/gpu/cairo/CairoDevice.h"
#include "platform/gpu/recording/RecordingDevice.h"

namespace vellmar {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRed = MakeColor(255, 0, 0, 255);
constexpr uint32_t kBlue = MakeColor(0, 0, 255, 255);

class CairoDeviceTest : public ::testing::Test {
 protected:
  CairoDeviceTest()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100), cairo_surface_destroy),
        cairo_(cairo_create(surface_.get()), cairo_destroy) {
    cairo_set_source_rgb(cairo_.get(), 1, 1, 1);
    cairo_paint(cairo_.get());
    // A target of 50 x 50 pixels over a page of 100 x 100 units, lines 4 units wide.
    device_ = std::make_unique<CairoDevice>(cairo_.get(), 50, 50, 100.0, 100.0, 4.0);
    device_->SetFVF(DxVertexFVF);
    device_->SetRenderState(D3DRS_AMBIENT, kWhite);
    device_->SetRenderState(D3DRS_LIGHTING, 1);
  }

  // The colour at a page unit, after the device drew what it holds.
  uint32_t At(int x, int y) {
    device_->Flush();
    cairo_surface_flush(surface_.get());
    uint32_t pixel;
    std::memcpy(&pixel, cairo_image_surface_get_data(surface_.get()) + y * cairo_image_surface_get_stride(surface_.get()) + 4 * x, 4);
    return pixel | 0xFF000000u;
  }

  // A quad of two triangles between NDC corners, with texture coordinates 0..1.
  void Quad(float x1, float y1, float x2, float y2, uint32_t color) {
    const TDxVertex v[] = {{x1, y1, 0, color, 0, 1}, {x2, y1, 0, color, 1, 1}, {x2, y2, 0, color, 1, 0},
                           {x1, y1, 0, color, 0, 1}, {x2, y2, 0, color, 1, 0}, {x1, y2, 0, color, 0, 0}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(TDxVertex)), D3D_OK);
  }

  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface_;
  std::unique_ptr<cairo_t, void (*)(cairo_t*)> cairo_;
  std::unique_ptr<CairoDevice> device_;
};

// Normalised device coordinates span the page, y up, whatever the target's pixel count:
// the left half of the NDC square is the left half of the page, exactly.
TEST_F(CairoDeviceTest, ShapesLandWhereTheirCoordinatesSayOnThePage) {
  Quad(-1, -1, 0, 1, kRed);
  struct TProbe {
    int X, Y;
    uint32_t Want;
  };
  const TProbe probes[] = {{1, 1, kRed}, {49, 98, kRed}, {51, 50, kWhite}, {98, 1, kWhite}};
  for (const TProbe& p : probes) EXPECT_EQ(At(p.X, p.Y), p.Want) << p.X << ", " << p.Y;
}

// The world, view and projection matrices apply in Direct3D's order (row vectors).
TEST_F(CairoDeviceTest, TransformsApplyWorldThenViewThenProjection) {
  TMatrix44 scale = MatrixIdentity(), shift = MatrixIdentity();
  scale.at(0, 0) = scale.at(1, 1) = 0.5f;
  shift.at(3, 0) = 0.5f;  // half the NDC square to the right
  device_->SetTransform(D3DTS_WORLD, scale);
  device_->SetTransform(D3DTS_PROJECTION, shift);
  Quad(-1, -1, 1, 1, kBlue);  // scaled into [-0.5, 0.5], then moved to [0, 1] across
  EXPECT_EQ(At(52, 50), kBlue);
  EXPECT_EQ(At(98, 50), kBlue);
  EXPECT_EQ(At(48, 50), kWhite);
  EXPECT_EQ(At(75, 20), kWhite);
}

// Lines are as wide as the device was told, in page units, not one target pixel.
TEST_F(CairoDeviceTest, LinesHaveThePaperWidth) {
  const TDxVertex line[] = {{-1, 0, 0, kRed, 0, 0}, {1, 0, 0, kRed, 0, 0}};
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(TDxVertex)), D3D_OK);
  for (const int y : {48, 49, 50, 51}) EXPECT_EQ(At(50, y), kRed) << y;
  for (const int y : {46, 53}) EXPECT_EQ(At(50, y), kWhite) << y;
}

// A 2 x 2 texture lies on a quad with each texel in its quarter; MODULATE tints it with
// the vertex colour, SELECTARG1 shows the texel as it is.
TEST_F(CairoDeviceTest, TexturesMapOntoTheirTrianglesAndCombineWithTheDiffuseColour) {
  std::unique_ptr<IGpuTexture> texture;
  ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, locked, 0), D3D_OK);
  const uint32_t texels[] = {kRed, kBlue, kWhite, MakeColor(0, 255, 0, 255)};
  std::memcpy(locked.pBits, texels, sizeof texels);
  ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
  ASSERT_EQ(device_->SetTexture(0, texture.get()), D3D_OK);
  device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  struct TCase {
    uint32_t Op;
    uint32_t Diffuse;
    uint32_t TopLeft, TopRight, BottomLeft;
  };
  const TCase cases[] = {
      {D3DTOP_SELECTARG1, MakeColor(0, 0, 0, 255), kRed, kBlue, kWhite},
      {D3DTOP_MODULATE, MakeColor(255, 0, 255, 255), kRed, kBlue, MakeColor(255, 0, 255, 255)},
  };
  for (const TCase& c : cases) {
    device_->SetTextureStageState(0, D3DTSS_COLOROP, c.Op);
    Quad(-1, -1, 1, 1, c.Diffuse);
    EXPECT_EQ(At(25, 25), c.TopLeft) << c.Op;
    EXPECT_EQ(At(75, 25), c.TopRight) << c.Op;
    EXPECT_EQ(At(25, 75), c.BottomLeft) << c.Op;
  }
}

// Only the clip rectangle is drawn on; the whole viewport again once it is lifted.
TEST_F(CairoDeviceTest, ClipToKeepsDrawingInsideItsRectangle) {
  device_->ClipTo(TPageRect{20, 20, 30, 30});
  Quad(-1, -1, 1, 1, kRed);
  EXPECT_EQ(At(30, 30), kRed);
  EXPECT_EQ(At(10, 30), kWhite);
  EXPECT_EQ(At(60, 60), kWhite);
  device_->ClipTo(std::nullopt);
  Quad(-1, -1, 1, 1, kBlue);
  EXPECT_EQ(At(10, 30), kBlue);
}

// The calls the other devices refuse, this one refuses too.
// Printing draws collections from vertex buffers: the device reads them back from its
// own memory and draws exactly what the same vertices handed over directly draw.
TEST_F(CairoDeviceTest, DrawsFromItsVertexBuffersAsFromMemory) {
  const TDxVertex quad[] = {{-1, 0, 0, kRed, 0, 0}, {0, 0, 0, kRed, 0, 0},  {0, -1, 0, kRed, 0, 0},
                            {-1, 0, 0, kRed, 0, 0}, {0, -1, 0, kRed, 0, 0}, {-1, -1, 0, kRed, 0, 0}};
  std::unique_ptr<IGpuVertexBuffer> buffer;
  ASSERT_EQ(device_->CreateVertexBuffer(8 * sizeof(TDxVertex), D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT,
                                        buffer),
            D3D_OK);
  void* data = nullptr;
  ASSERT_EQ(buffer->Lock(2 * sizeof(TDxVertex), sizeof quad, &data, D3DLOCK_DISCARD), D3D_OK);
  std::memcpy(data, quad, sizeof quad);
  ASSERT_EQ(buffer->Unlock(), D3D_OK);
  ASSERT_EQ(device_->SetStreamSource(0, buffer.get(), 0, sizeof(TDxVertex)), D3D_OK);
  ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 2, 2), D3D_OK);
  // The lower left quarter of the page, and nothing else.
  EXPECT_EQ(At(25, 75), kRed);
  EXPECT_EQ(At(75, 75), kWhite);
  EXPECT_EQ(At(25, 25), kWhite);
  EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 3, 2), D3DERR_INVALIDCALL) << "past the buffer's end";
  RecordingDevice other(50, 50);
  std::unique_ptr<IGpuVertexBuffer> foreign;
  ASSERT_EQ(other.CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, DxVertexFVF, D3DPOOL_DEFAULT, foreign), D3D_OK);
  EXPECT_EQ(device_->SetStreamSource(0, foreign.get(), 0, sizeof(TDxVertex)), D3DERR_INVALIDCALL);
}

TEST_F(CairoDeviceTest, RefusesWhatTheOtherDevicesRefuse) {
  RecordingDevice other(50, 50);
  std::unique_ptr<IGpuTexture> foreign, twoLevels;
  ASSERT_EQ(other.CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, foreign), D3D_OK);
  const TDxVertex v[3] = {};
  struct TCase {
    const char* Call;
    HRESULT Result;
  };
  const TCase cases[] = {
      {"unknown render state", device_->SetRenderState(9999, 0)},
      {"stage 1", device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE)},
      {"sampler filter 9", device_->SetSamplerState(0, D3DSAMP_MINFILTER, 9)},
      {"another device's texture", device_->SetTexture(0, foreign.get())},
      {"two levels", device_->CreateTexture(4, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, twoLevels)},
      {"viewport beyond the target", device_->SetViewport(D3DVIEWPORT9{40, 0, 20, 10, 0, 1})},
      {"unknown primitive", device_->DrawPrimitiveUP(99, 1, v, sizeof(TDxVertex))},
      {"wrong stride", device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, 12)},
      {"end without begin", device_->EndScene()},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Result, D3DERR_INVALIDCALL) << c.Call;
}

}  // namespace
}  // namespace vellmar
