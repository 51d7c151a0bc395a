#pragma once
// A road sign duplicated on the road surface (markings 1.24.x): the sign's glyph over its
// group's frame, from the sign-duplicate library.

#include <string>
#include <string_view>

#include "document/OrientPointItem.h"

namespace vellmar {

class TRazmetZnakItem final : public TOrientPointItem {
 public:
  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // The duplicated sign's number, e.g. "3.24".
  const std::string& SignName() const { return signName_; }
  void SetSignName(const std::string& name) { signName_ = name; }
  // The marking's designation by the sign's group (its first character); "????" for
  // a group without one.
  std::string_view GostLabel() const;

 private:
  std::string signName_;
};

}  // namespace vellmar
