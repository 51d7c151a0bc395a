#pragma once
// The kilometre sign: a plate with two numbers at a point, turned along its axis.

#include <cstdint>
#include <string>

#include "document/PointItem.h"

namespace vellmar {

class TKMSignItem final : public TPointItem {
 public:
  static constexpr int32_t kKindIndex = 24;

  using TPointItem::TPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Every frame: the two plates side by side at the point, turned along the axis, at a
  // constant size on screen (or the street's sign scale) and thinned out as the view
  // zooms out.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;
  // The thinning modulus for a pixel of pixelSize metres: a sign shows only when its
  // first number is a multiple of it.
  static int32_t ThinningModulus(double pixelSize);

  // The number on each half of the plate; -1 leaves that half empty.
  int32_t FirstNumber() const { return firstNumber_; }
  void SetFirstNumber(int32_t number) { firstNumber_ = number; }
  int32_t SecondNumber() const { return secondNumber_; }
  void SetSecondNumber(int32_t number) { secondNumber_ = number; }
  const std::string& Status() const { return status_; }
  void SetStatus(const std::string& status) { status_ = status; }

 private:
  int32_t firstNumber_ = 0;
  int32_t secondNumber_ = 0;
  std::string status_;
};

}  // namespace vellmar
