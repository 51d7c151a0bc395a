// A textured collection drawn through OpenGL on a headless context: the transparent
// colour really lets the background through, and the picture keeps its orientation.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "render/DxTriangleCollection.h"
#include "render/OffscreenFrame.h"
#include "render/TextureSurface.h"
#include "support/GlTestSupport.h"

namespace vellmar {
namespace {

using test::ColorNear;

constexpr uint32_t kSize = 64;

TEST(GlTextureSurface, WhiteKeyedTexelsShowTheBackgroundAndRowZeroIsTheTop) {
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) GTEST_SKIP() << "no headless OpenGL context: " << why;

  // Picture, top row first: white (the key) and blue, then two black pixels.
  TBitmap picture(2, 2, TPixelFormat::pf24bit);
  picture.SetPixel(0, 0, 0xFFFFFF);
  picture.SetPixel(1, 0, 0x0000FF);
  TDxTriangleCollection textured;
  TTextureSurface& surface = textured.CreateOwnTexture();
  surface.AssignBitmap(picture);
  surface.Settings().MinFilter = TTextureFilter::Point;
  surface.Settings().MagFilter = TTextureFilter::Point;
  surface.Settings().AddressU = TTextureAddress::Clamp;
  surface.Settings().AddressV = TTextureAddress::Clamp;
  // The whole panel (world = device coordinates here), V = 0 at the top.
  const TDxVertex quad[6] = {{-1, 1, 0, 0, 0, 0}, {1, 1, 0, 0, 1, 0},  {1, -1, 0, 0, 1, 1},
                             {-1, 1, 0, 0, 0, 0}, {1, -1, 0, 0, 1, 1}, {-1, -1, 0, 0, 0, 1}};
  textured.AddPrims(nullptr, quad, 2);

  TDxTriangleCollection background;
  background.SetColor(MakeColor(255, 0, 0, 255));
  background.AddPrims(nullptr, quad, 2);

  const TOffscreenFrame frame = RenderOffscreenFrame(kSize, kSize, [&](TdxRenderer& renderer) {
    const TDxDrawParams params{&renderer, TXYZ{}, 2.0f};
    background.Draw(params);
    textured.Draw(params);
  });
  const uint32_t q = kSize / 4;
  EXPECT_TRUE(ColorNear(frame.At(q, q), MakeColor(255, 0, 0, 255)));  // keyed: background
  EXPECT_TRUE(ColorNear(frame.At(3 * q, q), MakeColor(0, 0, 255, 255)));
  EXPECT_TRUE(ColorNear(frame.At(q, 3 * q), MakeColor(0, 0, 0, 255)));
  EXPECT_TRUE(ColorNear(frame.At(3 * q, 3 * q), MakeColor(0, 0, 0, 255)));
  EXPECT_EQ(surface.LinkCount(), 0u);  // the renderer took its texture with it
}

}  // namespace
}  // namespace vellmar
