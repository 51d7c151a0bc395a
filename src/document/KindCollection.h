#pragma once
// One entry of a kind's collection array in a street. Most entries are collections the
// kind made for itself, owned here; a design library lends the kind the collections its
// definitions own, and those entries only point at them. The array is read the same way
// either way (get, ->, *); an entry made from a unique_ptr owns it.

#include <concepts>
#include <memory>

#include "render/DxPrimCollection.h"

namespace vellmar {

class TKindCollection {
 public:
  TKindCollection() = default;
  template <std::derived_from<TDxPrimCollection> T>
  TKindCollection(std::unique_ptr<T> owned)  // NOLINT: arrays take unique_ptrs
      : owned_(std::move(owned)), collection_(owned_.get()) {}

  // An entry for a collection owned elsewhere, which must outlive the entry.
  static TKindCollection Borrowed(TDxPrimCollection& collection) {
    TKindCollection entry;
    entry.collection_ = &collection;
    return entry;
  }

  TDxPrimCollection* get() const { return collection_; }
  TDxPrimCollection* operator->() const { return collection_; }
  TDxPrimCollection& operator*() const { return *collection_; }
  bool IsBorrowed() const { return collection_ != nullptr && owned_ == nullptr; }

 private:
  std::unique_ptr<TDxPrimCollection> owned_;
  TDxPrimCollection* collection_ = nullptr;
};

}  // namespace vellmar
