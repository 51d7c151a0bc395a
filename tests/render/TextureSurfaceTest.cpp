#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

std::unique_ptr<TdxRenderer> MakeRenderer(RecordingDevice** device = nullptr) {
  return std::make_unique<TdxRenderer>(
      64, 64,
      [device](std::unique_ptr<IGpuDevice>& made) {
        auto recording = std::make_unique<RecordingDevice>(64, 64);
        if (device != nullptr) *device = recording.get();
        made = std::move(recording);
        return D3D_OK;
      },
      nullptr);
}

const RecordingTexture& TextureOf(const TTextureSurface& surface, const TdxRenderer& renderer) {
  return dynamic_cast<const RecordingTexture&>(*surface.TextureFor(renderer.Device()));
}

// Rows from the top of the picture, pixels 0x00RRGGBB.
TBitmap Picture(const std::vector<std::vector<uint32_t>>& rows, TPixelFormat format = TPixelFormat::pf24bit) {
  TBitmap bitmap(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), format);
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      bitmap.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), rows[y][x]);
    }
  }
  return bitmap;
}

TEST(TextureSurface, SettingsMapToDeviceValues) {
  EXPECT_EQ(DeviceFilter(TTextureFilter::Point), 1u);
  EXPECT_EQ(DeviceFilter(TTextureFilter::Linear), 2u);
  EXPECT_EQ(DeviceFilter(TTextureFilter::Anisotropic), 3u);
  EXPECT_EQ(DeviceAddress(TTextureAddress::Wrap), 1u);
  EXPECT_EQ(DeviceAddress(TTextureAddress::Clamp), 3u);
  EXPECT_EQ(DeviceArg(TTextureArg::Texture), 2u);
  EXPECT_EQ(DeviceArg(TTextureArg::Diffuse), 0u);
  const uint32_t ops[] = {7, 2, 8, 4, 5, 6};
  for (uint8_t op = 0; op < 6; ++op) EXPECT_EQ(DeviceOp(static_cast<TTextureOp>(op)), ops[op]);
}

TEST(TextureSurface, ApplySetsTextureStageBlendAndSamplerStates) {
  RecordingDevice* device = nullptr;
  auto renderer = MakeRenderer(&device);
  TTextureSurface surface;
  EXPECT_EQ(surface.Width(), 0);
  EXPECT_EQ(surface.Height(), 0);
  surface.AssignBitmap(Picture({{kBlack, kWhite}}));
  surface.Settings().MinFilter = TTextureFilter::Point;
  surface.Settings().AddressV = TTextureAddress::Clamp;
  surface.Settings().ColorOp = TTextureOp::Modulate;
  surface.Settings().ColorArg2 = TTextureArg::Diffuse;
  device->ClearCalls();
  surface.Apply(*renderer);
  // The device's largest texture is asked for first: larger pictures are scaled down.
  const std::vector<std::string> expected = {"GetDeviceCaps()",
                                             "CreateTexture(2, 1, 1, 0, 21, 1)",
                                             "LockRect(0, 0)",
                                             "UnlockRect(0)",
                                             "SetTexture(0, texture)",
                                             "SetTextureStageState(0, 1, 4)",
                                             "SetTextureStageState(0, 2, 2)",
                                             "SetTextureStageState(0, 3, 0)",
                                             "SetRenderState(27, 1)",
                                             "SetRenderState(19, 5)",
                                             "SetRenderState(20, 6)",
                                             "SetSamplerState(0, 6, 1)",
                                             "SetSamplerState(0, 5, 2)",
                                             "SetSamplerState(0, 1, 1)",
                                             "SetSamplerState(0, 2, 3)"};
  EXPECT_EQ(device->CallTexts(), expected);
  // The texture is made once per device.
  device->ClearCalls();
  surface.Apply(*renderer);
  EXPECT_EQ(device->CallTexts().front(), "SetTexture(0, texture)");
  EXPECT_EQ(surface.LinkCount(), 1u);
}

// Transparent texels carry the mean colour of their opaque neighbours, so that filtering
// at a picture's edge does not blend in the key colour.
TEST(TextureSurface, TextureRowZeroIsTheTopOfThePictureAndTheKeyColourIsTransparent) {
  auto renderer = MakeRenderer();
  TTextureSurface surface;
  surface.AssignBitmap(Picture({{kWhite, 0x102030}, {kBlack, kWhite}, {0x0000FF, 0xFF0000}}));
  EXPECT_EQ(surface.Width(), 2);
  EXPECT_EQ(surface.Height(), 3);
  surface.Apply(*renderer);
  EXPECT_EQ(TextureOf(surface, *renderer).Pixels(),
            (std::vector<uint32_t>{0x00081018, 0xFF102030, 0xFF000000, 0x0043084B, 0xFF0000FF, 0xFFFF0000}));

  // Another key colour, taken by the fresh texture that the next picture brings.
  surface.SetTransparentColor(0, 0, 0);
  surface.AssignBitmap(Picture({{kWhite, kBlack}}));
  EXPECT_EQ(surface.LinkCount(), 0u);
  surface.Apply(*renderer);
  EXPECT_EQ(TextureOf(surface, *renderer).Pixels(), (std::vector<uint32_t>{0xFFFFFFFF, 0x00FFFFFF}));
}

TEST(TextureSurface, IndexedAndTopDownPicturesKeepTheirColoursAndOrientation) {
  auto renderer = MakeRenderer();
  TBitmap indexed(1, 2, TPixelFormat::pf8bit);
  indexed.SetPalette({0x000000, 0x3366CC, 0xCC6633});
  indexed.ScanLine(0)[0] = 1;
  indexed.ScanLine(1)[0] = 2;
  TTextureSurface surface;
  surface.AssignBitmap(indexed);
  surface.Apply(*renderer);
  EXPECT_EQ(TextureOf(surface, *renderer).Pixels(), (std::vector<uint32_t>{0xFF3366CC, 0xFFCC6633}));

  TBitmap topDown = Picture({{0x010203}, {0x040506}}, TPixelFormat::pf32bit);
  topDown.SetTopDown(true);
  surface.AssignBitmap(topDown);
  surface.Apply(*renderer);
  EXPECT_EQ(TextureOf(surface, *renderer).Pixels(), (std::vector<uint32_t>{0xFF010203, 0xFF040506}));
}

TEST(TextureSurface, WithoutAPictureNothingIsCreatedAndNoTextureBound) {
  RecordingDevice* device = nullptr;
  auto renderer = MakeRenderer(&device);
  TTextureSurface surface;
  surface.AssignBitmap(TBitmap());  // empty: ignored
  device->ClearCalls();
  surface.Apply(*renderer);
  EXPECT_EQ(device->CallTexts(), (std::vector<std::string>{"SetTexture(0, null)", "SetRenderState(27, 0)"}));
  EXPECT_EQ(surface.LinkCount(), 0u);
}

TEST(TextureSurface, OneTexturePerDeviceAndADyingRendererTakesOnlyItsOwn) {
  auto first = MakeRenderer();
  auto second = MakeRenderer();
  TTextureSurface surface;
  TTextureSurface unused;
  surface.AssignBitmap(Picture({{kBlack}}));
  surface.Apply(*first);
  surface.Apply(*second);
  ASSERT_EQ(surface.LinkCount(), 2u);
  const IGpuDevice* secondDevice = second->Device();
  const IGpuTexture* secondTexture = surface.TextureFor(secondDevice);
  first.reset();
  EXPECT_EQ(surface.LinkCount(), 1u);
  EXPECT_EQ(surface.TextureFor(secondDevice), secondTexture);
  second.reset();
  EXPECT_EQ(surface.LinkCount(), 0u);
  EXPECT_EQ(unused.LinkCount(), 0u);
}

TEST(TextureSurface, FailedTextureCreationRaisesAndLeavesNoLink) {
  RecordingDevice* device = nullptr;
  auto renderer = MakeRenderer(&device);
  device->SetTextureCreationFails(true);
  TTextureSurface surface;
  surface.AssignBitmap(Picture({{kBlack, kBlack}}));
  EXPECT_THROW(surface.Apply(*renderer), EVellmarError);
  EXPECT_EQ(surface.LinkCount(), 0u);
}

// A picture wider or taller than the device's largest texture stopped every frame that
// showed it ("CreateTexture failed"): it is scaled down to fit, keeping its proportions,
// and said once, by name, however many devices use it.
TEST(TextureSurface, APictureLargerThanTheDeviceTakesIsScaledDownAndSaidOnce) {
  struct TCase {
    const char* What;
    int32_t Width, Height;
    uint32_t MaxWidth, MaxHeight;
    uint32_t MadeWidth, MadeHeight;
    size_t Warnings;
  };
  const TCase cases[] = {
      {"too wide", 100, 20, 64, 64, 64, 12, 1},
      {"too tall", 10, 200, 64, 64, 3, 64, 1},
      {"too wide and too tall", 300, 150, 64, 32, 64, 32, 1},
      {"a thin line keeps a pixel", 1000, 1, 64, 64, 64, 1, 1},
      {"just fits", 64, 64, 64, 64, 64, 64, 0},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> warnings;
    SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
    RecordingDevice* first = nullptr;
    RecordingDevice* second = nullptr;
    auto one = MakeRenderer(&first);
    auto two = MakeRenderer(&second);
    for (RecordingDevice* device : {first, second}) {
      device->Caps().MaxTextureWidth = c.MaxWidth;
      device->Caps().MaxTextureHeight = c.MaxHeight;
    }
    TBitmap picture(c.Width, c.Height, TPixelFormat::pf24bit);
    // The left half black, the right half a colour: the scaled texture keeps the halves.
    for (int32_t y = 0; y < c.Height; ++y) {
      for (int32_t x = 0; x < c.Width; ++x) picture.SetPixel(x, y, x < c.Width / 2 ? kBlack : 0x3366CC);
    }
    TTextureSurface surface;
    surface.SetName("Big");
    surface.AssignBitmap(picture);
    ASSERT_NO_THROW(surface.Apply(*one)) << c.What;
    ASSERT_NO_THROW(surface.Apply(*two)) << c.What;
    SetWarningSink({});
    const RecordingTexture& made = TextureOf(surface, *one);
    EXPECT_EQ(made.Width(), c.MadeWidth) << c.What;
    EXPECT_EQ(made.Height(), c.MadeHeight) << c.What;
    EXPECT_EQ(made.Pixels().front(), 0xFF000000u) << c.What;
    EXPECT_EQ(made.Pixels().back(), 0xFF3366CCu) << c.What;
    ASSERT_EQ(warnings.size(), c.Warnings) << c.What;
    if (c.Warnings != 0) {
      EXPECT_NE(warnings[0].find("\"Big\""), std::string::npos) << warnings[0];
    }
  }
}

TEST(TextureSurface, LoadsBitmapFilesAndRaisesOnMissingOnes) {
  const test::TempDir dir;
  const auto path = dir / "picture.bmp";
  Picture({{0x112233, kWhite}, {kBlack, 0x445566}}).SaveToFile(path);
  auto renderer = MakeRenderer();
  TTextureSurface surface;
  surface.LoadFromFile(path);
  surface.Apply(*renderer);
  EXPECT_EQ(TextureOf(surface, *renderer).Pixels(),
            (std::vector<uint32_t>{0xFF112233, 0x001C2733, 0xFF000000, 0xFF445566}));
  EXPECT_THROW(surface.LoadFromFile(dir / "missing.bmp"), EVellmarError);
  EXPECT_EQ(surface.Width(), 2);  // the picture it had is kept
}

}  // namespace
}  // namespace vellmar
