#pragma once
// Where a measuring click lands when it is pulled onto the plan's drawing: the nearest
// vertex of a shown item within a radius, failing that the nearest point on an item's
// drawn line (an area's outline included) or on the street's main axis. A vertex wins
// over any nearer line point, since corners are what engineers measure between. The
// snapper owns nothing; the items belong to their street (see ItemBoxes.h for when it
// must be made anew).

#include <optional>
#include <vector>

#include "document/KindSet.h"
#include "geometry/XYZ.h"
#include "items/ItemBoxes.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

enum class TSnapKind { Vertex, Edge, Axis };

struct TSnap {
  TXYZ Point;
  TSnapKind Kind = TSnapKind::Vertex;
  TAbstractItem* Item = nullptr;
};

// The snap among the shown items of the visible kinds (the main axis counts as shown
// whenever the axis kind is visible, its line drawn or not); radius in world units.
// Looks at every item: the reference that TItemSnapper is tested against.
std::optional<TSnap> SnapToItems(TStreetStructure& street, const TKindSet& visible, const TXYZ& point,
                                 double radius);

// The same answer as SnapToItems, fast enough for every mouse move over 10^5 items.
class TItemSnapper {
 public:
  explicit TItemSnapper(TStreetStructure& street);
  std::optional<TSnap> Snap(const TKindSet& visible, const TXYZ& point, double radius) const;

 private:
  std::vector<TItemBox> boxes_;
  TAbstractItem* axis_;
};

}  // namespace vellmar
