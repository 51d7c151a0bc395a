// The core-sample mark's label, kept in the kind's collection as atlas text; its
// picture is drawn every frame as any design block's.

#include <memory>
#include <vector>

#include "document/StreetStructure.h"
#include "document/design/DsnBlockDef.h"
#include "items/design/KernItem.h"
#include "render/DxTriangleCollection.h"
#include "render/FontsData.h"
#include "render/TextDrawing.h"

namespace vellmar {

namespace {

constexpr int32_t kKindIndex = 33;
// Atlas units to world units, across and along the text.
constexpr double kScaleX = 0.08;
constexpr double kScaleY = 0.1;

}  // namespace

void TKernItem::InitKindCollections(TStreetStructure& street) {
  street.KindCollections(kKindIndex).push_back(std::make_unique<TDxTriangleCollection>());
}

void TKernItem::BuildPrimitives() {
  TDesignBlockItem::BuildPrimitives();
  if (Points().Count() == 0 || label_.empty()) return;
  auto& labels = dynamic_cast<TDxTriangleCollection&>(*Street().KindCollections(kKindIndex).at(0));
  // The atlas is sized for the device's caps, so it is shared once a device exists.
  TFontTexture& atlas = FontsData().BlackAtlas();
  if (labels.Texture() == nullptr) labels.ShareTexture(&atlas);
  double angle = 0.0;
  const TXYZ at = Points().GetVertex(0);
  if (TAbstractItem* axis = ReferenceAxis(); axis != nullptr && axis->Points().Count() >= 2)
    angle = axis->Points().AngleAt(axis->Points().ParamOfPoint(at));
  const TDsnBlockDef& def = BlockDef();
  std::vector<TDxVertex> quads;
  BuildTextQuads(atlas, label_, quads);
  TMatrixShell& local = labels.Local();
  local.PushMatrix();
  local.Translate(false, at.x, at.y, at.z);
  local.RotateZ(false, -angle);
  local.Translate(false, def.Width() / 4.0, def.Height() / 3.0, 0);
  local.Scale(false, kScaleX, kScaleY, kScaleY);
  local.Translate(false, -0.2 * AtlasTextWidth(atlas, label_), -0.5 * AtlasTextHeight(atlas), 0);
  labels.AddPrims(this, quads, quads.size() / 3);
  local.PopMatrix();
}

}  // namespace vellmar
