#include "items/road/ZebraItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TZebraItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "ZEBRAWID", width_);
  LoadChunk(stream, "ZEBRABKG", background_);
}

void TZebraItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "ZEBRAWID", width_);
  if (background_) SaveChunk(stream, "ZEBRABKG", true);
}

}  // namespace vellmar
