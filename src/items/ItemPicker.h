#pragma once
// The item a user points at: the topmost one the viewer draws under a world point.
// Kinds are drawn in index order and the items of a kind in list order, so the search
// runs the other way and the first hit is the one on top. Areas are hit inside their
// outline, pictures (a sign's plates) inside theirs; lines and single points within a
// tolerance, since a line one pixel wide cannot be hit exactly. The picker owns nothing;
// the items belong to their street.

#include <vector>

#include "document/KindSet.h"
#include "geometry/XYZ.h"
#include "items/ItemBoxes.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

// True when the point lies inside the item's area or one of its pictures, or within
// tolerance of its line.
bool ShapeContains(TAbstractItem& item, const TXYZ& point, double tolerance);

// The topmost shown item of the visible kinds at the point, or nullptr. tolerance is in
// world units (a few pixels at the current scale). Looks at every item: the reference
// that TItemPicker is tested against.
TAbstractItem* PickItem(TStreetStructure& street, const TKindSet& visible, const TXYZ& point, double tolerance);

// The same answer as PickItem, fast enough to follow the mouse over 10^5 items: a pick
// streams through the shown items' boxes and tests the shape only of the few whose box is
// near. Made anew whenever the boxes would be (ItemBoxes.h).
class TItemPicker {
 public:
  explicit TItemPicker(TStreetStructure& street);
  TAbstractItem* Pick(const TKindSet& visible, const TXYZ& point, double tolerance) const;

 private:
  std::vector<TItemBox> boxes_;
};

}  // namespace vellmar
