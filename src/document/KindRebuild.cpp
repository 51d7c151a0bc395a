#include "document/KindRebuild.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"

namespace vellmar {

namespace {

// Kinds rebuilt one after the other on one thread, with what they fill and their size.
struct TKindTask {
  TKindGroup Kinds;
  std::vector<const TDxPrimCollection*> Collections;
  int64_t Items = 0;
};

using TKindErrors = std::array<std::exception_ptr, kKindCount>;

bool NeedsRebuild(TStreetStructure& street, const TKindSet& kinds, int32_t kind) {
  const TItemList& list = street.ItemList(kind);
  return kinds.Contains(kind) && list.Count() > 0 && list.NeedsRebuild();
}

bool Shares(const TKindTask& a, const TKindTask& b) {
  return std::any_of(a.Collections.begin(), a.Collections.end(), [&](const TDxPrimCollection* collection) {
    return std::find(b.Collections.begin(), b.Collections.end(), collection) != b.Collections.end();
  });
}

// Lists that run along a curve copy the curve's densified points, which the curve's list
// works out on first read; they are worked out here, before the workers start, so that
// the workers only ever read them.
void EvaluateCurves(TStreetStructure& street) {
  const TItemList& curves = street.ItemList(kArcCoordsKind);
  for (int32_t i = 0; i < curves.Count(); ++i) curves.Items(i)->Points().EnsurePolyline();
}

// An item whose rebuild raised has flagged its old primitives, and those it added before
// the raise are in no list of its own: all of them go, so that none is drawn beside the
// ones its next rebuild adds, nor left behind naming the item once it is freed.
void DropPrimitives(TAbstractItem& item) {
  for (const TKindCollection& entry : item.Street().KindCollections(item.Kind().Index))
    entry->RemoveOwner(&item);
}

void RebuildKindNoting(TStreetStructure& street, int32_t kind, TKindErrors& errors) {
  try {
    RebuildKindItems(street.ItemList(kind));
  } catch (...) {
    errors[static_cast<size_t>(kind)] = std::current_exception();
  }
}

void RunGroup(TStreetStructure& street, const TKindGroup& group, TKindErrors& errors) {
  for (const int32_t kind : group) RebuildKindNoting(street, kind, errors);
}

// The calling thread works with the helpers, each taking the next group until none is
// left; the helpers are joined before this returns.
void RunGroups(TStreetStructure& street, const std::vector<TKindGroup>& groups, size_t threads,
               TKindErrors& errors) {
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t i = next++; i < groups.size(); i = next++) RunGroup(street, groups[i], errors);
  };
  std::vector<std::jthread> helpers;
  helpers.reserve(threads - 1);
  for (size_t t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no thread to be had: the ones running and the caller take the rest
    }
  }
  work();
}

size_t HardwareThreads() {
  return std::max(std::thread::hardware_concurrency(), 1u);
}

}  // namespace

void RebuildKindItems(TItemList& list) {
  std::exception_ptr first;
  for (int32_t i = 0; i < list.Count(); ++i) {
    TAbstractItem& item = *list.Items(i);
    try {
      item.Rebuild();
    } catch (...) {
      // The item shows nothing and is tried again by the next rebuild; the others go on.
      DropPrimitives(item);
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
  list.SetNeedsRebuild(false);
}

TKindSet KindsRebuiltAlongside() {
  TKindSet kinds;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (TKindRegistry::IsRegistered(kind) && TKindRegistry::Kind(kind).RebuildsAlongside) kinds.Include(kind);
  }
  return kinds;
}

std::vector<TKindGroup> AlongsideGroups(TStreetStructure& street, const TKindSet& kinds) {
  std::vector<TKindTask> tasks;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (!NeedsRebuild(street, kinds, kind) || !street.ItemList(kind).ItemClass().RebuildsAlongside) continue;
    TKindTask joined;
    joined.Kinds.push_back(kind);
    joined.Items = street.ItemList(kind).Count();
    for (const TKindCollection& entry : street.KindCollections(kind))
      joined.Collections.push_back(entry.get());
    std::erase_if(tasks, [&](const TKindTask& task) {
      if (!Shares(joined, task)) return false;
      joined.Kinds.insert(joined.Kinds.end(), task.Kinds.begin(), task.Kinds.end());
      joined.Collections.insert(joined.Collections.end(), task.Collections.begin(), task.Collections.end());
      joined.Items += task.Items;
      return true;
    });
    std::sort(joined.Kinds.begin(), joined.Kinds.end());
    tasks.push_back(std::move(joined));
  }
  std::stable_sort(tasks.begin(), tasks.end(),
                   [](const TKindTask& a, const TKindTask& b) { return a.Items > b.Items; });
  std::vector<TKindGroup> groups;
  for (TKindTask& task : tasks) groups.push_back(std::move(task.Kinds));
  return groups;
}

void RebuildStreetKinds(TStreetStructure& street, const TKindSet& kinds, int32_t threads) {
  const size_t limit = threads > 0 ? static_cast<size_t>(threads) : HardwareThreads();
  TKindErrors errors;
  std::array<bool, kKindCount> done{};
  if (limit > 1) {
    const std::vector<TKindGroup> groups = AlongsideGroups(street, kinds);
    if (groups.size() > 1) {
      EvaluateCurves(street);
      RunGroups(street, groups, std::min(limit, groups.size()), errors);
      for (const TKindGroup& group : groups) {
        for (const int32_t kind : group) done[static_cast<size_t>(kind)] = true;
      }
    }
  }
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (!done[static_cast<size_t>(kind)] && NeedsRebuild(street, kinds, kind)) RebuildKindNoting(street, kind, errors);
  }
  for (const std::exception_ptr& error : errors) {
    if (error) std::rethrow_exception(error);
  }
}

TKindSet KindsToBuildForDevice(TStreetStructure& street, const TKindSet& kinds, const IGpuDevice* device) {
  std::vector<TDxPrimCollection*> lost;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (!kinds.Contains(kind) || street.ItemList(kind).Count() == 0) continue;
    for (const TKindCollection& collection : street.KindCollections(kind)) {
      if (collection->NeedsVertices(device) && std::find(lost.begin(), lost.end(), collection.get()) == lost.end())
        lost.push_back(collection.get());
    }
  }
  TKindSet due = kinds;
  if (lost.empty()) return due;
  // A collection may be lent to several kinds: every one of them adds its part again.
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const TDxPrimCollections& collections = street.KindCollections(kind);
    const bool fills = std::any_of(collections.begin(), collections.end(), [&](const TKindCollection& c) {
      return std::find(lost.begin(), lost.end(), c.get()) != lost.end();
    });
    if (!fills) continue;
    street.ItemList(kind).InvalidatePoints();
    due.Include(kind);
  }
  for (TDxPrimCollection* collection : lost) collection->Clear();
  return due;
}

}  // namespace vellmar
