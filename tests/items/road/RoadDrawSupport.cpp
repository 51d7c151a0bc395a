#include "RoadDrawSupport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "render/DxDrawParams.h"
#include "support/GlTestSupport.h"

namespace vellmar::test {

namespace {

std::string DataFilesFolder() {
  return (SourceDir() / "data" / "DataFiles").string();
}

}  // namespace

RoadDataRoot::RoadDataRoot() : variable_(DataFilesFolder().c_str()) {}

int32_t TPlanPicture::Column(double x) const {
  return static_cast<int32_t>(std::floor(Frame.Width / 2.0 + (x - Centre.x) * PixelsPerMetre));
}

int32_t TPlanPicture::Row(double y) const {
  return static_cast<int32_t>(std::floor(Frame.Height / 2.0 - (y - Centre.y) * PixelsPerMetre));
}

uint32_t TPlanPicture::At(double x, double y) const {
  return Frame.At(static_cast<uint32_t>(Column(x)), static_cast<uint32_t>(Row(y)));
}

std::optional<TPlanPicture> DrawPlan(TStreetStructure& street, const TXYZ& centre, double pixelsPerMetre,
                                     const TKindSet& kinds, uint32_t width, uint32_t height) {
  std::string why;
  if (!TryHeadlessContext(1, 1, why)) return std::nullopt;
  TPlanPicture picture;
  picture.Centre = centre;
  picture.PixelsPerMetre = pixelsPerMetre;
  TViewState view;
  view.Centre = centre;
  view.Scale = static_cast<float>(2.0 * pixelsPerMetre / width);
  picture.Frame = RenderOffscreenFrame(width, height, [&](TdxRenderer& renderer) {
    SetupViewMatrices(renderer, view);
    TDxDrawParams params;
    params.Renderer = &renderer;
    params.Centre = centre;
    params.Radius = static_cast<float>(1.5 * std::max(width, height) / pixelsPerMetre);
    street.Draw(params, kinds, 1u << 0);
  });
  return picture;
}

}  // namespace vellmar::test
