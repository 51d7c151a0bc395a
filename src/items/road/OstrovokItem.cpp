#include "items/road/OstrovokItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TOstrovokItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, "OSTRMNPT", mainPoint_);
  LoadChunk(stream, "OSTRGOST", gostType_);
  // Only set flags are stored, so a missing one is false here - unlike in a new item.
  newScheme_ = false;
  LoadChunk(stream, "OSTRGSCH", newScheme_);
  LoadChunk(stream, "OSTRNOTL", noOutline_);
}

void TOstrovokItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunk(stream, "OSTRMNPT", mainPoint_);
  SaveChunk(stream, "OSTRGOST", gostType_);
  if (newScheme_) SaveChunk(stream, "OSTRGSCH", true);
  SaveChunk(stream, "OSTRNOTL", noOutline_);
}

}  // namespace vellmar
