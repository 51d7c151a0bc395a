#pragma once
// The slope measure: a polyline of two or three points drawn every frame, with six
// values kept for it.

#include <array>

#include "document/AbstractItem.h"

namespace vellmar {

class TSlopeMeasureItem final : public TAbstractItem {
 public:
  using TAbstractItem::TAbstractItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The polyline through its points; the values are not drawn.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // A1..A3 and B1..B3, kept unchanged; stored as A1, B1, A2, B2, A3, B3.
  using TValues = std::array<float, 3>;
  const TValues& A() const { return a_; }
  const TValues& B() const { return b_; }
  void SetValues(const TValues& a, const TValues& b) {
    a_ = a;
    b_ = b;
  }

 private:
  TValues a_{};
  TValues b_{};
};

}  // namespace vellmar
