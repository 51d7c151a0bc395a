#include "document/ViewPicture.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "document/StreetStructure.h"
#include "render/OffscreenFrame.h"

namespace vellmar {

namespace {
// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;
// High enough that thin lines and small text keep their edges.
constexpr int kJpegQuality = 92;
}  // namespace

std::optional<TPictureFormat> PictureFormatOf(const std::filesystem::path& Path) {
  std::string extension = Path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") return TPictureFormat::Png;
  if (extension == ".jpg" || extension == ".jpeg") return TPictureFormat::Jpeg;
  return std::nullopt;
}

void DrawViewPicture(TdxRenderer& Renderer, TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds) {
  SetupViewMatrices(Renderer, View);
  TDxDrawParams params = ViewDrawParams(Renderer, View);
  // The viewer's radius covers pictures no taller than wide.
  params.Radius *= static_cast<float>(std::max(1.0, double{1.0} * Renderer.Height() / Renderer.Width()));
  Street.Draw(params, Kinds, kPlanModes);
}

void SaveViewPng(TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds, uint32_t Width,
                 uint32_t Height, const std::filesystem::path& Path, bool Last) {
  SaveViewPicture(Street, View, Kinds, Width, Height, Path, TPictureFormat::Png, Last);
}

void SaveViewPicture(TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds, uint32_t Width,
                     uint32_t Height, const std::filesystem::path& Path, TPictureFormat Format, bool Last) {
  const auto draw = [&](TdxRenderer& renderer) { DrawViewPicture(renderer, Street, View, Kinds); };
  if (Format == TPictureFormat::Png) {
    RenderOffscreenPng(Width, Height, draw, Path, Last);
  } else {
    RenderOffscreenFrame(Width, Height, draw, Last).ToBitmap().SaveToJpegFile(Path, kJpegQuality);
  }
}

}  // namespace vellmar
