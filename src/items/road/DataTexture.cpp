#include "items/road/DataTexture.h"

#include <optional>
#include <set>
#include <string>

#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"
#include "render/DxPrimCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// Every street makes its kinds' collections anew; the user hears of a file once.
void WarnOnce(std::string_view cp1251Path, const std::string& problem) {
  static std::set<std::string, std::less<>> warned;
  if (!warned.insert(std::string(cp1251Path)).second) return;
  ReportWarning(problem + std::string(": текстура не загружена."_cp1251));
}

}  // namespace

void LoadDataTexture(TTextureSurface& surface, std::string_view cp1251Path) {
  const std::optional<std::filesystem::path> path = ResolveDataPath(cp1251Path);
  if (!path) {
    WarnOnce(cp1251Path, std::string("Не найден файл "_cp1251) + std::string(cp1251Path));
    return;
  }
  try {
    surface.LoadFromFile(*path);
  } catch (const EVellmarError& e) {
    WarnOnce(cp1251Path, e.what());
  }
}

TTextureSurface& LoadDataTexture(TDxPrimCollection& collection, std::string_view cp1251Path) {
  TTextureSurface& surface = collection.CreateOwnTexture();
  LoadDataTexture(surface, cp1251Path);
  return surface;
}

}  // namespace vellmar
