#include "items/signs/NamedMetafileLib.h"

#include <system_error>

#include "platform/Error.h"
#include "platform/files/DataRoot.h"
#include "platform/files/DirectoryListing.h"
#include "platform/files/DirectoryProvider.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace fs = std::filesystem;

namespace {

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::string NameOf(const fs::path& path) {
  return Utf8ToCp1251(path.filename().string());
}

}  // namespace

std::string TNamedMetafileLib::DirectoryPurpose() {
  return std::string("Каталог библиотеки метафайлов"_cp1251);
}

void TNamedMetafileLib::AddFiles(const fs::path& directory, std::string_view extension,
                                 const TWarningSink& warn) {
  for (const fs::path& file : FilesWithExtension(directory, extension)) {
    try {
      AddFile(file);
    } catch (const EVellmarError& e) {
      if (warn) warn(e.what());
    }
  }
}

void TNamedMetafileLib::AddFile(const fs::path& path) {
  TMetafile picture;
  picture.LoadFromFile(path);
  entries_.push_back({NameOf(path), std::move(picture)});
}

void TNamedMetafileLib::LoadDirectory(const fs::path& directory, const TWarningSink& warn) {
  AddFiles(directory, ".emf", warn);
  AddFiles(directory, ".wmf", warn);
  if (entries_.empty() && warn) {
    warn(std::string(12, ' ') +
         std::string("Предупреждение !!! \rНе найдено ни одного метафайла в каталоге \""_cp1251) +
         Utf8ToCp1251(directory.string()) + "\".");
  }
}

int32_t TNamedMetafileLib::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (Cp1251EqualsNoCase(entries_[i].Name, name)) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t TNamedMetafileLib::IndexOfMetafile(const TMetafile& metafile) const {
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].Picture == metafile) return static_cast<int32_t>(i);
  }
  return -1;
}

const TNamedMetafileLib::TEntry& TNamedMetafileLib::Entry(int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EVellmarError("TNamedMetafileLib.Metafile: index " + std::to_string(index) + " out of 0.." +
                        std::to_string(Count() - 1));
  }
  return entries_[static_cast<size_t>(index)];
}

void BuildMetafileLibrary(TNamedMetafileLib& library, TDirectoryProvider& provider,
                          const TWarningSink& warn) {
  library.Clear();
  const std::string purpose = TNamedMetafileLib::DirectoryPurpose();
  fs::path directory = provider.GetDirectory(purpose);
  if (!IsDirectory(directory)) provider.AskDirectory(purpose, directory);
  if (!IsDirectory(directory)) {
    throw EVellmarError(std::string("Недоступен каталог \""_cp1251) + Utf8ToCp1251(directory.string()) +
                        std::string("\" (библиотека метафайлов)"_cp1251));
  }
  library.LoadDirectory(directory, warn);
}

TNamedMetafileLib& MetafileLibrary() {
  static TNamedMetafileLib library;
  static bool built = false;
  if (!built) {
    built = true;
    BuildMetafileLibrary(library, DirectoryProvider(), ReportWarning);
  }
  return library;
}

TMetafile LoadMissingSignMetafile(const std::optional<fs::path>& file, const TWarningSink& warn) {
  TMetafile picture;
  std::string problem;
  if (!file) {
    problem = std::string("Не найден файл \"Знак отсутствует в библиотеке.emf\""_cp1251);
  } else {
    try {
      picture.LoadFromFile(*file);
      return picture;
    } catch (const EVellmarError& e) {
      problem = e.what();
    }
  }
  if (warn) warn(problem + std::string(": знаки, которых нет в библиотеке, не показываются."_cp1251));
  return picture;
}

const TMetafile& MissingSignMetafile() {
  static const TMetafile picture = LoadMissingSignMetafile(
      ResolveDataPath("\\DataFiles\\Знаки\\Знак отсутствует в библиотеке.emf"_cp1251), ReportWarning);
  return picture;
}

}  // namespace vellmar
