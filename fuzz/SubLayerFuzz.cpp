// Underlay files from disk are untrusted: the header and tile tables, then the
// packed coefficient blocks of a few tiles of every level. Every failure must be an
// EVellmarError; crashes, overruns and unbounded allocations are findings. The seeds
// are `vellmar-underlay import` outputs of small pictures (a colour ramp; noisy stripes two tiles wide).

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
    for (const int level : kSubLayerLevels) {
      // One tile per level, addressed by column and row as the underlay item does;
      // the table's last entry, so that damaged tables and short ones are reached.
      const int64_t tiles = static_cast<int64_t>(file.TileTable(level).size());
      const int64_t columns = file.Level(level).Columns;
      if (tiles == 0) continue;
      const int64_t last = tiles - 1;
      const int column = static_cast<int>(columns > 0 ? last % columns : last);
      const int row = static_cast<int>(columns > 0 ? last / columns : 0);
      try {
        file.DecodeTile(level, column, bitmap, row);
      } catch (const EVellmarError&) {
      }
    }
  } catch (const EVellmarError&) {
  }
  return 0;
}
