// The manhole drawn: its textured cover and the owner's label.

#include <array>
#include <memory>
#include <optional>

#include "document/StreetStructure.h"
#include "items/road/AtlasLabels.h"
#include "items/road/AxisDirection.h"
#include "items/road/DataTexture.h"
#include "items/road/KolodItem.h"
#include "items/road/ModeSets.h"
#include "platform/text/Cp1251.h"
#include "render/DxTriangleCollection.h"
#include "render/TextDrawing.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// The owner's letters: 0.08 of an atlas unit wide and 0.1 high.
constexpr double kLabelScaleX = 0.08;
constexpr double kLabelScaleY = 0.1;

// The square of half-side a on the point, texture upright in it (texture row 0, the
// picture's top, along the upper edge); two triangles.
std::array<TDxVertex, 6> Cover(const TXYZ& at, double a) {
  const auto v = [&](double dx, double dy, float u, float w) {
    return TDxVertex{static_cast<float>(at.x + dx), static_cast<float>(at.y + dy), at.z, 0, u, w};
  };
  const TDxVertex c0 = v(-a, -a, 0, 1), c1 = v(a, -a, 1, 1), c2 = v(a, a, 1, 0), c3 = v(-a, a, 0, 0);
  return {c0, c1, c2, c3, c0, c2};
}

}  // namespace

void TKolodItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto covers = std::make_unique<TDxTriangleCollection>();
  LoadDataTexture(*covers, "\\DataFiles\\Текстуры\\Kolod.bmp"_cp1251);
  collections.push_back(std::move(covers));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TKolodItem::BuildPrimitives() {
  if (Points().Count() < 1) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& covers = dynamic_cast<TDxTriangleCollection&>(*collections.at(0));
  covers.SetModeSet(kPlanModes);
  const TXYZ at = Points().GetVertex(0);
  const double a = size_ == 0.0f ? 0.5 : size_ / 2.0;
  const std::array<TDxVertex, 6> cover = Cover(at, a);
  covers.AddPrims(this, cover, 2);
  if (owner_.empty()) return;

  auto& labelCollection = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  labelCollection.SetModeSet(kPlanModes);
  labelCollection.SetColor(0);
  TAtlasLabels labels(labelCollection, this);
  const TAlignFactors f = AlignFactors(textAlign_);
  TMatrixShell& local = labels.Local();
  local.Translate(false, at.x, at.y, at.z);
  local.RotateZ(false, -AxisDirectionAt(*this, at).value_or(0.0));
  local.Translate(false, 2 * a * (f.FX + 0.5), 2 * a * (f.FY + 0.4), 0);
  local.Scale(false, kLabelScaleX, kLabelScaleY, kLabelScaleY);
  local.Translate(false, labels.Width(owner_) * f.FX, labels.Height() * f.FY, 0);
  labels.Add(owner_);
}

}  // namespace vellmar
