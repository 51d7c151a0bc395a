#pragma once
// A street's library of fill patterns, stored in the street file under "DSNFGDEF".
// The street owns the library; the library owns its definitions and, through them,
// the collections the design-figure kind draws patterned fills into.

#include <cstdint>
#include <vector>

#include "document/design/DesignDefList.h"
#include "document/design/DsnFigDef.h"

namespace vellmar {

class TDsnFigDefList final : public TDesignDefList<TDsnFigDef> {
 public:
  // The design-figure kind, whose collection array the library lends to.
  static constexpr int32_t kKindIndex = 7;

  // A library of no street (it lends nowhere), or the street's own library.
  TDsnFigDefList() = default;
  explicit TDsnFigDefList(TStreetStructure& street) : street_(&street) {}

  // Each definition's collection, in library order: what follows the kind's plain
  // collection in the design-figure kind's array.
  std::vector<TDxPrimCollection*> Collections() const;
  // Lends Collections() to the kind's array in the street (see LentCollections.h).
  void InstallCollections(TStreetStructure& street) const;

 private:
  void ContentsChanged() override;

  TStreetStructure* street_ = nullptr;
};

}  // namespace vellmar
