#include "document/ViewPicture.h"

#include <algorithm>

#include "document/StreetStructure.h"
#include "render/OffscreenFrame.h"

namespace vellmar {

namespace {
// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;
}  // namespace

void DrawViewPicture(TdxRenderer& Renderer, TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds) {
  SetupViewMatrices(Renderer, View);
  TDxDrawParams params = ViewDrawParams(Renderer, View);
  // The viewer's radius covers pictures no taller than wide.
  params.Radius *= static_cast<float>(std::max(1.0, double{1.0} * Renderer.Height() / Renderer.Width()));
  Street.Draw(params, Kinds, kPlanModes);
}

void SaveViewPng(TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds, uint32_t Width,
                 uint32_t Height, const std::filesystem::path& Path, bool Last) {
  RenderOffscreenPng(
      Width, Height, [&](TdxRenderer& renderer) { DrawViewPicture(renderer, Street, View, Kinds); }, Path, Last);
}

}  // namespace vellmar
