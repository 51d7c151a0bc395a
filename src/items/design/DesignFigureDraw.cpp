// Design figures on the plan: the fill triangles in the kind's plain collection, or in
// the collection a pattern of the figure library lends the kind.

#include <cmath>
#include <memory>

#include "document/StreetStructure.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/LentCollections.h"
#include "items/design/DesignFigureItem.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {
constexpr int32_t kKindIndex = TDsnFigDefList::kKindIndex;
}  // namespace

void TDesignFigureItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections own;
  own.push_back(std::make_unique<TDxTriangleCollection>());
  SetOwnCollections(street, kKindIndex, std::move(own));
}

void TDesignFigureItem::BuildPrimitives() {
  Points().EnsurePolyline();
  if (Points().Count() < 3) return;
  Triangulate();
  TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto* library = dynamic_cast<TDsnFigDefList*>(Street().Library(TStreetLibrary::TSlot::Figures));
  const int32_t index = library != nullptr ? library->IndexOfName(PatternName()) : -1;
  TDsnFigDef* pattern = index >= 0 ? &library->Item(index) : nullptr;
  auto* fill = dynamic_cast<TDxTriangleCollection*>(
      pattern != nullptr ? LentCollection(Street(), kKindIndex, size_t(index) + 1, pattern->Collection())
                         : (collections.empty() ? nullptr : collections[0].get()));
  if (fill == nullptr) return;
  fill->SetColor(FillColor());
  if (pattern == nullptr) {
    fill->AddTriangles(this, Triangles());
    return;
  }
  // The picture lies fixed in the world from the first point, its position cut towards
  // 0 to steps of 1 / period: moving the figure a little does not move its pattern.
  const double cx = pattern->PeriodX() != 0.0f ? pattern->PeriodX() : 1.0;
  const double cy = pattern->PeriodY() != 0.0f ? -pattern->PeriodY() : -1.0;
  const TXYZ first = Points().GetVertex(0);
  const double originX = std::trunc(cx * first.x) / cx;
  const double originY = std::trunc(cy * first.y) / cy;
  double s = 0.0, c = 1.0;
  if (TAbstractItem* axis = ReferenceAxis(); axis != nullptr && axis->Points().Count() >= 2) {
    const double angle = axis->Points().AngleAt(axis->Points().ParamOfPoint(first));
    s = std::sin(angle);
    c = std::cos(angle);
  }
  fill->AddTexturedTriangles(this, Triangles(), s, c, originY, originX, -pattern->PeriodY(), pattern->PeriodX());
}

}  // namespace vellmar
