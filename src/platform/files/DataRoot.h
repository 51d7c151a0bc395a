#pragma once
// Where the program's data files ("DataFiles": textures, marking libraries, sign
// metafiles, pictures) are found on this system.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vellmar {

// The directory of the running executable (from /proc/self/exe); empty when it
// cannot be read.
std::filesystem::path ExecutableDir();

// The places a data root may be, in the order they are tried: $VELLMAR_DATA when
// set, <executable dir>/DataFiles, <executable dir>/../share/vellmar/DataFiles.
std::vector<std::filesystem::path> DataRootCandidates();

// The first candidate that is a directory; nullopt when there is none, and then
// every data file is simply missing.
std::optional<std::filesystem::path> FindDataRoot();

// A data file named the Windows way, "\DataFiles\Разметка\Default.LnRazmet" or
// "Разметка\Default.LnRazmet" (1251 bytes), found below the data root with every
// component matched case-insensitively; nullopt when it is not there.
std::optional<std::filesystem::path> ResolveDataPath(std::string_view cp1251Path);

}  // namespace vellmar
