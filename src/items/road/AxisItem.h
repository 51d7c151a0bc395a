#pragma once
// The road axis: a polyline along the road that carries the stationing (pickets every
// PicketStep metres, short ticks at every tenth of a picket) and names the road's sides.

#include <cstdint>
#include <string>
#include <vector>

#include "document/LineItem.h"

namespace vellmar {

class TAxisItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 35;
  // The line collection of the axis, its ticks and vertex marks.
  static void InitKindCollections(TStreetStructure& street);

  using TLineItem::TLineItem;

  // An axis stored without a name takes its comment as name; the geometry is rebuilt.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The line (in the plan proper with DrawLine, else among the construction marks),
  // a diamond around every vertex (construction), and the picket and short ticks.
  void BuildPrimitives() override;

  // Draw picket ticks and labels.
  bool MarkPickets() const { return markPickets_; }
  void SetMarkPickets(bool on) { markPickets_ = on; }
  // The axis line shows in the plan proper, not only among the construction marks.
  bool DrawLine() const { return drawLine_; }
  void SetDrawLine(bool on) { drawLine_ = on; }
  // Draw short ticks at every tenth of a picket.
  bool ShortPickets() const { return shortPickets_; }
  void SetShortPickets(bool on) { shortPickets_ = on; }
  uint32_t Colour() const { return colour_; }
  void SetColour(uint32_t colour) { colour_ = colour; }
  // The axis's name, picket step and the names of its sides.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  // Metres between pickets.
  float PicketStep() const { return picketStep_; }
  void SetPicketStep(float step) { picketStep_ = step; }
  // Half the length of a picket tick, across the axis.
  float MarkWidth() const { return markWidth_; }
  void SetMarkWidth(float width) { markWidth_ = width; }
  const std::string& TechSign() const { return techSign_; }
  void SetTechSign(const std::string& sign) { techSign_ = sign; }
  // Printed beside every picket as "Ось " + name.
  const std::string& AxisName() const { return axisName_; }
  void SetAxisName(const std::string& name) { axisName_ = name; }
  const std::string& LeftSideName() const { return leftSideName_; }
  void SetLeftSideName(const std::string& name) { leftSideName_ = name; }
  const std::string& RightSideName() const { return rightSideName_; }
  void SetRightSideName(const std::string& name) { rightSideName_ = name; }
  const std::string& CentreSideName() const { return centreSideName_; }
  void SetCentreSideName(const std::string& name) { centreSideName_ = name; }

 private:
  bool markPickets_ = false;
  bool drawLine_ = false;
  bool shortPickets_ = false;
  uint32_t colour_ = 0;
  float picketStep_ = 100.0f;
  float markWidth_ = 20.0f;
  std::string techSign_;
  std::string axisName_;
  std::string leftSideName_;
  std::string rightSideName_;
  std::string centreSideName_;
};

}  // namespace vellmar
