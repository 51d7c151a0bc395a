// The renderer drawing through OpenGL on a headless context: what lands on which pixel.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "geometry/Planar.h"
#include "render/OffscreenFrame.h"
#include "support/GlTestSupport.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

using test::ColorNear;

constexpr uint32_t Width = 160;
constexpr uint32_t Height = 120;
constexpr uint32_t White = MakeColor(255, 255, 255, 255);
constexpr uint32_t Red = MakeColor(255, 0, 0, 255);
constexpr uint32_t Blue = MakeColor(0, 0, 255, 255);

// Runs one frame, or skips the test when this machine can make no GL context.
std::optional<TOffscreenFrame> Render(const std::function<void(TdxRenderer&)>& Draw) {
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) return std::nullopt;
  return RenderOffscreenFrame(Width, Height, Draw);
}

// A plan view: world centre (20, 30) at the panel centre, 4 pixels a unit, turned.
void SetView(TdxRenderer& Renderer) {
  Renderer.World().Translate(true, -20, -30, 0);
  Renderer.World().RotateZ(true, 0.4);
  Renderer.World().Scale(true, 8.0 / Width, 8.0 / Height, 1);
}

double EdgeDistance(const TXYZ& P, const TXYZ& A, const TXYZ& B) {
  return PointLineRelation(P, A, B).distance;
}

// The triangle must cover exactly the pixels inside the outline that WorldToScreen gives
// for its corners (pixels within one pixel of an edge may go either way).
TEST(GlRenderer, RedTriangleLandsWhereWorldToScreenSays) {
  const TXYZArray triangle = {{5, 22, 0}, {31, 25, 0}, {14, 44, 0}};
  TXYZ screen[3];
  const std::optional<TOffscreenFrame> frame = Render([&](TdxRenderer& renderer) {
    SetView(renderer);
    renderer.DrawTriangles(triangle, Red);
    for (int i = 0; i < 3; ++i) screen[i] = renderer.WorldToScreen(triangle[static_cast<size_t>(i)]);
  });
  if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
  // On screen y runs down, so the world's counter-clockwise corners run clockwise.
  int inside = 0;
  for (uint32_t y = 0; y < Height; ++y) {
    for (uint32_t x = 0; x < Width; ++x) {
      const TXYZ p{static_cast<float>(x), static_cast<float>(y), 0};
      double nearest = 1e9;
      for (int i = 0; i < 3; ++i)
        nearest = std::min(nearest, -EdgeDistance(p, screen[i], screen[(i + 1) % 3]));
      if (nearest > 1.0) {
        ++inside;
        ASSERT_TRUE(ColorNear(frame->At(x, y), Red)) << "inside at " << x << ", " << y;
      } else if (nearest < -1.0) {
        ASSERT_TRUE(ColorNear(frame->At(x, y), White)) << "outside at " << x << ", " << y;
      }
    }
  }
  EXPECT_GT(inside, 300);
}

// A point lights exactly the pixel WorldToScreen names: the two agree on pixel centres.
// (The points lie well away from pixel boundaries, where subpixel snapping decides.)
TEST(GlRenderer, PointLightsThePixelWorldToScreenNames) {
  const TXYZArray points = {{20, 30, 0}, {27.3f, 21.9f, 0}, {11.4f, 35.2f, 0}};
  TXYZ screen[3];
  const std::optional<TOffscreenFrame> frame = Render([&](TdxRenderer& renderer) {
    SetView(renderer);
    renderer.DrawPoints(points, Red);
    for (int i = 0; i < 3; ++i) screen[i] = renderer.WorldToScreen(points[static_cast<size_t>(i)]);
  });
  if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_EQ(screen[0].x, Width / 2.0f);
  EXPECT_EQ(screen[0].y, Height / 2.0f);
  int lit = 0;
  for (uint32_t y = 0; y < Height; ++y)
    for (uint32_t x = 0; x < Width; ++x) lit += frame->At(x, y) != White;
  EXPECT_EQ(lit, 3);
  for (const TXYZ& s : screen)
    EXPECT_TRUE(ColorNear(frame->At(static_cast<uint32_t>(s.x), static_cast<uint32_t>(s.y)), Red))
        << s.x << ", " << s.y;
}

TEST(GlRenderer, AmbientTintMultipliesEveryColour) {
  const std::optional<TOffscreenFrame> frame = Render([](TdxRenderer& renderer) {
    renderer.SetAmbientColor(MakeColor(196, 196, 255, 196));
    renderer.DrawTriangles({{-1, 1, 0}, {0, 1, 0}, {-1, -1, 0}}, White);
    renderer.DrawTriangles({{0, 1, 0}, {1, 1, 0}, {1, -1, 0}}, MakeColor(255, 100, 50, 255));
  });
  if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(ColorNear(frame->At(10, 20), MakeColor(196, 196, 255, 255)));
  EXPECT_TRUE(ColorNear(frame->At(150, 20), MakeColor(196, 77, 50, 255)));
}

// A textured ribbon with whole periods repeats the red-blue texture twice along its
// length: four bands, in order, from the first point to the last.
TEST(GlRenderer, TexturedRibbonRepeatsWholePeriods) {
  std::unique_ptr<IGpuTexture> texture;
  const std::optional<TOffscreenFrame> frame = Render([&](TdxRenderer& renderer) {
    IGpuDevice& device = *renderer.Device();
    device.CreateTexture(2, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture);
    D3DLOCKED_RECT locked;
    texture->LockRect(0, locked, 0);
    static_cast<uint32_t*>(locked.pBits)[0] = Red;
    static_cast<uint32_t*>(locked.pBits)[1] = Blue;
    texture->UnlockRect(0);
    renderer.BindTexture(texture.get());
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device.SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    // From x = -1 to 1 (160 pixels): 2 / 0.9 rounds to 2 periods.
    renderer.DrawTexturedRibbon({{-1, 0, 0}, {-0.2f, 0, 0}, {1, 0, 0}}, true, White, 0.9, 0.5, 0, -0.5, 1);
    renderer.BindTexture(nullptr);
    texture.reset();  // device textures go before their device
  });
  if (!frame) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const uint32_t bands[4] = {Red, Blue, Red, Blue};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(ColorNear(frame->At(static_cast<uint32_t>(20 + 40 * i), Height / 2), bands[i]))
        << "band " << i;
  EXPECT_TRUE(ColorNear(frame->At(80, 10), White));
}

// The command-line renderer's output: the framebuffer as a PNG, top row first, opaque.
TEST(GlRenderer, FrameWrittenAsPng) {
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) GTEST_SKIP() << "no headless OpenGL context: " << why;
  test::TempDir dir;
  RenderOffscreenPng(
      Width, Height,
      [](TdxRenderer& renderer) {
        renderer.DrawTriangles({{-1, 1, 0}, {1, 1, 0}, {-1, 0, 0}}, MakeColor(255, 0, 0, 0));
      },
      dir / "frame.png");
  TBitmap picture;
  picture.LoadFromFile(dir / "frame.png");
  ASSERT_EQ(picture.Width(), static_cast<int32_t>(Width));
  ASSERT_EQ(picture.Height(), static_cast<int32_t>(Height));
  EXPECT_EQ(picture.GetPixel(5, 5), 0xFF0000u);
  EXPECT_EQ(picture.GetPixel(150, 110), 0xFFFFFFu);
  EXPECT_EQ(picture.ScanLine(5)[5 * 4 + 3], 255)
      << "a transparent vertex colour still gives an opaque picture";
}

}  // namespace
}  // namespace vellmar
