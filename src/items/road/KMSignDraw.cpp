// The kilometre sign drawn every frame: two textured plates turned along the axis.

#include <array>
#include <memory>
#include <string>

#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AxisDirection.h"
#include "items/road/DataTexture.h"
#include "items/road/KMSignItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// One plate, 4 by 2 units: the texture's end columns form its ends, its middle column
// is stretched between them.
constexpr std::array<TDxVertex, 8> kPlate = {{
    {-2, -1, 0, 0, 0, 0},
    {-2, 1, 0, 0, 0, 1},
    {-1, -1, 0, 0, 0.5f, 0},
    {-1, 1, 0, 0, 0.5f, 1},
    {1, -1, 0, 0, 0.5f, 0},
    {1, 1, 0, 0, 0.5f, 1},
    {2, -1, 0, 0, 1, 0},
    {2, 1, 0, 0, 1, 1},
}};
// The plates' centres lie this far either side of the point: a 0.2 gap between them.
constexpr double kPlateShift = 2.1;
// Plate units per screen pixel when the sign keeps a constant size on screen.
constexpr double kPixelsPerUnit = 12.0;
// Font pixels to plate units: the numbers stand about half the plate's height.
constexpr double kNumberScale = 0.01;

// Shared by every sign of every street; loaded at the first draw, kept until exit.
TTextureSurface& PlateTexture() {
  static const std::unique_ptr<TTextureSurface> surface = [] {
    auto made = std::make_unique<TTextureSurface>();
    LoadDataTexture(*made, "\\DataFiles\\Знаки\\KM.bmp"_cp1251);
    return made;
  }();
  return *surface;
}

void DrawPlate(TdxRenderer& renderer) {
  TTextureSurface& texture = PlateTexture();
  texture.Apply(renderer);
  renderer.DrawVertexStrip(kPlate);
  renderer.BindTexture(nullptr);
}

}  // namespace

int32_t TKMSignItem::ThinningModulus(double pixelSize) {
  for (const int32_t m : {1, 2, 5, 10, 20, 50}) {
    if (m * 1000.0 >= pixelSize * 100.0) return m;
  }
  return 100;
}

void TKMSignItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TPointItem::DrawImmediate(params, modes);
  if (Points().Count() < 1 || params.Renderer == nullptr) return;
  TdxRenderer& renderer = *params.Renderer;
  const double pixel = renderer.PixelSize();
  if (firstNumber_ % ThinningModulus(pixel) != 0) return;

  double factor = pixel * kPixelsPerUnit;
  if (Street().DrawOption("KMSignScaled")) {
    factor = Street().DrawOptionInt("ZnakScale") / 100.0;
    if (factor == 0.0) factor = 1.0;
  }
  const TXYZ at = Points().GetVertex(0);
  const double direction = AxisDirectionAt(*this, at).value_or(0.0);
  if (DistanceXYZ(at, params.Centre) > params.Radius) return;

  TMatrixShell& world = renderer.World();
  world.PushMatrix();
  world.Translate(false, at.x, at.y, at.z);
  world.RotateZ(false, -direction);
  world.Scale(false, factor, factor, factor);
  for (const auto& [shift, number] : {std::pair{-kPlateShift, firstNumber_}, std::pair{kPlateShift, secondNumber_}}) {
    world.PushMatrix();
    world.Translate(false, shift, 0, 0);
    if (number >= 0) {
      DrawPlate(renderer);
      world.Scale(false, kNumberScale, kNumberScale, kNumberScale);
      DrawString(GetFont("Road", 0), params, std::to_string(number), /*Fill=*/true, /*Outline=*/false,
                 MakeColor(255, 255, 255, 255), kAlignMiddleCentre);
    }
    world.PopMatrix();
  }
  world.PopMatrix();
}

}  // namespace vellmar
