#include "items/signs/SignLibraries.h"

#include <fstream>
#include <iterator>
#include <string>

#include "document/TaggedStream.h"
#include "items/signs/NamedMetafileLib.h"
#include "platform/Error.h"
#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

TNameValueList LoadOldLibTranslation(const std::optional<std::filesystem::path>& file,
                                     const TWarningSink& warn) {
  TNameValueList table;
  std::error_code ec;
  std::ifstream in;
  if (file && std::filesystem::is_regular_file(*file, ec)) in.open(*file, std::ios::binary);
  if (!in.is_open()) {
    if (warn) {
      warn(std::string(
          "Не найден файл \"OldLibTranslation.txt\": старые имена знаков не переводятся."_cp1251));
    }
    return table;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  table.Lines() = SplitTextLines(bytes);
  return table;
}

const TNameValueList& OldLibTranslation() {
  static const TNameValueList table = LoadOldLibTranslation(
      ResolveDataPath("\\DataFiles\\Знаки\\OldLibTranslation.txt"_cp1251), ReportWarning);
  return table;
}

namespace {

// A street with signs must load even when the library's directory is unavailable: the
// signs then show the missing-sign picture and the user hears why once.
const TNamedMetafileLib& LibraryOrWarning() {
  try {
    return MetafileLibrary();
  } catch (const EVellmarError& e) {
    ReportWarning(e.what());
    return MetafileLibrary();  // left empty by the failed first call, and not asked again
  }
}

}  // namespace

const TSignLibraries& ProgramSignLibraries() {
  static const TSignLibraries libraries{LibraryOrWarning(), OldLibTranslation(), MissingSignMetafile()};
  return libraries;
}

}  // namespace vellmar
