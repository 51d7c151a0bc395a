#include "platform/files/DirectoryListing.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {

namespace fs = std::filesystem;

std::vector<fs::path> FilesWithExtension(const fs::path& directory, std::string_view extension) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    if (Utf8EqualsNoCase(it->path().extension().string(), extension)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    const std::string nameA = a.filename().string();
    const std::string nameB = b.filename().string();
    const int order = Cp1251CompareNoCase(Utf8ToCp1251(nameA), Utf8ToCp1251(nameB));
    return order != 0 ? order < 0 : nameA < nameB;
  });
  return files;
}

}  // namespace vellmar
