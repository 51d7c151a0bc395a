#include "items/road/SlopeMeasureItem.h"

#include "document/TaggedStream.h"

namespace vellmar {

void TSlopeMeasureItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (!TestIdent(stream, "SLOPEVAL")) return;
  for (size_t i = 0; i < a_.size(); ++i) {
    a_[i] = ReadSingle(stream);
    b_[i] = ReadSingle(stream);
  }
}

void TSlopeMeasureItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  WriteIdent(stream, "SLOPEVAL");
  for (size_t i = 0; i < a_.size(); ++i) {
    WriteSingle(stream, a_[i]);
    WriteSingle(stream, b_[i]);
  }
}

}  // namespace vellmar
