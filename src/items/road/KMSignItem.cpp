#include "items/road/KMSignItem.h"

#include "document/ChunkFields.h"
#include "document/TaggedStream.h"

namespace vellmar {

void TKMSignItem::LoadFromStream(TStream& stream) {
  TPointItem::LoadFromStream(stream);
  if (TestIdent(stream, "KMNUMBER")) {
    firstNumber_ = ReadInt32(stream);
    secondNumber_ = ReadInt32(stream);
  }
  LoadChunk(stream, "KMSTATUS", status_);
}

void TKMSignItem::SaveToStream(TStream& stream) const {
  TPointItem::SaveToStream(stream);
  WriteIdent(stream, "KMNUMBER");
  WriteInt32(stream, firstNumber_);
  WriteInt32(stream, secondNumber_);
  SaveChunkIfAny(stream, "KMSTATUS", status_);
}

}  // namespace vellmar
