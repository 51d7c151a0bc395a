#pragma once
// The sidewalk: a surface polygon with its surface material and passport reference.

#include <string>

#include "document/PolygonItem.h"

namespace vellmar {

class TTrotuarItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  const std::string& Material() const { return material_; }
  void SetMaterial(const std::string& material) { material_ = material; }
  const std::string& Passport() const { return passport_; }
  void SetPassport(const std::string& passport) { passport_ = passport; }

 private:
  std::string material_;
  std::string passport_;
};

}  // namespace vellmar
