#pragma once
// A picture: a metafile laid between two points and scaled to their distance. The item
// owns its metafile, whose bytes it keeps exactly as they were read.

#include "document/OrientPointItem.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

class TPictureItem final : public TOrientPointItem {
 public:
  static constexpr int32_t kKindIndex = 17;
  // Triangles (unused by the frame), then the frame's lines.
  static void InitKindCollections(TStreetStructure& street);

  using TOrientPointItem::TOrientPointItem;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The picture's frame, its width laid from the first point to the second and its
  // rows running down from there.
  void BuildPrimitives() override;
  // The picture inside its frame.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // Empty in a new item.
  const TMetafile& Picture() const { return picture_; }
  TMetafile& Picture() { return picture_; }

 private:
  TMetafile picture_;
  int32_t cacheHint_ = 0;  // position in the program's metafile texture cache
};

}  // namespace vellmar
