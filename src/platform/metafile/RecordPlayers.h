#pragma once
// The two record players over the shared GDI canvas: enhanced metafiles and Windows
// metafiles (plain or placeable). Each maps the picture onto `picture` (left, top,
// right, bottom in target pixels) of the Cairo context and counts the records it
// played and skipped into `report`.

#include <cairo.h>

#include <array>

#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafilePlayer.h"

namespace vellmar {

void PlayEnhancedRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                         TMetafilePlayback& report);
void PlayWindowsRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                        TMetafilePlayback& report);

}  // namespace vellmar
