#include "items/road/RulerItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TRulerItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  LoadChunk(stream, "RULERTXT", showText_);
  LoadChunk(stream, "RULERCLR", colour_);
}

void TRulerItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  SaveChunk(stream, "RULERTXT", showText_);
  SaveChunk(stream, "RULERCLR", colour_);
}

}  // namespace vellmar
