#include "items/road/SignDuplicates.h"

#include <algorithm>
#include <optional>

#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

TSignDuplicates TSignDuplicates::FromGroups(const TSymbolGroups& groups, const std::vector<std::string>& groupNames) {
  TSignDuplicates library;
  for (const std::string& name : groupNames) {
    const auto group = groups.find(name);
    if (group == groups.end() || !group->second.Anchor) continue;
    library.entries_.push_back({name, MakeGlyph(group->second)});
    if (name.find('*') == std::string::npos) library.signNames_.push_back(name);
  }
  std::sort(library.signNames_.begin(), library.signNames_.end());
  return library;
}

TSignDuplicates TSignDuplicates::LoadFromFile(const std::filesystem::path& path) {
  std::vector<std::string> names;
  const std::optional<TSymbolGroups> groups = LoadSymbolFile(path, &names);
  return groups ? FromGroups(*groups, names) : TSignDuplicates();
}

int32_t TSignDuplicates::LastIndexOf(std::string_view name) const {
  for (int32_t i = Count() - 1; i >= 0; --i) {
    if (entries_[static_cast<size_t>(i)].Name == name) return i;
  }
  return -1;
}

int32_t TSignDuplicates::FrameIndexOf(std::string_view signName) const {
  if (signName.empty()) return -1;
  std::string frame(1, signName.front());
  frame += ".*";
  return LastIndexOf(frame);
}

const TSymbolGlyph& TSignDuplicates::Placeholder() {
  static const TSymbolGlyph rectangle = RectangleGlyph(-500, 0, 500, 1600);
  return rectangle;
}

const TSignDuplicates& SignDuplicates() {
  static const TSignDuplicates library = [] {
    const std::optional<std::filesystem::path> path = ResolveDataPath("\\DataFiles\\Знаки\\ZnakRoadCopy.pln"_cp1251);
    return path ? TSignDuplicates::LoadFromFile(*path) : TSignDuplicates();
  }();
  return library;
}

}  // namespace vellmar
