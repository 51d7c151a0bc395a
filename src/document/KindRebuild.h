#pragma once
// Rebuilding the kinds of a street that need it. The kinds whose classes allow it (see
// TItemKind::RebuildsAlongside) are rebuilt first, at the same time on worker threads,
// each kind on one thread (kinds that share a collection together, in kind order); the
// other kinds follow on the calling thread in kind order, as one pass over the kinds
// would. Every worker has finished before the call returns.
//
// An item whose rebuild raises shows nothing and keeps needing a rebuild, and so does its
// kind; every other item and kind is rebuilt all the same, so that one bad item does not
// blank the rest of the street. Once all are done, the raise of the first kind in kind
// order that raised reaches the caller: an item that failed is never passed over silently.

#include <cstdint>
#include <vector>

#include "document/KindSet.h"

namespace vellmar {

class IGpuDevice;
class TItemList;
class TStreetStructure;

// Rebuilds every item of the list (see TAbstractItem::Rebuild), then marks the kind
// rebuilt; when items raised, the first raise comes out after the others were rebuilt
// and the kind still needs a rebuild.
void RebuildKindItems(TItemList& list);

// Kinds rebuilt one after the other on one thread, in kind order.
using TKindGroup = std::vector<int32_t>;

// The kinds of the set that need a rebuild and allow one alongside others, in the groups
// that go to one thread each: kinds that share a collection (a design library lends the
// same one to several kinds) are in one group, since a collection is filled by one thread
// only. The groups with the most items come first, so that no thread starts one late.
std::vector<TKindGroup> AlongsideGroups(TStreetStructure& street, const TKindSet& kinds);

// The registered kinds whose classes allow a rebuild alongside others. Touching nothing
// shared, they may also be rebuilt on a loading thread while the window draws other streets.
TKindSet KindsRebuiltAlongside();

// Rebuilds each kind in the set whose list needs it, on at most threads threads, the
// calling thread included; 0 means one per hardware thread, 1 everything on the caller.
void RebuildStreetKinds(TStreetStructure& street, const TKindSet& kinds, int32_t threads);

// Collections of the kinds in the set that handed their vertices to a device and cannot
// be drawn on this one as they are (nullptr: whose vertices are to be read; see
// TDxPrimCollection::NeedsVertices) are emptied, and every kind that fills one of them
// is due for a rebuild of all its items. Returns the set with those kinds added: what
// the caller rebuilds.
TKindSet KindsToBuildForDevice(TStreetStructure& street, const TKindSet& kinds, const IGpuDevice* device);

}  // namespace vellmar
