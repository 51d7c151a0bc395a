#pragma once
// What road signs look their pictures up in: the metafile library, the table that maps
// old library file names to current ones ("OldLibTranslation.txt", lines Name=Value)
// and the picture of a sign the library lacks. Holds references only; the program's set
// lives until the program ends.

#include <filesystem>
#include <optional>

#include "document/NameValueList.h"
#include "platform/WarningSink.h"

namespace vellmar {

class TMetafile;
class TNamedMetafileLib;

struct TSignLibraries {
  const TNamedMetafileLib& Library;
  const TNameValueList& Translation;
  const TMetafile& Missing;
};

// The Name=Value lines of a translation file; an empty table and one warning when file is
// nullopt or cannot be read, so that a missing file never stops the program.
TNameValueList LoadOldLibTranslation(const std::optional<std::filesystem::path>& file,
                                     const TWarningSink& warn);
// The program's table, from "\DataFiles\Знаки\OldLibTranslation.txt", read on first use.
const TNameValueList& OldLibTranslation();

// The signs' names by picture file ("\DataFiles\Знаки\Описания знаков.txt", lines
// FileName=Name), read on first use; empty when the file is missing or unreadable, as the
// names are only shown beside the sign numbers.
const TNameValueList& SignDescriptions();

// The program's library, translation table and missing-sign picture.
const TSignLibraries& ProgramSignLibraries();

}  // namespace vellmar
