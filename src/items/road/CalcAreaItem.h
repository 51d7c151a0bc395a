#pragma once
// The calculation area: a polygon filled with a pattern that keeps its screen size.
// Older files stored its neighbour list and its comment in chunks of its own; they are
// read into the polygon's neighbour list and the item's comment, and written back the
// current way.

#include "document/PolygonItem.h"

namespace vellmar {

class TCalcAreaItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 34;
  // The outline's lines.
  static void InitKindCollections(TStreetStructure& street);

  using TPolygonItem::TPolygonItem;

  void LoadFromStream(TStream& stream) override;
  // The outline.
  void BuildPrimitives() override;
  // Every frame: the area filled with "CalcAreaTex.bmp" laid on the screen, so that the
  // pattern keeps its pixel size at every zoom.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;
};

}  // namespace vellmar
