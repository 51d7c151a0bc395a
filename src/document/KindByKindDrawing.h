#pragma once
// A street drawn one kind at a time, as its own Draw draws them all at once: the same
// kinds rebuilt first, then each kind in index order onto the same frame, so the picture
// is the same. Between kinds the print control hears the items drawn and may stop the
// drawing (EPrintCancelled).

#include "document/AbstractItem.h"
#include "document/KindSet.h"
#include "document/PrintControl.h"
#include "render/DxDrawParams.h"

namespace vellmar {

class TStreetStructure;

void DrawKindByKind(TStreetStructure& Street, const TDxDrawParams& Params, const TKindSet& Kinds, TModeSet Modes,
                    const TPrintControl& Control);

}  // namespace vellmar
