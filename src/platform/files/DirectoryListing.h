#pragma once
// The files of a data directory that a Windows mask such as "*.emf" would find.

#include <filesystem>
#include <string_view>
#include <vector>

namespace vellmar {

// The regular files directly in directory whose extension (".emf") matches, letter case
// ignored, ordered by name with letter case ignored (ties by bytes). Directory order
// differs between file systems; name order makes every library built from a listing
// the same everywhere. A missing or unreadable directory lists nothing.
std::vector<std::filesystem::path> FilesWithExtension(const std::filesystem::path& directory,
                                                      std::string_view extension);

}  // namespace vellmar
