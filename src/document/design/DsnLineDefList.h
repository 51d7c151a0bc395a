#pragma once
// A street's library of patterned lines, stored in the street file under "DSNLNDEF".
// The street owns the library; the library owns its definitions and, through them,
// the collections the design-line kind draws from.

#include <vector>

#include "document/design/DesignDefList.h"
#include "document/design/DsnLineDef.h"

namespace vellmar {

class TDsnLineDefList final : public TDesignDefList<TDsnLineDef> {
 public:
  // The start, repeat and finish collections of every definition, in library order:
  // what follows the kind's own collections in the design-line kind's array.
  std::vector<TDxPrimCollection*> Collections() const;
};

}  // namespace vellmar
