#include "items/road/TramWayItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TTramWayItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "RUTWIDTH", gauge_);
}

void TTramWayItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  if (gauge_ != 0.0f) SaveChunk(stream, "RUTWIDTH", gauge_);
}

}  // namespace vellmar
