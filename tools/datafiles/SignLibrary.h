#pragma once
// The road-sign library vellmar-datafiles writes under DataFiles/Знаки: the sign
// pictures (enhanced metafiles, a few Windows metafiles), the missing-sign picture,
// the three text files read at start-up, and the default library folder
// DataFiles/DefaultDirs/Каталог библиотеки метафайлов leading to it; and the
// traffic-light head and support pictures under DataFiles/Светофоры. Every picture is
// read back and played; one that does not play whole fails with EVellmarError.

#include <filesystem>

namespace vellmar {

void WriteSignLibrary(const std::filesystem::path& dataFiles);
void WriteTrafficLightPictures(const std::filesystem::path& dataFiles);

}  // namespace vellmar
