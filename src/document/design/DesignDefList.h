#pragma once
// What the three design libraries of a street (blocks, patterned lines, pattern fills)
// share: an ordered list of definitions that the library owns, names matched exactly
// (the first of equal names wins), and the stream form
//   <list ident> "ITEMSCNT" int32 count, then count definitions
// where each definition reads and writes its own chunks. Definitions are held by
// pointer, so a definition (and the collections it owns) keeps its address while the
// list grows. The street holds its libraries through TStreetLibrary.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/Ident.h"
#include "document/StreetLibrary.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"

namespace vellmar {

// TDef provides: a default constructor, Name(), LoadFromStream, SaveToStream and
// static constexpr TIdent kListIdent.
template <class TDef>
class TDesignDefList : public TStreetLibrary {
 public:
  TDesignDefList() = default;
  TDesignDefList(const TDesignDefList&) = delete;
  TDesignDefList& operator=(const TDesignDefList&) = delete;

  int32_t Count() const override { return static_cast<int32_t>(defs_.size()); }
  TDef& Item(int32_t index) { return *defs_[CheckedIndex(index, "Item")]; }
  const TDef& Item(int32_t index) const { return *defs_[CheckedIndex(index, "Item")]; }

  // Appends a definition with its defaults.
  TDef& Add() {
    TDef& def = *defs_.emplace_back(std::make_unique<TDef>());
    ContentsChanged();
    return def;
  }
  void Delete(int32_t index) {
    defs_.erase(defs_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index, "Delete")));
    ContentsChanged();
  }
  void Clear() override {
    defs_.clear();
    ContentsChanged();
  }

  // The first definition whose name equals name exactly (case matters), or -1.
  int32_t IndexOfName(std::string_view name) const {
    for (size_t i = 0; i < defs_.size(); ++i) {
      if (defs_[i]->Name() == name) return static_cast<int32_t>(i);
    }
    return -1;
  }
  TDef* FindByName(std::string_view name) {
    const int32_t index = IndexOfName(name);
    return index < 0 ? nullptr : defs_[static_cast<size_t>(index)].get();
  }
  const TDef* FindByName(std::string_view name) const {
    return const_cast<TDesignDefList*>(this)->FindByName(name);
  }

  // Replaces the contents with the library at the stream's position. Without the list
  // ident nothing is read and the library stays empty; without "ITEMSCNT" it holds no
  // definitions. A damaged library raises and leaves the old contents in place.
  void LoadFromStream(TStream& stream) override {
    std::vector<std::unique_ptr<TDef>> loaded;
    if (TestIdent(stream, TDef::kListIdent)) {
      // Every stored definition opens with an 8-byte ident, which bounds a damaged count.
      const int32_t count = TestIdent(stream, "ITEMSCNT") ? ReadCount(stream, TIdent::kLength) : 0;
      loaded.reserve(static_cast<size_t>(count));
      for (int32_t i = 0; i < count; ++i) {
        loaded.push_back(std::make_unique<TDef>());
        loaded.back()->LoadFromStream(stream);
      }
    }
    defs_ = std::move(loaded);
    ContentsChanged();
  }

  void SaveToStream(TStream& stream) const override {
    WriteIdent(stream, TDef::kListIdent);
    WriteIdent(stream, "ITEMSCNT");
    WriteCount(stream, defs_.size());
    for (const auto& def : defs_) def->SaveToStream(stream);
  }

 protected:
  const std::vector<std::unique_ptr<TDef>>& Defs() const { return defs_; }
  // After every change of the list itself (a definition added or removed, a load, a
  // clearing): where a library hands its definitions' collections to its kind.
  virtual void ContentsChanged() {}

 private:
  size_t CheckedIndex(int32_t index, const char* operation) const {
    if (index < 0 || index >= Count()) {
      throw EVellmarError(std::string("TDesignDefList.") + operation + ": index " + std::to_string(index) +
                          " out of 0.." + std::to_string(Count() - 1));
    }
    return static_cast<size_t>(index);
  }

  std::vector<std::unique_ptr<TDef>> defs_;
};

}  // namespace vellmar
