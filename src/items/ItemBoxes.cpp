#include "items/ItemBoxes.h"

#include <algorithm>
#include <optional>
#include <span>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/road/ArcCoordsItem.h"
#include "items/road/AxisItem.h"
#include "items/signs/ZnakItem.h"

namespace vellmar {

bool ShownOnPlan(const TAbstractItem& item) {
  if (!item.Active()) return false;
  if (item.KindIndex() == TArcCoordsItem::kKindIndex) return false;
  if (const auto* axis = dynamic_cast<const TAxisItem*>(&item)) return axis->DrawLine();
  return true;
}

TXYZArray DrawnLine(TAbstractItem& item) {
  TPointList& points = item.Points();
  // A single point makes no polyline.
  if (points.Count() == 1) return {points.GetVertex(0)};
  return points.Polyline();
}

std::vector<TPictureOutline> PictureOutlines(TAbstractItem& item) {
  std::vector<TPictureOutline> outlines;
  if (auto* sign = dynamic_cast<TZnakItem*>(&item)) {
    for (int32_t i = 0; i < sign->PlateCount(); ++i) {
      if (const auto outline = sign->PlateOutline(sign->Plate(i))) outlines.push_back(*outline);
    }
  }
  return outlines;
}

std::optional<TItemBox> ItemBox(TAbstractItem& item) {
  TPointList& points = item.Points();
  const TXYZ single = points.Count() == 1 ? points.GetVertex(0) : TXYZ{};
  const std::span<const TXYZ> line = points.Count() == 1 ? std::span<const TXYZ>(&single, 1) : points.Polyline();
  const std::vector<TPictureOutline> pictures = PictureOutlines(item);
  if (line.empty() && pictures.empty()) return std::nullopt;
  const TXYZ first = line.empty() ? pictures[0][0] : line[0];
  TItemBox box{first.x, first.y, first.x, first.y, item.KindIndex(), &item};
  const auto extend = [&box](std::span<const TXYZ> shape) {
    for (const TXYZ& v : shape) {
      box.MinX = std::min(box.MinX, v.x);
      box.MinY = std::min(box.MinY, v.y);
      box.MaxX = std::max(box.MaxX, v.x);
      box.MaxY = std::max(box.MaxY, v.y);
    }
  };
  extend(line);
  for (const TPictureOutline& outline : pictures) extend(outline);
  return box;
}

std::vector<TItemBox> ShownItemBoxes(TStreetStructure& street) {
  std::vector<TItemBox> boxes;
  for (int32_t kind = kKindCount - 1; kind >= 0; --kind) {
    TItemList& list = street.ItemList(kind);
    for (int32_t i = list.Count() - 1; i >= 0; --i) {
      TAbstractItem* item = list.Items(i);
      if (!ShownOnPlan(*item)) continue;
      if (const std::optional<TItemBox> box = ItemBox(*item)) boxes.push_back(*box);
    }
  }
  return boxes;
}

}  // namespace vellmar
