#pragma once
// The traffic-island marking: a polygon outlined by a thin line and hatched by one of
// the island schemes, chosen by its type.

#include <cstdint>

#include "document/PolygonItem.h"

namespace vellmar {

class TOstrovokItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 12;
  // A triangle collection and a line collection, both near-black.
  static void InitKindCollections(TStreetStructure& street);

  using TPolygonItem::TPolygonItem;

  // A stored item without "OSTRGSCH" keeps the earlier hatching rules.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The outline as a 0.1 m line and the hatching of the island's type; an island that
  // yields no hatching is filled whole.
  void BuildPrimitives() override;

  // Index of the apex among the control points; 0 is taken as 1.
  int32_t MainPoint() const { return mainPoint_; }
  void SetMainPoint(int32_t index) { mainPoint_ = index; }
  // 0 "1.16.1", 1 "1.16.2", 2 "1.16.3", 3 "1.16.4*", 4 "1.16.5*".
  uint8_t GostType() const { return gostType_; }
  void SetGostType(uint8_t type) { gostType_ = type; }
  // The current hatching rules (true) or the earlier ones kept for old files.
  bool NewScheme() const { return newScheme_; }
  void SetNewScheme(bool on) { newScheme_ = on; }
  bool NoOutline() const { return noOutline_; }
  void SetNoOutline(bool on) { noOutline_ = on; }

 private:
  int32_t mainPoint_ = 0;
  uint8_t gostType_ = 0;
  bool newScheme_ = true;
  bool noOutline_ = false;
};

}  // namespace vellmar
