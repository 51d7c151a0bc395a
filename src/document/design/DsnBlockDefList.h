#pragma once
// A street's library of block pictures, stored in the street file under "BLOCKDEF".
// The street owns the library; the library owns its definitions.

#include <string_view>

#include "document/design/DesignDefList.h"
#include "document/design/DsnBlockDef.h"

namespace vellmar {

class TDsnBlockDefList final : public TDesignDefList<TDsnBlockDef> {
 public:
  // The definition a block item named name draws: the first one of that name, or the
  // program's default block when the library has none.
  const TDsnBlockDef& FindOrDefault(std::string_view name) const;
};

}  // namespace vellmar
