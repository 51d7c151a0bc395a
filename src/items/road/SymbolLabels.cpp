#include "items/road/SymbolLabels.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>

#include "document/OrientPointItem.h"
#include "document/StreetStructure.h"
#include "items/road/AxisDirection.h"
#include "items/road/ModeSets.h"
#include "render/DxTriangleCollection.h"
#include "render/MatrixShell.h"

namespace vellmar {

void InitSymbolLabelCollection(TStreetStructure& street, int32_t kind) {
  street.KindCollections(kind).push_back(std::make_unique<TDxTriangleCollection>());
}

TDxTriangleCollection& SymbolLabelCollection(TAbstractItem& item) {
  auto& labels = dynamic_cast<TDxTriangleCollection&>(*item.Street().KindCollections(item.KindIndex()).at(0));
  labels.SetModeSet(kPlanModes);
  labels.SetColor(0);
  return labels;
}

bool SymbolLabelFrame(TOrientPointItem& item, TSymbolLabelFrame& frame) {
  if (item.Points().Count() < 1) return false;
  frame.At = item.Points().GetVertex(0);
  frame.Direction = item.Orientation();
  const std::optional<double> axis = AxisDirectionAt(item, frame.At);
  frame.Flipped = axis && std::sin(frame.Direction - *axis) < 0;
  if (frame.Flipped) frame.Direction += std::numbers::pi;
  return true;
}

void PlaceSymbolLabel(TMatrixShell& local, const TSymbolLabelFrame& frame) {
  local.LoadIdentity();
  local.Translate(false, frame.At.x, frame.At.y, frame.At.z);
  local.RotateZ(false, -(frame.Direction - std::numbers::pi / 2));
}

}  // namespace vellmar
