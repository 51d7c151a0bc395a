#pragma once
// What each shown item of a street becomes when the plan leaves the program: its shape
// in plan metres (areas as outlines to be filled by the even-odd rule, lines as drawn -
// a line marking where it is painted - and points with their rotation), and what it
// says of itself (kind, ID, group, comments, its kind's own fields, a text's string,
// the station and offset of its first point on the main axis). Texts are UTF-8 here:
// every format the features go to wants it. The features point at the street's items,
// which must outlive them.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/KindSet.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

enum class TFeatureShape { Point, Lines, Area };

struct TFeatureField {
  std::string Name;  // UTF-8, unique within the item
  std::string Value;
};

// One plate of a road sign: its number and, when its picture is known, its outline on the plan.
struct TFeaturePlate {
  std::string Number;
  std::optional<std::array<TXYZ, 4>> Outline;
};

struct TExportFeature {
  TAbstractItem* Item = nullptr;
  TFeatureShape Shape = TFeatureShape::Point;
  // Point: one part of one point; Lines: the line strings; Area: the outlines.
  std::vector<TXYZArray> Parts;
  double Rotation = 0.0;  // degrees counter-clockwise from +x
  std::string Text;       // what a text item writes
  std::optional<double> Station;
  std::optional<double> Offset;  // positive to the right of the axis
  std::vector<TFeatureField> Fields;
  std::vector<TFeaturePlate> Plates;
};

struct TKindFeatures {
  int32_t Kind = 0;
  std::string Ident;  // trimmed, ASCII
  std::string Name;   // the kind's display name
  std::vector<std::string> FieldNames;  // every field any of its items has, in first-seen order
  std::vector<TExportFeature> Features;
};

// Called after each kind with the items done so far and in all; false stops the
// collection, which then raises "Export: stopped".
using TExportProgress = std::function<bool(int64_t done, int64_t total)>;

// The features of the shown items of the kinds in the set, kind by kind in index order
// (kinds without items left out), items in list order.
std::vector<TKindFeatures> CollectFeatures(TStreetStructure& street, const TKindSet& kinds,
                                           const TExportProgress& progress = {});

// The kind's ident without its padding.
std::string TrimmedIdent(int32_t kind);

}  // namespace vellmar
