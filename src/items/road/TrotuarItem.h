#pragma once
// The sidewalk: a paved surface whose texts are stored as "TRMAT   " and "TRPASPCT".

#include "items/road/PavedSurfaceItem.h"

namespace vellmar {

class TTrotuarItem final : public TPavedSurfaceItem {
 public:
  TTrotuarItem(TStreetStructure& street, const TItemKind& kind)
      : TPavedSurfaceItem(street, kind, "TRMAT   ", "TRPASPCT") {}
};

}  // namespace vellmar
