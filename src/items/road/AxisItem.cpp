#include "items/road/AxisItem.h"

#include "document/ChunkFields.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

void TAxisItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  if (!LoadChunk(stream, "AXISNAME", axisName_)) axisName_ = Comment();
  LoadChunk(stream, "AXISMARK", markPickets_);
  LoadChunk(stream, "AXISLSTP", picketStep_);
  LoadChunk(stream, "AXISMRKW", markWidth_);
  LoadChunk(stream, "AXISTECH", techSign_);
  LoadChunk(stream, "AXISCNTR", drawLine_);
  LoadChunk(stream, "AXISSHRT", shortPickets_);
  LoadChunk(stream, "AXISCOLR", colour_);
  LoadChunk(stream, "LfSideNm", leftSideName_);
  LoadChunk(stream, "RtSideNm", rightSideName_);
  LoadChunk(stream, "CnSideNm", centreSideName_);
  Points().SetModified(true);
}

void TAxisItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  // A missing name chunk reads as "the comment", so the chunk is written whenever the
  // name differs from the comment, an empty name included: a save and reload never
  // changes the axis.
  if (axisName_ != Comment()) SaveChunk(stream, "AXISNAME", axisName_);
  SaveChunk(stream, "AXISMARK", markPickets_);
  SaveChunk(stream, "AXISLSTP", picketStep_);
  SaveChunk(stream, "AXISMRKW", markWidth_);
  SaveChunkIfAny(stream, "AXISTECH", techSign_);
  SaveChunk(stream, "AXISCNTR", drawLine_);
  SaveChunk(stream, "AXISSHRT", shortPickets_);
  SaveChunk(stream, "AXISCOLR", colour_);
  SaveChunkIfAny(stream, "LfSideNm", leftSideName_);
  SaveChunkIfAny(stream, "RtSideNm", rightSideName_);
  SaveChunkIfAny(stream, "CnSideNm", centreSideName_);
}

void TAxisItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyNames(lines);
  lines.emplace_back("Название"_cp1251);
  lines.emplace_back("Шаг_пикетов"_cp1251);
  lines.emplace_back("Слева"_cp1251);
  lines.emplace_back("Справа"_cp1251);
}

void TAxisItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyValues(lines);
  lines.push_back(axisName_);
  lines.push_back(FormatGeneral(picketStep_, 7));
  lines.push_back(leftSideName_);
  lines.push_back(rightSideName_);
}

}  // namespace vellmar
