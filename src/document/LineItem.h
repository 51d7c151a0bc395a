#pragma once
// The base of the kinds drawn along an open polyline (curbs, markings, axes). Such an
// item needs at least two vertices; one read with fewer is dropped at load. Owned by
// its kind's item list like every item.

#include "document/AbstractItem.h"

namespace vellmar {

class TLineItem : public TAbstractItem {
 public:
  TLineItem(TStreetStructure& street, const TItemKind& kind) : TAbstractItem(street, kind) {}

  void LoadFromStream(TStream& stream) override;
};

}  // namespace vellmar
