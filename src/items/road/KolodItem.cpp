#include "items/road/KolodItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TKolodItem::LoadFromStream(TStream& stream) {
  TPointItem::LoadFromStream(stream);
  LoadChunk(stream, "KOLODOWN", owner_);
  LoadChunk(stream, "KOLTXALG", textAlign_);
}

void TKolodItem::SaveToStream(TStream& stream) const {
  TPointItem::SaveToStream(stream);
  SaveChunkIfAny(stream, "KOLODOWN", owner_);
  SaveChunk(stream, "KOLTXALG", textAlign_);
}

}  // namespace vellmar
