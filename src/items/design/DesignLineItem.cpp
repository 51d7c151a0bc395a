#include "items/design/DesignLineItem.h"

#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "document/design/DsnLineDefList.h"

namespace vellmar {

void TDesignLineItem::SetColor(uint32_t color) {
  color_ = color;
  Points().SetModified(true);
}

void TDesignLineItem::SetWidth(float width) {
  width_ = width;
  Points().SetModified(true);
}

void TDesignLineItem::SetStyle(int32_t style) {
  style_ = style;
  Points().SetModified(true);
}

void TDesignLineItem::SetPeriod(float period) {
  period_ = period;
  Points().SetModified(true);
}

void TDesignLineItem::SetDisp(float disp) {
  disp_ = disp;
  Points().SetModified(true);
}

void TDesignLineItem::SetLineDefName(std::string name) {
  lineDefName_ = std::move(name);
  Points().SetModified(true);
}

const TDsnLineDef* TDesignLineItem::LineDef() const {
  const auto* library = dynamic_cast<const TDsnLineDefList*>(Street().Library(TStreetLibrary::TSlot::Lines));
  return library != nullptr ? library->FindByName(lineDefName_) : nullptr;
}

void TDesignLineItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  if (TestIdent(stream, "DSLCOLOR")) color_ = static_cast<uint32_t>(ReadInt32(stream));
  if (TestIdent(stream, "DSLWIDTH")) width_ = ReadSingle(stream);
  if (TestIdent(stream, "DSLPERID")) period_ = ReadSingle(stream);
  if (TestIdent(stream, "DSL_DISP")) disp_ = ReadSingle(stream);
  if (TestIdent(stream, "DSLSTYLE")) style_ = ReadInt32(stream);
  if (TestIdent(stream, "DSLEXDEF")) lineDefName_ = ReadString(stream);
}

void TDesignLineItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  WriteIdent(stream, "DSLCOLOR");
  WriteInt32(stream, static_cast<int32_t>(color_));
  WriteIdent(stream, "DSLWIDTH");
  WriteSingle(stream, width_);
  WriteIdent(stream, "DSLPERID");
  WriteSingle(stream, period_);
  WriteIdent(stream, "DSL_DISP");
  WriteSingle(stream, disp_);
  WriteIdent(stream, "DSLSTYLE");
  WriteInt32(stream, style_);
  WriteIdent(stream, "DSLEXDEF");
  WriteString(stream, lineDefName_);
}

}  // namespace vellmar
