#include "items/road/BortItem.h"

#include "document/ChunkFields.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

TBortItem::TBortItem(TStreetStructure& street, const TItemKind& kind)
    : TLineItem(street, kind), colour_(MakeColor(0, 128, 0, 255)) {}

void TBortItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "BORTKIND", curbKind_);
  LoadChunk(stream, "BORTGOST", gost_);
  LoadChunk(stream, "BORTWIDT", width_);
  LoadChunk(stream, "BORTCOLR", colour_);
}

void TBortItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunkIfAny(stream, "BORTKIND", curbKind_);
  SaveChunkIfAny(stream, "BORTGOST", gost_);
  SaveChunk(stream, "BORTWIDT", width_);
  SaveChunk(stream, "BORTCOLR", colour_);
}

}  // namespace vellmar
