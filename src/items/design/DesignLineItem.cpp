#include "items/design/DesignLineItem.h"

#include "document/ChunkFields.h"
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
  LoadChunk(stream, "DSLCOLOR", color_);
  LoadChunk(stream, "DSLWIDTH", width_);
  LoadChunk(stream, "DSLPERID", period_);
  LoadChunk(stream, "DSL_DISP", disp_);
  LoadChunk(stream, "DSLSTYLE", style_);
  LoadChunk(stream, "DSLEXDEF", lineDefName_);
}

void TDesignLineItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "DSLCOLOR", color_);
  SaveChunk(stream, "DSLWIDTH", width_);
  SaveChunk(stream, "DSLPERID", period_);
  SaveChunk(stream, "DSL_DISP", disp_);
  SaveChunk(stream, "DSLSTYLE", style_);
  SaveChunk(stream, "DSLEXDEF", std::string_view(lineDefName_));
}

}  // namespace vellmar
