// Underlay files from disk are untrusted: the header and tile tables, then the
// packed coefficient blocks of a tile. Every failure must be an EVellmarError;
// crashes, overruns and unbounded allocations are findings. The seeds are
// `vellmar-underlay import` outputs of small pictures (a colour ramp; noisy
// stripes two tiles wide).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/imaging/Bitmap.h"
#include "underlay/SubLayerFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellmar;
  static TBitmap bitmap(kSubLayerTileSize, kSubLayerTileSize, TPixelFormat::pf32bit);
  try {
    TSubLayerFile file(std::make_unique<TMemoryStream>(std::span<const uint8_t>(data, size)));
    // One tile per run keeps runs fast: the last entry of the first level with a
    // table, the search starting at a level the input's length picks. It is
    // addressed by column and row, as the underlay item does.
    for (size_t i = 0; i < kSubLayerLevels.size(); ++i) {
      const int level = kSubLayerLevels[(size + i) % kSubLayerLevels.size()];
      const int64_t tiles = static_cast<int64_t>(file.TileTable(level).size());
      if (tiles == 0) continue;
      const int64_t columns = file.Level(level).Columns;
      const int64_t last = tiles - 1;
      file.DecodeTile(level, static_cast<int>(columns > 0 ? last % columns : last), bitmap,
                      static_cast<int>(columns > 0 ? last / columns : 0));
      break;
    }
  } catch (const EVellmarError&) {
  }
  return 0;
}
