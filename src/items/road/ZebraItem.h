#pragma once
// The pedestrian crossing: stripes laid along its polyline, split in two halves with
// direction arrows when the crossing is wider than 6 m.

#include "document/LineItem.h"

namespace vellmar {

class TZebraItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 14;
  // One triangle collection for stripes, gap stripes and arrows.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Black stripes 0.4 m wide every metre along the path, yellow gap stripes between
  // them with Background; wider than 6 m, split in two halves with direction arrows.
  void BuildPrimitives() override;

  // Length of each stripe, i.e. the crossing's width, in metres.
  float Width() const { return width_; }
  void SetWidth(float width) { width_ = width; }
  // The gaps between the stripes are painted yellow too.
  bool Background() const { return background_; }
  void SetBackground(bool on) { background_ = on; }

 private:
  float width_ = 6.0f;
  bool background_ = false;
};

}  // namespace vellmar
