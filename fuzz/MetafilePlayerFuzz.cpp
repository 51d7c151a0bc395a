// Arbitrary bytes read as a metafile and played into a small bitmap, as a sign
// picture from a street file becomes a texture. Whatever the records say, playback
// must finish, account for every record as played or skipped, and leave the one-pixel
// magenta frame whole. Seeds: the metafile reader's corpus (corpus/MetafileFuzz), the
// pictures the player tests play (corpus/MetafilePlayerFuzz) and the sign library.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafilePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellmar;
  TMemoryStream stream{std::span<const uint8_t>(data, size)};
  TMetafile metafile;
  try {
    metafile.LoadFromStream(stream);
  } catch (const EVellmarError&) {
    return 0;
  }
  constexpr int kWidth = 48, kHeight = 40;
  TMetafilePlayback report;
  const TBitmap bitmap = PlayMetafile(metafile, kWidth, kHeight, &report);
  if (static_cast<std::size_t>(report.Played + report.Skipped) != metafile.Records().size()) __builtin_trap();
  if (bitmap.Width() != kWidth || bitmap.Height() != kHeight) __builtin_trap();
  for (int x = 0; x < kWidth; ++x) {
    if ((bitmap.GetPixel(x, 0) & 0xFFFFFF) != 0xFF00FF || (bitmap.GetPixel(x, kHeight - 1) & 0xFFFFFF) != 0xFF00FF)
      __builtin_trap();
  }
  return 0;
}
