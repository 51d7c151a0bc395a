#pragma once
// A decorative line: a band of its own colour, width and style, or drawn with a line
// definition of the street's line library that it names. The library owns the
// definitions; the item is owned by its kind's item list like every item.

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/LineItem.h"

namespace vellmar {

class TDsnLineDef;
class TDxTriangleCollection;
enum class TLinePart : uint8_t;

class TDesignLineItem : public TLineItem {
 public:
  // Band styles; the style picks the kind's collection Style + 1.
  enum TStyle : int32_t { kSolid = 0, kDashed = 1, kDashDot = 2 };

  TDesignLineItem(TStreetStructure& street, const TItemKind& kind) : TLineItem(street, kind) {}

  // The kind's own collections: a line collection, then the solid, dashed and
  // dash-dot bands (kOwnCollections in all); the line library lends its definitions'
  // collections after them.
  static constexpr size_t kOwnCollections = 4;
  static void InitKindCollections(TStreetStructure& street);
  // The band: with a definition that has a repeated picture, its start cap, repeated
  // middle and end cap; with a definition without one, a dark red band; otherwise a band
  // of the item's own colour, width and style.
  void BuildPrimitives() override;
  // The thin line along the item where it has no definition and no styled band: alone
  // for width 0, on top of a solid band.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // After the line item: "DSLCOLOR", "DSLWIDTH", "DSLPERID", "DSL_DISP", "DSLSTYLE",
  // "DSLEXDEF", each optional on reading and always written.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  uint32_t Color() const { return color_; }
  float Width() const { return width_; }
  int32_t Style() const { return style_; }
  float Period() const { return period_; }
  float Disp() const { return disp_; }
  const std::string& LineDefName() const { return lineDefName_; }
  void SetColor(uint32_t color);
  // 0 = a thin line only.
  void SetWidth(float width);
  void SetStyle(int32_t style);
  void SetPeriod(float period);
  // Shift of the band to the right of the line.
  void SetDisp(float disp);
  // Empty = the item's own colour, width and style.
  void SetLineDefName(std::string name);

  // The definition named LineDefName in the street's line library, or nullptr.
  const TDsnLineDef* LineDef() const;

 private:
  // The style the band is drawn in: Style when it is one of the three, else solid.
  int32_t DrawnStyle() const;
  // Where the item's definition lends the collection of part, or nullptr.
  TDxTriangleCollection* PartCollection(TLinePart part) const;
  void AddPatternBand(const TDsnLineDef& def);
  void AddStyleBand();

  uint32_t color_ = 0;
  float width_ = 0.0f;
  int32_t style_ = kSolid;
  float period_ = 0.0f;
  float disp_ = 0.0f;
  std::string lineDefName_;
  // The polyline's bounds, made with the band.
  TXYZ boundsMin_;
  TXYZ boundsMax_;
};

}  // namespace vellmar
