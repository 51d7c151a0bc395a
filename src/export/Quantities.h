#pragma once
// What a plan holds for the estimate, counted as it is drawn: per marking type the
// count, the length along which paint lies and the painted area (dashes counted by their
// share of each repeat of the type's pattern); per sign number the count and where each
// stands along the main axis; per surface kind the area covered (the even-odd rule,
// overlaps and shared edges counted once); kerbs, barriers and tram lines by length.
// Texts are UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellmar {

class TStreetStructure;

struct TMarkingQuantity {
  std::string Type;  // the designation in the road-marking standard
  int64_t Count = 0;
  double Length = 0.0;
  double Area = 0.0;
};

struct TSignPlace {
  int32_t Id = 0;
  std::optional<double> Station;
  std::optional<double> Offset;  // positive to the right of the axis
  std::string Side;              // "right", "left", "axis"; empty without an axis
};

struct TSignQuantity {
  std::string Number;
  std::vector<TSignPlace> Places;  // along the axis
};

struct TKindQuantity {
  int32_t Kind = 0;
  std::string Name;
  int64_t Count = 0;
  double Amount = 0.0;  // square metres for surfaces, metres for lines
};

struct TQuantities {
  std::vector<TMarkingQuantity> Markings;  // by designation, in the standard's order
  std::vector<TSignQuantity> Signs;        // by number
  std::vector<TKindQuantity> Surfaces;     // area
  std::vector<TKindQuantity> Lines;        // length
};

// Only shown items count. Builds the shapes of the crossings and islands when they are
// not built yet.
TQuantities CountQuantities(TStreetStructure& street);

// "1.5" before "1.14.1": designations compare by their numbers, piece by piece.
bool DesignationLess(const std::string& a, const std::string& b);

// One table a line, for people; and the same as comma-separated values with a header.
std::string QuantitiesText(const TQuantities& quantities);
std::string QuantitiesCsv(const TQuantities& quantities);

}  // namespace vellmar
