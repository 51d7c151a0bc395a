#pragma once
// A decorative area filled with one colour or with a repeating pattern of the street's
// figure library that it names. The library owns the patterns; the item is owned by its
// kind's item list like every item.

#include <cstdint>
#include <string>

#include "document/PolygonItem.h"

namespace vellmar {

class TDsnFigDef;

class TDesignFigureItem : public TPolygonItem {
 public:
  TDesignFigureItem(TStreetStructure& street, const TItemKind& kind) : TPolygonItem(street, kind) {}

  // The kind's own plain fill collection; the figure library lends each pattern's
  // collection after it.
  static void InitKindCollections(TStreetStructure& street);
  // The fill: plain in FillColor, or the pattern laid in the world from the first
  // point's grid cell, turned with the reference axis, with FillColor added.
  void BuildPrimitives() override;

  // After the polygon: "DSFFILLC" and "DSFSTYLE", each optional; writing puts "DSFFILLC"
  // always and "DSFSTYLE" only for a pattern.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  uint32_t FillColor() const { return fillColor_; }
  void SetFillColor(uint32_t color);
  // Empty = a plain fill.
  const std::string& PatternName() const { return patternName_; }
  void SetPatternName(std::string name);

  // The index of PatternName in the street's figure library, or -1.
  int32_t PatternIndex() const;
  // That pattern, or nullptr.
  const TDsnFigDef* Pattern() const;

 private:
  uint32_t fillColor_ = 0;
  std::string patternName_;
};

}  // namespace vellmar
