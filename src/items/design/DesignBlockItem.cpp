#include "items/design/DesignBlockItem.h"

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "document/design/DefaultBlock.h"
#include "document/design/DsnBlockDefList.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

TDesignBlockItem::TDesignBlockItem(TStreetStructure& street, const TItemKind& kind)
    : TAbstractItem(street, kind), axisRef_(street, true, 1) {}

void TDesignBlockItem::SetBlockName(std::string name) {
  blockName_ = std::move(name);
  Points().SetModified(true);
}

void TDesignBlockItem::SetColor(uint32_t color) {
  color_ = color;
  Points().SetModified(true);
}

const TDsnBlockDef& TDesignBlockItem::BlockDef() const {
  // A street made before the design libraries were registered has no block library.
  const auto* library =
      dynamic_cast<const TDsnBlockDefList*>(Street().Library(TStreetLibrary::TSlot::Blocks));
  return library != nullptr ? library->FindOrDefault(blockName_) : DefaultBlock();
}

float TDesignBlockItem::BlockAngle(int32_t index) const {
  TAbstractItem* axis = axisRef_.Items(0);
  if (axis == nullptr) axis = ReferenceAxis();
  if (axis == nullptr || index < 0 || index >= Points().Count()) return 0.0f;
  TPointList& line = axis->Points();
  return static_cast<float>(line.AngleAt(line.ParamOfPoint(Points().GetVertex(index))));
}

void TDesignBlockItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  LoadChunk(stream, "DSNBNAME", blockName_);
  LoadChunk(stream, "DSNBCOLR", color_);
  if (TestIdent(stream, "DSNBAXIS")) axisRef_.LoadFromStream(stream);
  if (Points().Count() == 0) SetInvalid(true);
}

void TDesignBlockItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  SaveChunk(stream, "DSNBNAME", std::string_view(blockName_));
  if (color_ != 0) SaveChunk(stream, "DSNBCOLR", color_);
  WriteIdent(stream, "DSNBAXIS");
  axisRef_.SaveToStream(stream);
}

void TDesignBlockItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TAbstractItem::GetPropertyNames(lines);
  lines.emplace_back("Блок"_cp1251);
}

void TDesignBlockItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TAbstractItem::GetPropertyValues(lines);
  lines.push_back(blockName_);
}

}  // namespace vellmar
