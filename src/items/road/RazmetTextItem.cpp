#include "items/road/RazmetTextItem.h"

#include "document/ChunkFields.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

void TRazmetTextItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  LoadChunk(stream, "TEXTTEXT", text_);
  letters_.clear();
}

void TRazmetTextItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  SaveChunk(stream, "TEXTTEXT", text_);
}

std::string_view TRazmetTextItem::GostLabel() const {
  return text_ == "СТОП"_cp1251 ? "1.21" : "1.22";
}

}  // namespace vellmar
