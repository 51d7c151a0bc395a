#pragma once
// A decorative line: a band of its own colour, width and style, or drawn with a line
// definition of the street's line library that it names. The library owns the
// definitions; the item is owned by its kind's item list like every item.

#include <cstdint>
#include <string>

#include "document/LineItem.h"

namespace vellmar {

class TDsnLineDef;

class TDesignLineItem : public TLineItem {
 public:
  // Band styles; the style picks the kind's collection Style + 1.
  enum TStyle : int32_t { kSolid = 0, kDashed = 1, kDashDot = 2 };

  TDesignLineItem(TStreetStructure& street, const TItemKind& kind) : TLineItem(street, kind) {}

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
  uint32_t color_ = 0;
  float width_ = 0.0f;
  int32_t style_ = kSolid;
  float period_ = 0.0f;
  float disp_ = 0.0f;
  std::string lineDefName_;
};

}  // namespace vellmar
