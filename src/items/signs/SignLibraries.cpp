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

namespace {

// The Name=Value lines of a file; nothing when it cannot be read.
std::optional<TNameValueList> ReadNameValueFile(const std::optional<std::filesystem::path>& file) {
  std::error_code ec;
  std::ifstream in;
  if (file && std::filesystem::is_regular_file(*file, ec)) in.open(*file, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TNameValueList table;
  table.Lines() = SplitTextLines(bytes);
  return table;
}

}  // namespace

TNameValueList LoadOldLibTranslation(const std::optional<std::filesystem::path>& file,
                                     const TWarningSink& warn) {
  if (std::optional<TNameValueList> table = ReadNameValueFile(file)) return std::move(*table);
  if (warn) {
    warn(std::string("Не найден файл \"OldLibTranslation.txt\": старые имена знаков не переводятся."_cp1251));
  }
  return {};
}

const TNameValueList& OldLibTranslation() {
  static const TNameValueList table = LoadOldLibTranslation(
      ResolveDataPath("\\DataFiles\\Знаки\\OldLibTranslation.txt"_cp1251), ReportWarning);
  return table;
}

const TNameValueList& SignDescriptions() {
  static const TNameValueList table =
      ReadNameValueFile(ResolveDataPath("\\DataFiles\\Знаки\\Описания знаков.txt"_cp1251)).value_or(TNameValueList{});
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
