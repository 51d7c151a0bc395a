#pragma once
// The two record players over the shared GDI canvas: enhanced metafiles and Windows
// metafiles (plain or placeable). Each maps the picture onto `picture` (left, top,
// right, bottom in target pixels) of the Cairo context and counts the records it
// played and skipped into `report`.

#include <cairo.h>

#include <array>
#include <vector>

#include "platform/metafile/GdiObjects.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafilePlayer.h"
#include "platform/metafile/MetafileRecordReader.h"

namespace vellmar {

void PlayEnhancedRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                         TMetafilePlayback& report);
void PlayWindowsRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                        TMetafilePlayback& report);

// Plays every record through `play` (true: played), counting a record that raises
// EDamagedRecord as skipped.
template <class TPlay>
void PlayAll(const std::vector<TMetafileRecord>& records, TPlay&& play, TMetafilePlayback& report) {
  for (const TMetafileRecord& record : records) {
    bool played = false;
    try {
      played = play(record);
    } catch (const EDamagedRecord&) {
    }
    ++(played ? report.Played : report.Skipped);
  }
}

// The LOGFONT fields before the face name; the enhanced format stores the numbers in
// 32 bits, the Windows format in 16.
template <class TNumber>
TGdiFont ReadLogFontFields(TRecordReader& r) {
  TGdiFont font;
  font.Height = r.Get<TNumber>();
  font.Width = r.Get<TNumber>();
  font.Escapement = r.Get<TNumber>();
  r.Get<TNumber>();  // orientation
  font.Weight = r.Get<TNumber>();
  font.Italic = r.Get<uint8_t>() != 0;
  font.Underline = r.Get<uint8_t>() != 0;
  font.StrikeOut = r.Get<uint8_t>() != 0;
  font.CharSet = r.Get<uint8_t>();
  r.Skip(4);  // precisions, quality, pitch and family
  return font;
}

}  // namespace vellmar
