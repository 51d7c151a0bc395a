#pragma once
// A line marking: a polyline painted with one of the street library's marking types,
// named by its number in the road-marking standard.

#include <cstdint>
#include <string>
#include <vector>

#include "document/LineItem.h"

namespace vellmar {

class TLineRazmetItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 10;
  // One textured triangle collection per type of the street's library, in library
  // order, then an untextured red one for names the library lacks.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // Finds the marking type in the street's library after reading the name.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The type's textured band along the line, a whole number of repeats long; a name
  // the library lacks draws a red stripe 0.3 m wide.
  void BuildPrimitives() override;
  // Label places that the marking crosses, or crossed as it was last drawn, write their
  // labels anew.
  void PointsChanged() override;

  // The marking type's name in the road-marking standard and whether it is mirrored.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  // Draw the marking on the other side of the line (both offsets negated).
  bool Mirror() const { return mirror_; }
  void SetMirror(bool mirror) { mirror_ = mirror; }
  // The marking type's name; kept and saved unchanged when the library lacks it.
  const std::string& GostName() const { return gostName_; }
  // Also finds the type in the street's library.
  void SetGostName(const std::string& name);
  // Index of the type in the street's library, -1 when it has none of that name.
  int32_t ParamIndex() const { return paramIndex_; }

 private:
  bool BandNear(TAbstractItem& place) const;

  bool mirror_ = false;
  std::string gostName_;
  int32_t paramIndex_ = -1;
};

}  // namespace vellmar
