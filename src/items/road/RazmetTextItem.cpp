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

void TRazmetTextItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyNames(lines);
  lines.emplace_back("Текст"_cp1251);
}

void TRazmetTextItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyValues(lines);
  lines.push_back(text_);
}

}  // namespace vellmar
