#pragma once
// The library of sign pictures: every metafile (*.emf, then *.wmf) of a directory the
// user chose, found by file name (letter case ignored) or by content. The library owns
// its metafiles. The program-wide library is built on first use from the directory of
// the purpose "Каталог библиотеки метафайлов" and lives until the program ends; so does
// the picture shown for a sign the library lacks.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WarningSink.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

class TDirectoryProvider;

class TNamedMetafileLib {
 public:
  // The directory purpose the library is read from (Windows-1251).
  static std::string DirectoryPurpose();

  // Adds the files of directory with the extension (".emf"; see FilesWithExtension). A
  // file that does not read is left out and reported through warn; the others are added.
  void AddFiles(const std::filesystem::path& directory, std::string_view extension, const TWarningSink& warn);
  // Loads the metafile and adds it under its file name; raises the loader's error.
  void AddFile(const std::filesystem::path& path);
  // The "*.emf" files, then the "*.wmf" files; warns once when there are none.
  void LoadDirectory(const std::filesystem::path& directory, const TWarningSink& warn);
  void Clear() { entries_.clear(); }

  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  // The first entry whose file name (with extension, Windows-1251) equals name, letter
  // case ignored; -1 when there is none.
  int32_t IndexOfName(std::string_view name) const;
  // The last entry whose bytes equal the metafile's; -1 when there is none.
  int32_t IndexOfMetafile(const TMetafile& metafile) const;
  const TMetafile& Metafile(int32_t index) const { return Entry(index).Picture; }
  const std::string& Name(int32_t index) const { return Entry(index).Name; }

 private:
  struct TEntry {
    std::string Name;
    TMetafile Picture;
  };
  const TEntry& Entry(int32_t index) const;

  std::vector<TEntry> entries_;
};

// Empties the library and reads it from the provider's directory for the library's
// purpose. When that is not an existing directory the provider asks the user; when it
// still is not, raises "Недоступен каталог \"<directory>\" (библиотека метафайлов)".
void BuildMetafileLibrary(TNamedMetafileLib& library, TDirectoryProvider& provider, const TWarningSink& warn);

// The program-wide library, built on the first call with the program's directory
// provider and warning sink. A first call that raised leaves it empty, and later calls
// return it without asking again.
TNamedMetafileLib& MetafileLibrary();

// The picture of a sign missing from the library, from file; an empty metafile and one
// warning when it is nullopt or does not read.
TMetafile LoadMissingSignMetafile(const std::optional<std::filesystem::path>& file, const TWarningSink& warn);
// The program's one, from "\DataFiles\Знаки\Знак отсутствует в библиотеке.emf".
const TMetafile& MissingSignMetafile();

}  // namespace vellmar
