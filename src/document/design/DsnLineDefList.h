#pragma once
// A street's library of patterned lines, stored in the street file under "DSNLNDEF".
// The street owns the library; the library owns its definitions and, through them,
// the collections the design-line kind draws from.

#include <cstdint>
#include <vector>

#include "document/design/DesignDefList.h"
#include "document/design/DsnLineDef.h"

namespace vellmar {

class TDsnLineDefList final : public TDesignDefList<TDsnLineDef> {
 public:
  // The design-line kind, whose collection array the library lends to.
  static constexpr int32_t kKindIndex = 19;

  // A library of no street (it lends nowhere), or the street's own library.
  TDsnLineDefList() = default;
  explicit TDsnLineDefList(TStreetStructure& street) : street_(&street) {}

  // The start, repeat and finish collections of every definition, in library order:
  // what follows the kind's own collections in the design-line kind's array.
  std::vector<TDxPrimCollection*> Collections() const;
  // Lends Collections() to the kind's array in the street (see LentCollections.h).
  void InstallCollections(TStreetStructure& street) const;

 private:
  void ContentsChanged() override;

  TStreetStructure* street_ = nullptr;
};

}  // namespace vellmar
