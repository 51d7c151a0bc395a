#pragma once
// A core-sample marker: a design block (named "Керн" when placed) with a text label and
// three material layers, each a name and a 4-byte value kept exactly as stored. Owned by
// its kind's item list like every item.

#include <array>
#include <cstdint>
#include <string>

#include "items/design/DesignBlockItem.h"

namespace vellmar {

struct TKernMaterial {
  std::string Name;
  // Four stored bytes the viewer does not interpret; kept as their little-endian int32.
  int32_t Value = 0;
  friend bool operator==(const TKernMaterial&, const TKernMaterial&) = default;
};

class TKernItem : public TDesignBlockItem {
 public:
  static constexpr int32_t kMaterialCount = 3;

  TKernItem(TStreetStructure& street, const TItemKind& kind);

  // One triangle collection for the labels, drawn with the black glyph atlas.
  static void InitKindCollections(TStreetStructure& street);
  // The label inside the picture: a quarter of the block's width and a third of its
  // height from the anchor, turned with the reference axis, centred on that spot's
  // height.
  void BuildPrimitives() override;

  // After the design block: "TXTLABEL", then per layer "MATNAMEn" and "MAT_Hn  ", each
  // optional on reading and always written.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  const std::string& Label() const { return label_; }
  void SetLabel(std::string label);
  const std::array<TKernMaterial, kMaterialCount>& Materials() const { return materials_; }
  void SetMaterial(int32_t index, TKernMaterial material);

 private:
  std::string label_;
  std::array<TKernMaterial, kMaterialCount> materials_;
};

}  // namespace vellmar
