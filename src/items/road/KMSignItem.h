#pragma once
// The kilometre sign: a plate with two numbers at a point, turned along its axis.

#include <cstdint>
#include <string>

#include "document/PointItem.h"

namespace vellmar {

class TKMSignItem final : public TPointItem {
 public:
  using TPointItem::TPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

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
