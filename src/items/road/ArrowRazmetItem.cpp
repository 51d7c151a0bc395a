#include "items/road/ArrowRazmetItem.h"

#include "document/ChunkFields.h"
#include "document/TaggedStream.h"
#include "items/road/ArrowLibrary.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

TArrowRazmetItem::TArrowRazmetItem(TStreetStructure& street, const TItemKind& kind)
    : TLineItem(street, kind), connected_(street, /*fixed=*/false, 0) {}

void TArrowRazmetItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  std::string name;
  LoadChunk(stream, "ARRMNAME", name);
  SetArrowName(name);
  if (TestIdent(stream, "ARRMCONN")) connected_.LoadFromStream(stream);
}

void TArrowRazmetItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "ARRMNAME", arrowName_);
  WriteIdent(stream, "ARRMCONN");
  connected_.SaveToStream(stream);
}

void TArrowRazmetItem::SetArrowName(const std::string& name) {
  arrowName_ = name;
  arrowIndex_ = ArrowLibrary().IndexOf(arrowName_);
}

void TArrowRazmetItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyNames(lines);
  lines.emplace_back("Символ"_cp1251);
}

void TArrowRazmetItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyValues(lines);
  lines.push_back(arrowName_);
}

}  // namespace vellmar
