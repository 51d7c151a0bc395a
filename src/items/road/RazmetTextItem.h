#pragma once
// Text painted on the road in the marking font ("СТОП" and the like), labelled with its
// designation in the road-marking standard.

#include <string>
#include <string_view>

#include "document/OrientPointItem.h"

namespace vellmar {

class TRazmetTextItem final : public TOrientPointItem {
 public:
  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  // "1.21" for the stop line's "СТОП" exactly, "1.22" for any other text.
  std::string_view GostLabel() const;

 private:
  std::string text_;
};

}  // namespace vellmar
