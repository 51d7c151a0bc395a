#pragma once
// A building: a surface polygon with its address texts.

#include <string>

#include "document/PolygonItem.h"

namespace vellmar {

class THouseItem final : public TPolygonItem {
 public:
  using TPolygonItem::TPolygonItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  const std::string& Address() const { return address_; }
  void SetAddress(const std::string& address) { address_ = address; }
  const std::string& AddressStreet() const { return addressStreet_; }
  void SetAddressStreet(const std::string& text) { addressStreet_ = text; }

 private:
  std::string address_;
  std::string addressStreet_;
};

}  // namespace vellmar
