#pragma once
// Finding files named the Windows way: names stored inside documents and data
// files use "\" or "/", may carry a drive letter, and match on disk whatever their
// case (Cyrillic included), as they did where the documents were written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmar {

// A Windows path taken apart. Empty and "." parts are dropped; ".." is kept.
struct TWindowsPath {
  bool Absolute = false;  // began with a separator, after an optional drive letter
  std::vector<std::string> Components;
};

// Splits on both "\" and "/" and drops a drive letter ("C:"). Works on UTF-8 and
// 1251 bytes alike.
TWindowsPath SplitWindowsPath(std::string_view path);

// base / components, each component matched case-insensitively (UTF-8 names); an
// exact match wins, otherwise the first match in byte order, so the result does not
// depend on directory order. nullopt when some component has no match.
std::optional<std::filesystem::path> FindPathNoCase(const std::filesystem::path& base,
                                                    const std::vector<std::string>& components);

// A file name stored in a street (1251 bytes): tried as given, absolute or relative
// to the street file's directory, then as its bare name beside the street file, so
// that a street moved with its files still finds them. Only files are returned.
std::optional<std::filesystem::path> ResolveStoredPath(std::string_view cp1251Path,
                                                       const std::filesystem::path& streetFile);

}  // namespace vellmar
