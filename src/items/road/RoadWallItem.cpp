#include "items/road/RoadWallItem.h"

#include "document/ChunkFields.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

const std::array<std::string_view, 3>& TRoadWallItem::WallKindNames() {
  static constexpr std::array<std::string_view, 3> kNames = {"Двойное"_cp1251, "Правое"_cp1251,
                                                             "Левое"_cp1251};
  return kNames;
}

void TRoadWallItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "RWALLKND", wallKind_);
}

void TRoadWallItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "RWALLKND", wallKind_);
}

}  // namespace vellmar
