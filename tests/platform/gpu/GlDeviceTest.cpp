// Pixels drawn through the OpenGL device on a headless context, checked against what
// Direct3D 9's fixed-function pipeline draws for the same calls.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/gl/GlDevice.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using test::ColorNear;

constexpr uint32_t Width = 64;
constexpr uint32_t Height = 48;
constexpr uint32_t White = MakeColor(255, 255, 255, 255);
constexpr uint32_t Red = MakeColor(255, 0, 0, 255);
constexpr uint32_t Blue = MakeColor(0, 0, 255, 255);
constexpr uint32_t Black = MakeColor(0, 0, 0, 255);

TMatrix44 Identity() {
  TMatrix44 m;
  m.m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  return m;
}

class GlDevicePixels : public testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    context_ = test::TryHeadlessContext(Width, Height, why);
    if (!context_) GTEST_SKIP() << "no headless OpenGL context: " << why;
    current_.emplace(*context_);
    ASSERT_EQ(GlDevice::Create(Width, Height, device_), D3D_OK);
    device_->SetFVF(DxVertexFVF);
    device_->SetRenderState(D3DRS_AMBIENT, White);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, White, 1.0f, 0);
  }
  void TearDown() override {
    device_.reset();
    current_.reset();
  }

  test::TPixels Read() const { return {Width, current_->ReadPixels()}; }

  // Two triangles covering the given rectangle in normalised device coordinates; U
  // and V run from (U0, V0) at the top left to (U1, V1) at the bottom right.
  void DrawQuad(float Left, float Top, float Right, float Bottom, uint32_t Color, float U0 = 0, float V0 = 0,
                float U1 = 1, float V1 = 1) {
    const TDxVertex quad[6] = {{Left, Top, 0, Color, U0, V0},     {Right, Top, 0, Color, U1, V0},
                               {Left, Bottom, 0, Color, U0, V1},  {Right, Top, 0, Color, U1, V0},
                               {Right, Bottom, 0, Color, U1, V1}, {Left, Bottom, 0, Color, U0, V1}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(TDxVertex)), D3D_OK);
  }

  // An A8R8G8B8 texture filled row by row (row 0 is the top, v = 0).
  std::unique_ptr<IGpuTexture> MakeTexture(uint32_t W, uint32_t H, const std::vector<uint32_t>& Texels) {
    std::unique_ptr<IGpuTexture> texture;
    EXPECT_EQ(device_->CreateTexture(W, H, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(texture->LockRect(0, locked, 0), D3D_OK);
    for (uint32_t y = 0; y < H; ++y)
      std::memcpy(static_cast<char*>(locked.pBits) + y * static_cast<uint32_t>(locked.Pitch), &Texels[y * W],
                  W * 4);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
  }

  void UseTexture(IGpuTexture* Texture, uint32_t ColorOp, uint32_t Arg1, uint32_t Arg2) {
    ASSERT_EQ(device_->SetTexture(0, Texture), D3D_OK);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, ColorOp);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, Arg1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, Arg2);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  }

  std::unique_ptr<HeadlessGlContext> context_;
  std::optional<HeadlessGlContext::TCurrent> current_;
  std::unique_ptr<IGpuDevice> device_;
};

// The viewport is given from the top of the target; OpenGL counts from the bottom. A
// missed flip clears and draws a band mirrored top to bottom.
TEST_F(GlDevicePixels, ViewportCountsFromTheTop) {
  const D3DVIEWPORT9 viewport{8, 4, 16, 8, 0.0f, 1.0f};
  ASSERT_EQ(device_->SetViewport(viewport), D3D_OK);
  device_->Clear(0, nullptr, D3DCLEAR_TARGET, Red, 1.0f, 0);
  DrawQuad(-1, 1, 0, 0, Blue);  // the top-left quarter of the viewport
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(8, 4), Blue));
  EXPECT_TRUE(ColorNear(pixels.At(15, 7), Blue));
  EXPECT_TRUE(ColorNear(pixels.At(16, 8), Red));
  EXPECT_TRUE(ColorNear(pixels.At(23, 11), Red));
  EXPECT_TRUE(ColorNear(pixels.At(7, 4), White));
  EXPECT_TRUE(ColorNear(pixels.At(8, 3), White));
  EXPECT_TRUE(ColorNear(pixels.At(24, 11), White));
  EXPECT_TRUE(ColorNear(pixels.At(23, 12), White));
}

TEST_F(GlDevicePixels, ClearOnlyTouchesTheGivenRectangles) {
  const D3DRECT rects[2] = {{0, 0, 2, 2}, {60, 40, 70, 50}};
  device_->Clear(2, rects, D3DCLEAR_TARGET, Red, 1.0f, 0);
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(1, 1), Red));
  EXPECT_TRUE(ColorNear(pixels.At(2, 1), White));
  EXPECT_TRUE(ColorNear(pixels.At(63, 47), Red));
  EXPECT_TRUE(ColorNear(pixels.At(59, 47), White));
  EXPECT_EQ(device_->Clear(0, nullptr, 0, Red, 1.0f, 0), D3DERR_INVALIDCALL);
}

// Direct3D 9 puts pixel centres on whole screen coordinates: a point at screen (x, y)
// lights exactly pixel (x, y). OpenGL's own centres are half a pixel off, which would
// move such a point onto a pixel corner.
TEST_F(GlDevicePixels, PointAtAPixelCentreLightsThatPixelOnly) {
  const float x = 2.0f * 10 / Width - 1.0f;
  const float y = 1.0f - 2.0f * 5 / Height;
  const TDxVertex point{x, y, 0, Red, 0, 0};
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof point), D3D_OK);
  const test::TPixels pixels = Read();
  int lit = 0;
  for (uint32_t py = 0; py < Height; ++py)
    for (uint32_t px = 0; px < Width; ++px) lit += pixels.At(px, py) != White;
  EXPECT_EQ(lit, 1);
  EXPECT_TRUE(ColorNear(pixels.At(10, 5), Red));
}

// Vertex colours are ARGB words; reading their bytes in the wrong order swaps red and blue.
TEST_F(GlDevicePixels, VertexColourChannelsKeepTheirPlaces) {
  DrawQuad(-1, 1, 1, -1, MakeColor(200, 100, 30, 255));
  EXPECT_TRUE(ColorNear(Read().At(32, 24), MakeColor(200, 100, 30, 255)));
}

// Positions go through World, then View, then Projection as row vectors. With the
// order reversed the translation below would be scaled as well.
TEST_F(GlDevicePixels, TransformsApplyWorldThenViewThenProjection) {
  TMatrix44 world = Identity();
  world.at(3, 0) = 0.5f;  // x + 0.5
  TMatrix44 view = Identity();
  view.at(0, 0) = 0.5f;  // x / 2
  TMatrix44 projection = Identity();
  projection.at(1, 1) = -1.0f;  // y mirrored
  device_->SetTransform(D3DTS_WORLD, world);
  device_->SetTransform(D3DTS_VIEW, view);
  device_->SetTransform(D3DTS_PROJECTION, projection);
  const TDxVertex point{0.0f, 0.5f, 0, Red, 0, 0};
  device_->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof point);
  // NDC (0.25, -0.5): screen x = (0.25 + 1) / 2 * 64 = 40, y = (1 + 0.5) / 2 * 48 = 36.
  EXPECT_TRUE(ColorNear(Read().At(40, 36), Red));
}

TEST_F(GlDevicePixels, AmbientTintMultipliesTheVertexColour) {
  device_->SetRenderState(D3DRS_AMBIENT, MakeColor(128, 255, 64, 0));
  DrawQuad(-1, 1, 0, -1, White);
  DrawQuad(0, 1, 1, -1, MakeColor(200, 100, 255, 255));
  device_->SetRenderState(D3DRS_LIGHTING, 0);
  DrawQuad(-1, 0, 1, -1, MakeColor(10, 20, 30, 255));
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(10, 5), MakeColor(128, 255, 64, 255)));
  EXPECT_TRUE(ColorNear(pixels.At(50, 5), MakeColor(100, 100, 64, 255)));
  // Without lighting the tint does not apply.
  EXPECT_TRUE(ColorNear(pixels.At(10, 40), MakeColor(10, 20, 30, 255)));
}

TEST_F(GlDevicePixels, TextureStageColourOperations) {
  const uint32_t texel = MakeColor(100, 60, 200, 255);
  auto texture = MakeTexture(1, 1, {texel});
  const uint32_t diffuse = MakeColor(128, 255, 0, 255);
  struct TCase {
    uint32_t Op;
    uint32_t Expected;
  };
  const TCase cases[] = {
      {D3DTOP_SELECTARG1, texel},
      {D3DTOP_SELECTARG2, diffuse},
      {D3DTOP_ADD, MakeColor(228, 255, 200, 255)},
      {D3DTOP_ADDSIGNED, MakeColor(100, 187, 72, 255)},
      {D3DTOP_MODULATE, MakeColor(50, 60, 0, 255)},
      {D3DTOP_MODULATE2X, MakeColor(100, 120, 0, 255)},
      {D3DTOP_MODULATE4X, MakeColor(201, 240, 0, 255)},
  };
  for (const TCase& c : cases) {
    UseTexture(texture.get(), c.Op, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    DrawQuad(-1, 1, 1, -1, diffuse);
    EXPECT_TRUE(ColorNear(Read().At(32, 24), c.Expected, 3)) << "colour operation " << c.Op;
  }
}

// A black vertex colour added to the texture leaves the texture; the arguments may
// come in either order.
TEST_F(GlDevicePixels, AddWithBlackVertexColourShowsTheTexture) {
  auto texture = MakeTexture(2, 1, {Red, Blue});
  UseTexture(texture.get(), D3DTOP_ADD, D3DTA_DIFFUSE, D3DTA_TEXTURE);
  DrawQuad(-1, 1, 1, -1, Black);
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(10, 24), Red));
  EXPECT_TRUE(ColorNear(pixels.At(50, 24), Blue));
}

// Texture row 0 is the top of the picture and lies at v = 0.
TEST_F(GlDevicePixels, TextureRowZeroIsAtVZero) {
  auto texture = MakeTexture(1, 2, {Red, Blue});
  UseTexture(texture.get(), D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  DrawQuad(-1, 1, 1, -1, White);
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(32, 5), Red));
  EXPECT_TRUE(ColorNear(pixels.At(32, 40), Blue));
}

// U from 0 to 2 over the target: wrap repeats the red-blue texture, clamp stretches
// its last column over the second half.
TEST_F(GlDevicePixels, WrapRepeatsAndClampStretchesTheEdge) {
  auto texture = MakeTexture(2, 1, {Red, Blue});
  UseTexture(texture.get(), D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
  DrawQuad(-1, 1, 1, 0, White, 0, 0, 2, 1);
  device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  DrawQuad(-1, 0, 1, -1, White, 0, 0, 2, 1);
  const test::TPixels pixels = Read();
  const uint32_t xs[4] = {8, 24, 40, 56};
  const uint32_t wrapped[4] = {Red, Blue, Red, Blue};
  const uint32_t clamped[4] = {Red, Blue, Blue, Blue};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(ColorNear(pixels.At(xs[i], 10), wrapped[i])) << "wrap, quarter " << i;
    EXPECT_TRUE(ColorNear(pixels.At(xs[i], 36), clamped[i])) << "clamp, quarter " << i;
  }
}

TEST_F(GlDevicePixels, LinearFilterBlendsNeighbouringTexels) {
  auto texture = MakeTexture(2, 1, {Black, White});
  UseTexture(texture.get(), D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  DrawQuad(-1, 1, 1, -1, White);
  const test::TPixels pixels = Read();
  // Halfway between the texel centres the two mix evenly.
  EXPECT_TRUE(ColorNear(pixels.At(32, 24), MakeColor(128, 128, 128, 255), 6));
  EXPECT_TRUE(ColorNear(pixels.At(2, 24), Black, 6));
}

// The texture's alpha decides how much of it covers what is below, but only with
// blending on.
TEST_F(GlDevicePixels, BlendingBySourceAlpha) {
  auto texture = MakeTexture(2, 1, {Red & 0x00FFFFFFu, (Red & 0x00FFFFFFu) | 0x80000000u});
  UseTexture(texture.get(), D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  DrawQuad(-1, 1, 1, 0, White);
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  DrawQuad(-1, 0, 1, -1, White);
  const test::TPixels pixels = Read();
  EXPECT_TRUE(ColorNear(pixels.At(10, 10), White));
  EXPECT_TRUE(ColorNear(pixels.At(50, 10), MakeColor(255, 127, 127, 255), 3));
  EXPECT_TRUE(ColorNear(pixels.At(10, 36), Red));
}

// Untextured drawing shows the vertex colour whatever the stage says.
TEST_F(GlDevicePixels, NoTextureDrawsTheVertexColour) {
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
  DrawQuad(-1, 1, 1, -1, Blue);
  EXPECT_TRUE(ColorNear(Read().At(32, 24), Blue));
}

// A texture the program frees while bound must not leave the device sampling a
// deleted name.
TEST_F(GlDevicePixels, FreeingTheBoundTextureUnbindsIt) {
  auto texture = MakeTexture(1, 1, {Red});
  UseTexture(texture.get(), D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  texture.reset();
  DrawQuad(-1, 1, 1, -1, Blue);
  EXPECT_TRUE(ColorNear(Read().At(32, 24), Blue));
}

TEST_F(GlDevicePixels, RefusesWhatItDoesNotEmulate) {
  const TDxVertex v[3] = {};
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 0, v, sizeof(TDxVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, 20), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawPrimitiveUP(9, 1, v, sizeof(TDxVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetFVF(0x102), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetViewport({0, 0, Width + 1, Height, 0.0f, 1.0f}), D3DERR_INVALIDCALL);
  std::unique_ptr<IGpuTexture> texture;
  EXPECT_EQ(device_->CreateTexture(4, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(texture, nullptr);
}

TEST_F(GlDevicePixels, CapsComeFromTheDriver) {
  D3DCAPS9 caps;
  ASSERT_EQ(device_->GetDeviceCaps(caps), D3D_OK);
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  EXPECT_EQ(caps.MaxTextureWidth, static_cast<uint32_t>(maxSize));
  EXPECT_EQ(caps.MaxTextureHeight, static_cast<uint32_t>(maxSize));
  EXPECT_GE(caps.MaxAnisotropy, 1u);
}

// Two contexts live side by side; ending one must not end the other's display.
TEST(GlHeadlessContext, ContextsAreIndependent) {
  std::string why;
  auto first = test::TryHeadlessContext(4, 4, why);
  if (!first) GTEST_SKIP() << "no headless OpenGL context: " << why;
  auto second = test::TryHeadlessContext(8, 2, why);
  ASSERT_NE(second, nullptr) << why;
  {
    HeadlessGlContext::TCurrent current(*second);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  first.reset();
  HeadlessGlContext::TCurrent current(*second);
  const std::vector<uint32_t> pixels = current.ReadPixels();
  ASSERT_EQ(pixels.size(), 16u);
  EXPECT_EQ(pixels[0], Red);
  EXPECT_EQ(pixels[15], Red);
}

// Without a current context there is nothing to draw with: creation must fail with a
// code the renderer can report, not crash inside the GL loader.
TEST(GlDeviceCreate, FailsWithoutACurrentContext) {
  std::unique_ptr<IGpuDevice> device;
  EXPECT_EQ(GlDevice::Create(16, 16, device), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(device, nullptr);
}

TEST(GlHeadlessContext, RefusesAnEmptyFramebuffer) {
  EXPECT_THROW(HeadlessGlContext(0, 10), EVellmarError);
}

}  // namespace
}  // namespace vellmar
