#include "items/road/RazmetZnakItem.h"

#include "document/ChunkFields.h"

namespace vellmar {

void TRazmetZnakItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  LoadChunk(stream, "ZNAKNAME", signName_);
  resolved_ = false;
}

void TRazmetZnakItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  SaveChunk(stream, "ZNAKNAME", signName_);
}

std::string_view TRazmetZnakItem::GostLabel() const {
  switch (signName_.empty() ? '\0' : signName_.front()) {
    case '1':
      return "1.24.1";
    case '3':
      return "1.24.2";
    case '8':
      return "1.24.3";
    case '5':
      return "1.24.4(*)";
    default:
      return "????";
  }
}

}  // namespace vellmar
