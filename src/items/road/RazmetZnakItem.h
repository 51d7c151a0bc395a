#pragma once
// A road sign duplicated on the road surface (markings 1.24.x): the sign's glyph over its
// group's frame, from the sign-duplicate library.

#include <cstdint>
#include <string>
#include <vector>
#include <string_view>

#include "document/OrientPointItem.h"

namespace vellmar {

class TRazmetZnakItem final : public TOrientPointItem {
 public:
  static constexpr int32_t kKindIndex = 16;
  // The labels in atlas text.
  static void InitKindCollections(TStreetStructure& street);

  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Two labels beside the sign, read along the axis: the designation and the sign's
  // number in brackets.
  void BuildPrimitives() override;
  // Every frame: the group's frame and the sign from the sign-duplicate library at the
  // point, turned by the orientation; a placeholder rectangle when the library has
  // neither.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // The duplicated sign's number, e.g. "3.24".
  // The painted sign's number.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& SignName() const { return signName_; }
  void SetSignName(const std::string& name) {
    signName_ = name;
    resolved_ = false;
  }
  // Library entries of the group's frame and of the sign, -1 when absent; looked up at
  // the first draw after the name was set.
  int32_t FrameGlyph() const { return frameGlyph_; }
  int32_t SignGlyph() const { return signGlyph_; }
  // The marking's designation by the sign's group (its first character); "????" for
  // a group without one.
  std::string_view GostLabel() const;

 private:
  std::string signName_;
  bool resolved_ = false;
  int32_t frameGlyph_ = -1;
  int32_t signGlyph_ = -1;
};

}  // namespace vellmar
