#include "items/road/RazmetZnakItem.h"

#include "document/ChunkFields.h"
#include "platform/text/Cp1251.h"

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

void TRazmetZnakItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyNames(lines);
  lines.emplace_back("Знак"_cp1251);
}

void TRazmetZnakItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyValues(lines);
  lines.push_back(signName_);
}

}  // namespace vellmar
