#pragma once
// Direction arrows painted on the road: one arrow of the library type named ArrowName at
// every point but the last, pointing to the next point. The item owns its list of the
// items it belongs to.

#include <cstdint>
#include <string>
#include <vector>

#include "document/ConnectedItems.h"
#include "document/LineItem.h"

namespace vellmar {

class TArrowRazmetItem final : public TLineItem {
 public:
  static constexpr int32_t kKindIndex = 11;
  // Arrow fills, arrow outlines, and the labels in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  TArrowRazmetItem(TStreetStructure& street, const TItemKind& kind);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // One arrow from every point but the last towards the next, large when the street
  // asks for large arrows, each labelled with its designation read along the axis.
  void BuildPrimitives() override;

  // The arrow type's name in the arrow library. A name the library does not know is kept
  // and saved as it was read, so a plan opened where the library lacks it loses nothing.
  // The symbol's name in the arrow library.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& ArrowName() const { return arrowName_; }
  // Also finds the type in the arrow library.
  void SetArrowName(const std::string& name);
  // Index of the type in the arrow library, -1 when it has none of that name.
  int32_t ArrowIndex() const { return arrowIndex_; }
  // The items this arrow belongs to.
  TConnectedItems& Connected() { return connected_; }
  const TConnectedItems& Connected() const { return connected_; }

 private:
  std::string arrowName_;
  int32_t arrowIndex_ = -1;
  TConnectedItems connected_;
};

}  // namespace vellmar
