#pragma once
// The base of the kinds placed at one point (manholes, signs, kilometre signs). Such an
// item needs exactly one vertex; one read without any is dropped at load. Owned by its
// kind's item list like every item.

#include "document/AbstractItem.h"

namespace vellmar {

class TPointItem : public TAbstractItem {
 public:
  TPointItem(TStreetStructure& street, const TItemKind& kind) : TAbstractItem(street, kind) {}

  void LoadFromStream(TStream& stream) override;
};

}  // namespace vellmar
