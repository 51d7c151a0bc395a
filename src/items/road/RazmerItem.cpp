#include "items/road/RazmerItem.h"

#include "document/ChunkFields.h"
#include "document/TaggedStream.h"

namespace vellmar {

TRazmerItem::TRazmerItem(TStreetStructure& street, const TItemKind& kind)
    : TAbstractItem(street, kind), contour_(street, /*fixed=*/false, 0) {}

void TRazmerItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (TestIdent(stream, "EXTCONTR")) contour_.LoadFromStream(stream);
  LoadChunk(stream, "NO_TEXTS", customTexts_);
  // Stored as one text whose lines are the interval texts.
  if (TestIdent(stream, "CustTxts")) texts_ = ReadTextList(stream);
}

void TRazmerItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  WriteIdent(stream, "EXTCONTR");
  contour_.SaveToStream(stream);
  SaveChunk(stream, "NO_TEXTS", customTexts_);
  if (customTexts_) {
    WriteIdent(stream, "CustTxts");
    WriteTextList(stream, texts_);
  }
}

}  // namespace vellmar
