#include "platform/files/PathLookup.h"

#include <system_error>

#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// The entry of directory whose name equals name but for case; directories only
// when the path goes on below it.
std::optional<fs::path> FindEntryNoCase(const fs::path& directory, const std::string& name,
                                        bool mustBeDirectory) {
  const fs::path exact = directory / name;
  if (mustBeDirectory ? IsDirectory(exact) : Exists(exact)) return exact;
  std::optional<fs::path> best;
  std::error_code ec;
  for (fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    const fs::path& candidate = it->path();
    const std::string entryName = candidate.filename().string();
    if (!Utf8EqualsNoCase(entryName, name)) continue;
    if (mustBeDirectory && !IsDirectory(candidate)) continue;
    if (!best || entryName < best->filename().string()) best = candidate;
  }
  return best;
}

}  // namespace

TWindowsPath SplitWindowsPath(std::string_view path) {
  TWindowsPath result;
  const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (hasDrive) path.remove_prefix(2);
  result.Absolute = !path.empty() && IsSeparator(path[0]);
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != ".") result.Components.emplace_back(part);
    start = end + 1;
  }
  return result;
}

std::optional<fs::path> FindPathNoCase(const fs::path& base, const std::vector<std::string>& components) {
  fs::path current = base;
  for (std::size_t i = 0; i < components.size(); ++i) {
    const std::string& name = components[i];
    // A NUL would cut the name short inside the system call and match something else.
    if (name.find('\0') != std::string::npos) return std::nullopt;
    const bool last = i + 1 == components.size();
    if (name == "..") {
      // Windows takes ".." by the name's text, not through links.
      current = (current / name).lexically_normal();
      if (!IsDirectory(current)) return std::nullopt;
      continue;
    }
    const auto entry = FindEntryNoCase(current, name, !last);
    if (!entry) return std::nullopt;
    current = *entry;
  }
  if (!Exists(current)) return std::nullopt;
  return current;
}

std::optional<fs::path> ResolveStoredPath(std::string_view cp1251Path, const fs::path& streetFile) {
  const TWindowsPath stored = SplitWindowsPath(Cp1251ToUtf8(cp1251Path));
  if (stored.Components.empty()) return std::nullopt;
  const fs::path streetDirectory = streetFile.parent_path();
  const auto fileAt = [](const fs::path& base, const std::vector<std::string>& components) {
    auto found = FindPathNoCase(base, components);
    return found && !IsDirectory(*found) ? found : std::nullopt;
  };
  if (stored.Absolute) {
    if (auto found = fileAt("/", stored.Components)) return found;
  } else if (!streetDirectory.empty()) {
    if (auto found = fileAt(streetDirectory, stored.Components)) return found;
  }
  if (streetDirectory.empty()) return std::nullopt;
  return fileAt(streetDirectory, {stored.Components.back()});
}

}  // namespace vellmar
