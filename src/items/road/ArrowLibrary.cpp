#include "items/road/ArrowLibrary.h"

#include <algorithm>
#include <optional>

#include "geometry/Planar.h"
#include "platform/WarningSink.h"
#include "platform/files/DataRoot.h"
#include "platform/ini/IniReader.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "render/DxTesselator3.h"

namespace vellmar {

namespace {

constexpr std::string_view kLibraryFile = "\\DataFiles\\Разметка\\ArrowRazmet.std"_cp1251;

std::optional<TXYZ> ParsePoint(std::string_view text) {
  const auto amp = text.find('&');
  if (amp == std::string_view::npos) return std::nullopt;
  const auto x = ParseDouble(text.substr(0, amp));
  const auto y = ParseDouble(text.substr(amp + 1));
  if (!x || !y) return std::nullopt;
  return TXYZ{static_cast<float>(*x), static_cast<float>(*y), 0.0f};
}

TArrowOutline ReadOutline(const TIniReader& ini, const std::string& section, std::string_view key) {
  TArrowOutline outline;
  const std::string text = ini.ReadString(section, key);
  std::size_t start = 0;
  for (std::size_t end = text.find('#'); end != std::string::npos;
       start = end + 1, end = text.find('#', start)) {
    const std::string_view piece = std::string_view(text).substr(start, end - start);
    if (const auto point = ParsePoint(piece)) {
      outline.Points.push_back(*point);
    } else {
      ReportWarning("TArrowLibrary.FromIni: [" + section + "] " + std::string(key) + ": point \"" +
                    std::string(piece) + "\" is not x&y; left out");
    }
  }
  if (outline.Points.empty()) return outline;
  outline.Triangles = Tesselate(outline.Points);
  outline.Area = TriangleListArea(outline.Triangles);
  const auto [low, high] = std::minmax_element(outline.Points.begin(), outline.Points.end(),
                                               [](const TXYZ& a, const TXYZ& b) { return a.x < b.x; });
  outline.Extent = double{high->x} - low->x;
  return outline;
}

}  // namespace

TArrowLibrary TArrowLibrary::FromIni(const TIniReader& ini) {
  TArrowLibrary library;
  for (const std::string& section : ini.Sections()) {
    TArrowType& type = library.types_.emplace_back();
    type.Name = section;
    type.Normal = ReadOutline(ini, section, "LineLoop1");
    type.Big = ReadOutline(ini, section, "LineLoop2");
    type.MirrorY = ini.ReadBool(section, "MirrorY");
    type.DescriptionLow = ini.ReadString(section, "DescriptionLow");
    type.DescriptionHigh = ini.ReadString(section, "DescriptionHigh");
    type.GostSubName = ini.ReadString(section, "GostSubName");
  }
  return library;
}

TArrowLibrary TArrowLibrary::LoadFromFile(const std::filesystem::path& path) {
  const auto ini = TIniReader::FromFile(path);
  return ini ? FromIni(*ini) : TArrowLibrary();
}

int32_t TArrowLibrary::IndexOf(std::string_view name) const {
  const auto found =
      std::find_if(types_.begin(), types_.end(), [&](const TArrowType& type) { return type.Name == name; });
  return found == types_.end() ? -1 : static_cast<int32_t>(found - types_.begin());
}

const TArrowLibrary& ArrowLibrary() {
  static const TArrowLibrary library = [] {
    const auto path = ResolveDataPath(kLibraryFile);
    return path ? TArrowLibrary::LoadFromFile(*path) : TArrowLibrary();
  }();
  return library;
}

}  // namespace vellmar
