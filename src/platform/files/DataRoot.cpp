#include "platform/files/DataRoot.h"

#include <cstdlib>
#include <system_error>

#include "platform/files/PathLookup.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {

namespace fs = std::filesystem;

fs::path ExecutableDir() {
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : executable.parent_path();
}

std::vector<fs::path> DataRootCandidates() {
  std::vector<fs::path> candidates;
  if (const char* fromEnvironment = std::getenv("VELLMAR_DATA"); fromEnvironment && *fromEnvironment) {
    candidates.emplace_back(fromEnvironment);
  }
  if (const fs::path executableDir = ExecutableDir(); !executableDir.empty()) {
    candidates.push_back(executableDir / "DataFiles");
    candidates.push_back((executableDir / ".." / "share" / "vellmar" / "DataFiles").lexically_normal());
  }
  return candidates;
}

std::optional<fs::path> FindDataRoot() {
  for (const fs::path& candidate : DataRootCandidates()) {
    std::error_code ec;
    if (fs::is_directory(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

std::optional<fs::path> ResolveDataPath(std::string_view cp1251Path) {
  const auto root = FindDataRoot();
  if (!root) return std::nullopt;
  TWindowsPath relative = SplitWindowsPath(Cp1251ToUtf8(cp1251Path));
  // Data paths are written from the folder beside the executable down.
  if (!relative.Components.empty() && Utf8EqualsNoCase(relative.Components.front(), "DataFiles")) {
    relative.Components.erase(relative.Components.begin());
  }
  return FindPathNoCase(*root, relative.Components);
}

}  // namespace vellmar
