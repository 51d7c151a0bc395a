#pragma once
// A design block: one copy of a block picture at each of the item's points, turned by the
// angle of an axis. The item names its picture; the street's block library owns the
// pictures. Owned by its kind's item list like every item; it owns its axis list.

#include <cstdint>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ConnectedItems.h"

namespace vellmar {

class TDsnBlockDef;

class TDesignBlockItem : public TAbstractItem {
 public:
  TDesignBlockItem(TStreetStructure& street, const TItemKind& kind);

  // One copy of the definition's picture at every point, all turned by the axis angle at
  // the first point; nothing when the picture would be smaller than a pixel or no point
  // is in view.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // After the base: "DSNBNAME", "DSNBCOLR", "DSNBAXIS", each optional; an item without
  // points is Invalid.
  void LoadFromStream(TStream& stream) override;
  // After the base: "DSNBNAME" always, "DSNBCOLR" unless the colour is 0, "DSNBAXIS" always.
  void SaveToStream(TStream& stream) const override;

  // The block's name in the street's block library.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& BlockName() const { return blockName_; }
  void SetBlockName(std::string name);
  // Vertex colour added to the picture; 0 = none.
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t color);
  // The axis that turns the block; when empty the item's ReferenceAxis does.
  TConnectedItems& AxisRef() { return axisRef_; }
  const TConnectedItems& AxisRef() const { return axisRef_; }

  // The definition named BlockName in the street's block library, or the default block.
  const TDsnBlockDef& BlockDef() const;
  // Radians: the angle of the axis at the station of point index; 0 without an axis.
  float BlockAngle(int32_t index) const;

 private:
  std::string blockName_;
  uint32_t color_ = 0;
  TConnectedItems axisRef_;
};

}  // namespace vellmar
