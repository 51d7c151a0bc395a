#include "items/road/LineRazmetItem.h"

#include "document/ChunkFields.h"
#include "document/LnParam.h"
#include "document/StreetStructure.h"

namespace vellmar {

void TLineRazmetItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  std::string name;
  LoadChunk(stream, "LNRMGOST", name);
  SetGostName(name);
  LoadChunk(stream, "LNRMMIRR", mirror_);
}

void TLineRazmetItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "LNRMGOST", gostName_);
  SaveChunk(stream, "LNRMMIRR", mirror_);
}

void TLineRazmetItem::SetGostName(const std::string& name) {
  gostName_ = name;
  paramIndex_ = FindLnParam(gostName_, Street().GetLineParams());
}

}  // namespace vellmar
