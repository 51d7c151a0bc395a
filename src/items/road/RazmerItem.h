#pragma once
// The dimension line: a chain of measured intervals between its first two points,
// straight or laid along an external contour. The item owns its contour list (which
// refers to the contour item without owning it) and its texts.

#include <string>
#include <utility>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ConnectedItems.h"

namespace vellmar {

class TRazmerItem final : public TAbstractItem {
 public:
  static constexpr int32_t kKindIndex = 30;
  // Lines, arrowhead fills, and the values in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  TRazmerItem(TStreetStructure& street, const TItemKind& kind);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The chain of intervals that the points after the first two mark on the line
  // between those two (or along the contour): extension lines, arrowheads, and each
  // interval's value rounded to the street's step or its custom text. Measured values
  // are kept in Texts, so that switching to custom texts starts from them.
  void BuildPrimitives() override;

  // Its first item's polyline is the curve the dimension follows; empty = straight.
  TConnectedItems& Contour() { return contour_; }
  const TConnectedItems& Contour() const { return contour_; }
  // Texts given by the user instead of the measured values (stored only then).
  bool CustomTexts() const { return customTexts_; }
  void SetCustomTexts(bool custom) { customTexts_ = custom; }
  // One text per interval.
  const std::vector<std::string>& Texts() const { return texts_; }
  void SetTexts(std::vector<std::string> texts) { texts_ = std::move(texts); }

 private:
  TConnectedItems contour_;
  bool customTexts_ = false;
  std::vector<std::string> texts_;
};

}  // namespace vellmar
