// Underlay files from disk are untrusted: the header and tile tables, then the
// packed coefficient blocks of a few tiles of every level. Every failure must be an
// EVellmarError; crashes, overruns and unbounded allocations are findings.

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
      const size_t tiles = file.TileTable(level).size();
      // Tile entry t through its column alone and through row 1, as the tables are
      // addressed both ways; a handful of tiles per level keeps each run short.
      for (size_t t = 0; t < tiles && t < 3; ++t) {
        try {
          file.DecodeTile(level, static_cast<int>(t), bitmap, 0);
          file.DecodeTile(level, static_cast<int>(t) - file.Level(level).Columns, bitmap, 1);
        } catch (const EVellmarError&) {
        }
      }
    }
  } catch (const EVellmarError&) {
  }
  return 0;
}
