#include "items/road/StopItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TStopItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  LoadChunk(stream, "STOPLENG", length_);
  LoadChunk(stream, "STOPWIDT", width_);
  LoadChunk(stream, "STOPNAME", stopName_);
  LoadChunk(stream, "STOPROOT", routes_);
  LoadChunk(stream, "STOPTRSQ", transportSquare_);
  LoadChunk(stream, "STOP_PAV", pavilion_);
  if (Points().Count() < 2) SetInvalid(true);
}

void TStopItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  SaveChunk(stream, "STOPLENG", length_);
  SaveChunk(stream, "STOPWIDT", width_);
  SaveChunkIfAny(stream, "STOPNAME", stopName_);
  SaveChunkIfAny(stream, "STOPROOT", routes_);
  SaveChunk(stream, "STOPTRSQ", transportSquare_);
  SaveChunk(stream, "STOP_PAV", pavilion_);
}

}  // namespace vellmar
