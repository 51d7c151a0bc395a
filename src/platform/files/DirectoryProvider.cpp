#include "platform/files/DirectoryProvider.h"

#include <utility>

#include "platform/files/DataRoot.h"
#include "platform/files/PathLookup.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace fs = std::filesystem;

void TDirectoryProvider::SetDirectory(const std::string& purpose, fs::path directory) {
  stored_[purpose] = std::move(directory);
}

fs::path TDirectoryProvider::GetDirectory(const std::string& purpose) const {
  if (auto it = stored_.find(purpose); it != stored_.end() && !it->second.empty()) return it->second;
  const std::string name = Cp1251ToUtf8(purpose);
  const auto root = FindDataRoot();
  const fs::path base = root ? *root : ExecutableDir() / "DataFiles";
  // The default folders ship with the data files, whose names may differ in case.
  if (auto found = FindPathNoCase(base, {"DefaultDirs", name})) return *found;
  return base / "DefaultDirs" / fs::path(name);
}

bool TDirectoryProvider::AskDirectory(const std::string& purpose, fs::path& directory) {
  if (!asker_ || !asker_(*this, purpose)) return false;
  directory = GetDirectory(purpose);
  return true;
}

TDirectoryProvider& DirectoryProvider() {
  static TDirectoryProvider provider;
  return provider;
}

}  // namespace vellmar
