#include "items/text/TextLabelItem.h"

#include "document/ChunkFields.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {
constexpr std::string_view kDefaultFont = "Arial";
}  // namespace

TTextLabelItem::TTextLabelItem(TStreetStructure& street, const TItemKind& kind)
    : TOrientPointItem(street, kind),
      text_("Надпись"_cp1251),
      color_(MakeColor(5, 5, 5, 255)),
      fontName_(kDefaultFont) {}

void TTextLabelItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  LoadChunk(stream, "TXTLTEXT", text_);
  LoadChunk(stream, "TXTLSIZE", size_);
  LoadChunk(stream, "TXTLCOLR", color_);
  // Unlike the other fields, a label stored without a font is an Arial label.
  if (!LoadChunk(stream, "TXTLFONT", fontName_)) fontName_ = kDefaultFont;
  LoadChunk(stream, "TXTLSTYL", fontStyle_);
  LoadChunk(stream, "TXTLALGN", align_);
  LoadChunk(stream, "TXTLOUTL", outline_);
}

void TTextLabelItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  SaveChunk(stream, "TXTLTEXT", text_);
  SaveChunk(stream, "TXTLSIZE", size_);
  SaveChunk(stream, "TXTLCOLR", color_);
  SaveChunk(stream, "TXTLFONT", fontName_);
  SaveChunk(stream, "TXTLSTYL", fontStyle_);
  SaveChunk(stream, "TXTLALGN", align_);
  SaveChunk(stream, "TXTLOUTL", outline_);
}

void TTextLabelItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyNames(lines);
  lines.emplace_back("Текст"_cp1251);
  lines.emplace_back("Шрифт"_cp1251);
}

void TTextLabelItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TOrientPointItem::GetPropertyValues(lines);
  lines.push_back(text_);
  lines.push_back(fontName_);
}

}  // namespace vellmar
