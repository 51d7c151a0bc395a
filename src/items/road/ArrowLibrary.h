#pragma once
// The arrow library: the direction-arrow shapes of road marking, one type per section
// of the text file "\DataFiles\Разметка\ArrowRazmet.std", each with a normal and a
// large outline in metres (base point at the origin, pointing along +x), tessellated
// once when the library is read. Arrow items find their type by its section name.
// The program-wide library is read on first use and lives until the program ends;
// items keep indices into it, never pointers.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

class TIniReader;

struct TArrowOutline {
  TXYZArray Points;     // the outline as the file gives it, drawn closed
  TXYZArray Triangles;  // its fill, three points per triangle
  double Area = 0;      // of the triangles
  double Extent = 0;    // largest minus smallest x of the outline
};

struct TArrowType {
  std::string Name;      // the section name (Windows-1251)
  TArrowOutline Normal;  // "LineLoop1"
  TArrowOutline Big;     // "LineLoop2", drawn when the street asks for large arrows
  bool MirrorY = false;  // y -> -y: the arrow turns to the other side
  std::string DescriptionLow, DescriptionHigh;
  std::string GostSubName;  // the designation shown as the arrow's label
};

class TArrowLibrary {
 public:
  // Sections in file order. An outline is "x&y#x&y#...": a point without its closing
  // "#" is ignored; one whose numbers do not read ("." is the separator) is left out
  // and reported through the warning sink, naming the section and the point.
  static TArrowLibrary FromIni(const TIniReader& ini);
  // An empty library when the file cannot be read.
  static TArrowLibrary LoadFromFile(const std::filesystem::path& path);

  int32_t Count() const { return static_cast<int32_t>(types_.size()); }
  const TArrowType& Type(int32_t index) const { return types_.at(static_cast<std::size_t>(index)); }
  // The first type named exactly name (case-sensitive), else -1.
  int32_t IndexOf(std::string_view name) const;

 private:
  std::vector<TArrowType> types_;
};

// The program-wide library, read from the data root on the first call.
const TArrowLibrary& ArrowLibrary();

}  // namespace vellmar
