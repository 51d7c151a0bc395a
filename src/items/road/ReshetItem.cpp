#include "items/road/ReshetItem.h"

#include <array>
#include <memory>

#include "document/StreetStructure.h"
#include "items/road/DataTexture.h"
#include "items/road/ModeSets.h"
#include "items/road/SymbolGlyphs.h"
#include "platform/text/Cp1251.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr float kHalfLength = 0.6f;
constexpr float kHalfWidth = 0.3f;

}  // namespace

void TReshetItem::InitKindCollections(TStreetStructure& street) {
  auto grates = std::make_unique<TDxTriangleCollection>();
  grates->SetColor(kSymbolInk);
  LoadDataTexture(*grates, "\\DataFiles\\Текстуры\\Reshet.bmp"_cp1251);
  street.KindCollections(kKindIndex).push_back(std::move(grates));
}

void TReshetItem::BuildPrimitives() {
  if (Points().Count() < 1) return;
  auto& grates = dynamic_cast<TDxTriangleCollection&>(*Street().KindCollections(kKindIndex).at(0));
  grates.SetModeSet(kPlanModes);
  const TXYZ at = Points().GetVertex(0);
  TMatrixShell& local = grates.Local();
  local.LoadIdentity();
  local.Translate(false, at.x, at.y, at.z);
  local.RotateZ(false, -Orientation());
  // Texture row 0 is the picture's top: it goes along the upper edge, so the grate
  // shows as its picture does.
  const TDxVertex c0{-kHalfLength, -kHalfWidth, 0, 0, 0, 1}, c1{kHalfLength, -kHalfWidth, 0, 0, 1, 1},
      c2{kHalfLength, kHalfWidth, 0, 0, 1, 0}, c3{-kHalfLength, kHalfWidth, 0, 0, 0, 0};
  const std::array<TDxVertex, 6> grate = {c0, c1, c2, c3, c0, c2};
  grates.AddPrims(this, grate, 2);
  local.LoadIdentity();
}

}  // namespace vellmar
