#pragma once
// The design-line and design-figure kinds draw into their own collections and into the
// collections their street's library definitions own. The definitions lend theirs to the
// kind's array (after the kind's own, in library order); these two operations keep the
// two groups apart whichever of them changes first.

#include <cstdint>
#include <vector>

#include "document/StreetStructure.h"

namespace vellmar {

// Replaces the collections lent to the kind by lent, keeping the kind's own in front.
// When anything changes, the kind's items are rebuilt before the next frame and the
// street is modified.
void LendCollections(TStreetStructure& street, int32_t kind, const std::vector<TDxPrimCollection*>& lent);

// Replaces the kind's own collections by own, keeping what is lent after them.
void SetOwnCollections(TStreetStructure& street, int32_t kind, TDxPrimCollections own);

// The lent collection at index (counted from the array's start) when it is still there,
// otherwise nullptr: an item never draws into a collection the array does not hold.
TDxPrimCollection* LentCollection(TStreetStructure& street, int32_t kind, size_t index,
                                  const TDxPrimCollection& expected);

}  // namespace vellmar
