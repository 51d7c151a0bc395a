#pragma once
// A building: a surface polygon with its address texts.

#include <string>

#include "document/PolygonItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class THouseItem final : public TPolygonItem {
 public:
  static constexpr int32_t kKindIndex = 6;
  // Its rebuild reads its own points and the street's options and fills only its kind's
  // own collections: the kind may be rebuilt alongside others.
  using TRebuildsAlongside = THouseItem;
  static void InitKindCollections(TStreetStructure& street) {
    InitPolygonCollections(street, kKindIndex, MakeColor(220, 190, 130, 255), MakeColor(1, 1, 1, 255));
  }

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
