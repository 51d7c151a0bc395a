#pragma once
// The sign-duplicate library: road signs as they are painted on the carriageway, drawn
// in millimetres in the street file "\DataFiles\Знаки\ZnakRoadCopy.pln". Every name of
// the file's group list that has a reference-point item is an entry; a name made of a
// group's first character and ".*" ("3.*") is that group's frame, drawn under each of
// its signs. The program-wide library is read on first use and kept until the program
// ends; items keep indices into it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "items/road/SymbolGlyphs.h"

namespace vellmar {

class TSignDuplicates {
 public:
  struct TEntry {
    std::string Name;
    TSymbolGlyph Glyph;
  };

  // groupNames in the file's order.
  static TSignDuplicates FromGroups(const TSymbolGroups& groups, const std::vector<std::string>& groupNames);
  // Empty when the file is missing or damaged.
  static TSignDuplicates LoadFromFile(const std::filesystem::path& path);

  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  const TEntry& Entry(int32_t index) const { return entries_.at(static_cast<size_t>(index)); }
  // The last entry of that name, else -1.
  int32_t LastIndexOf(std::string_view name) const;
  // The frame of the sign's group: the last entry named its first character + ".*".
  int32_t FrameIndexOf(std::string_view signName) const;
  // The names a sign may be given (frames left out), sorted.
  const std::vector<std::string>& SignNames() const { return signNames_; }

  // What a sign without entries shows: a rectangle 1 m wide and 1.6 m high, in mm.
  static const TSymbolGlyph& Placeholder();

 private:
  std::vector<TEntry> entries_;
  std::vector<std::string> signNames_;
};

// The program-wide library from the data root, read on the first call.
const TSignDuplicates& SignDuplicates();

}  // namespace vellmar
