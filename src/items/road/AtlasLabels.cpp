#include "items/road/AtlasLabels.h"

#include "render/DxTriangleCollection.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"

namespace vellmar {

TAtlasLabels::TAtlasLabels(TDxTriangleCollection& labels, const TAbstractItem* owner)
    : labels_(labels), owner_(owner), atlas_(FontsData().BlackAtlas()) {
  // The atlas is shared at the first build, when a device has set its size.
  if (labels_.Texture() == nullptr) labels_.ShareTexture(&atlas_);
}

double TAtlasLabels::Width(std::string_view text) const {
  return AtlasTextWidth(atlas_, text);
}

double TAtlasLabels::Height() const {
  return AtlasTextHeight(atlas_);
}

TMatrixShell& TAtlasLabels::Local() {
  return labels_.Local();
}

void TAtlasLabels::Add(std::string_view text) {
  BuildTextQuads(atlas_, text, quads_);
  labels_.AddPrims(owner_, quads_, quads_.size() / 3);
  labels_.Local().LoadIdentity();
}

}  // namespace vellmar
