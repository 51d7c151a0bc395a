#pragma once
// What the user sees of each shown item, and the box round it: its polyline (or single
// point) and the pictures it shows away from its points (a road sign's plates). Kept in
// one array in the order the items lie on top of each other, topmost first (kinds are
// drawn in index order, the items of a kind in list order), so that searches near a
// point stream through the boxes and look at the shapes of the few items near it. The
// boxes hold pointers to the street's items and must be made anew when items are added,
// removed or moved (the viewer never changes a street; a street read anew is another).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

using TPictureOutline = std::array<TXYZ, 4>;

// True when the item shows on the plan at all: an inactive item draws nothing, and the
// construction lines (a curve, an axis whose line is not drawn) stay hidden in the viewer.
bool ShownOnPlan(const TAbstractItem& item);

// The item's single point, or its polyline when it has more than one.
TXYZArray DrawnLine(TAbstractItem& item);
// The pictures the item shows beside its line, as outlines on the plan: a sign's plates.
std::vector<TPictureOutline> PictureOutlines(TAbstractItem& item);

struct TItemBox {
  float MinX, MinY, MaxX, MaxY;
  int32_t Kind;
  TAbstractItem* Item;

  // Whether the box, grown by margin on every side, holds the point.
  bool Near(const TXYZ& point, double margin) const {
    return point.x >= MinX - margin && point.x <= MaxX + margin && point.y >= MinY - margin &&
           point.y <= MaxY + margin;
  }
};

// The box round the item's line and pictures; nothing when it has neither.
std::optional<TItemBox> ItemBox(TAbstractItem& item);
// The boxes of the street's shown items, topmost first; items that draw nothing are left out.
std::vector<TItemBox> ShownItemBoxes(TStreetStructure& street);

}  // namespace vellmar
