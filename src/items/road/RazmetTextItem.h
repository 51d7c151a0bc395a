#pragma once
// Text painted on the road in the marking font ("СТОП" and the like), labelled with its
// designation in the road-marking standard.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/OrientPointItem.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TRazmetTextItem final : public TOrientPointItem {
 public:
  static constexpr int32_t kKindIndex = 15;
  // The labels in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The designation label beside the text, read along the axis.
  void BuildPrimitives() override;
  // Every frame: the text in the marking font from the point along the orientation,
  // 2.5 times taller when the street asks for large markings.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // The painted word.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) {
    text_ = text;
    letters_.clear();
  }
  // "1.21" for the stop line's "СТОП" exactly, "1.22" for any other text.
  std::string_view GostLabel() const;

 private:
  std::string text_;
  // The text's letters laid side by side in the marking font, made at the first draw
  // after the text was set.
  std::vector<TDxVertex> letters_;
};

}  // namespace vellmar
