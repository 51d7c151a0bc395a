#pragma once
// The second road sign kind: one sign picture standing at a point (1 to 3 points). Its
// picture is always sign 1.24, found by the file name "1-24.emf" in the metafile library;
// when the library lacks it the missing-sign picture shows and the street still loads.
// Only the base item is stored. Owned by its kind's item list like every item; the
// picture belongs to the library.

#include <cstdint>
#include <string>
#include <vector>

#include "document/AbstractItem.h"

namespace vellmar {

class TMetafile;
struct TSignLibraries;

class TZnak2Item : public TAbstractItem {
 public:
  // The library file this kind shows.
  static constexpr const char* kPictureName = "1-24.emf";

  TZnak2Item(TStreetStructure& street, const TItemKind& kind) : TAbstractItem(street, kind) {}

  // The base item, then the picture looked up; an item without points is Invalid.
  void LoadFromStream(TStream& stream) override;
  // The points' polyline in black and the picture at point 0, its X axis towards point 1.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // What the picture is looked up in; by default the program's. It must outlive the item.
  void UseLibraries(const TSignLibraries& libraries) { libraries_ = &libraries; }

  // nullptr until loaded or when even the missing-sign picture is empty.
  const TMetafile* Picture() const { return picture_; }
  int32_t Width() const;
  int32_t Height() const;
  // 0 counts as 1.
  float Scale() const { return scale_; }
  void SetScale(float scale) { scale_ = scale; }
  // The sign's number and its name from the sign descriptions.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& LibName() const { return libName_; }
  // The library position, or -2 when the library lacks the picture.
  int32_t LibIndex() const { return libIndex_; }

 private:
  const TMetafile* picture_ = nullptr;
  float scale_ = 1.0f;
  std::string libName_;
  int32_t libIndex_ = -1;
  const TSignLibraries* libraries_ = nullptr;
  int32_t cacheHint_ = 0;  // the picture's position in the texture cache
};

}  // namespace vellmar
