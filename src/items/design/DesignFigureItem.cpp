#include "items/design/DesignFigureItem.h"

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "document/design/DsnFigDefList.h"

namespace vellmar {
namespace {

const TDsnFigDefList* FigureLibrary(const TStreetStructure& street) {
  return dynamic_cast<const TDsnFigDefList*>(street.Library(TStreetLibrary::TSlot::Figures));
}

}  // namespace

void TDesignFigureItem::SetFillColor(uint32_t color) {
  fillColor_ = color;
  Points().SetModified(true);
}

void TDesignFigureItem::SetPatternName(std::string name) {
  patternName_ = std::move(name);
  Points().SetModified(true);
}

int32_t TDesignFigureItem::PatternIndex() const {
  const TDsnFigDefList* library = FigureLibrary(Street());
  return library != nullptr ? library->IndexOfName(patternName_) : -1;
}

const TDsnFigDef* TDesignFigureItem::Pattern() const {
  const TDsnFigDefList* library = FigureLibrary(Street());
  return library != nullptr ? library->FindByName(patternName_) : nullptr;
}

void TDesignFigureItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  LoadChunk(stream, "DSFFILLC", fillColor_);
  LoadChunk(stream, "DSFSTYLE", patternName_);
}

void TDesignFigureItem::SaveToStream(TStream& stream) const {
  TPolygonItem::SaveToStream(stream);
  SaveChunk(stream, "DSFFILLC", fillColor_);
  SaveChunkIfAny(stream, "DSFSTYLE", patternName_);
}

}  // namespace vellmar
