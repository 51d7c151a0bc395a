#pragma once
// A street's library of fill patterns, stored in the street file under "DSNFGDEF".
// The street owns the library; the library owns its definitions and, through them,
// the collections the design-figure kind draws patterned fills into.

#include <vector>

#include "document/design/DesignDefList.h"
#include "document/design/DsnFigDef.h"

namespace vellmar {

class TDsnFigDefList final : public TDesignDefList<TDsnFigDef> {
 public:
  // Each definition's collection, in library order: what follows the kind's plain
  // collection in the design-figure kind's array.
  std::vector<TDxPrimCollection*> Collections() const;
};

}  // namespace vellmar
