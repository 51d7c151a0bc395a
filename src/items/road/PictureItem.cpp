#include "items/road/PictureItem.h"

#include "document/TaggedStream.h"

namespace vellmar {

void TPictureItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  // The metafile has no length of its own in the chunk: its header gives it.
  if (TestIdent(stream, "EMF     ")) picture_.LoadFromStream(stream);
}

void TPictureItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  if (picture_.Empty()) return;
  WriteIdent(stream, "EMF     ");
  picture_.SaveToStream(stream);
}

}  // namespace vellmar
