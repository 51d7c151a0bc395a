#include "items/road/CalcAreaItem.h"

#include <string>

#include "document/TaggedStream.h"

namespace vellmar {

void TCalcAreaItem::LoadFromStream(TStream& stream) {
  TPolygonItem::LoadFromStream(stream);
  if (TestIdent(stream, "CALCCONN")) Neighbours().LoadFromStream(stream);
  if (TestIdent(stream, "CALCCOMM")) {
    // The old comment joins a current one rather than replacing it, so neither is lost.
    const std::string old = ReadString(stream);
    if (Comment().empty()) {
      SetComment(old);
    } else if (!old.empty() && old != Comment()) {
      SetComment(Comment() + "\r\n" + old);
    }
  }
}

}  // namespace vellmar
