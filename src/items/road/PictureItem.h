#pragma once
// A picture: a metafile laid between two points and scaled to their distance. The item
// owns its metafile, whose bytes it keeps exactly as they were read.

#include "document/OrientPointItem.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

class TPictureItem final : public TOrientPointItem {
 public:
  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // Empty in a new item.
  const TMetafile& Picture() const { return picture_; }
  TMetafile& Picture() { return picture_; }

 private:
  TMetafile picture_;
};

}  // namespace vellmar
