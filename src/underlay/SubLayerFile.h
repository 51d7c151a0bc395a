#pragma once
// One open underlay file: a 96-byte header of four level descriptors (levels 1, 2,
// 4 and 8, level n showing the picture at 1/n of full size), one table of 64-bit
// tile offsets per level, and at each offset a tile of three packed coefficient
// blocks. The file object owns its read-only stream, kept open for its lifetime, its
// coder and the scratch buffer each tile is decoded through; tiles are decoded on
// request and never cached.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "underlay/KolvexCoder.h"

namespace vellmar {

class TBitmap;
class TStream;

// A level's descriptor as stored in the header.
struct TSubLayerLevel {
  int64_t TableOffset;
  int64_t TableSize;  // bytes; the table has TableSize div 8 entries
  int32_t Columns;
  int32_t Rows;
};
static_assert(sizeof(TSubLayerLevel) == 24, "header descriptors are 24 bytes each");

inline constexpr int kSubLayerTileSize = 256;
inline constexpr int kSubLayerQuality = 2;
inline constexpr std::array<int, 4> kSubLayerLevels = {1, 2, 4, 8};
inline constexpr int64_t kSubLayerHeaderSize = 96;

class TSubLayerFile {
 public:
  // Opens the file read-only and reads the header and tile tables; failures raise.
  explicit TSubLayerFile(const std::filesystem::path& fileName);
  // Reads from the given stream instead of a file (memory images, fuzzing).
  explicit TSubLayerFile(std::unique_ptr<TStream> stream);
  ~TSubLayerFile();

  const std::filesystem::path& FileName() const { return fileName_; }
  // level is 1, 2, 4 or 8; any other value gives an empty descriptor and table.
  const TSubLayerLevel& Level(int level) const;
  const std::vector<int64_t>& TileTable(int level) const;

  // Decodes the tile in the given row and column of a level into a 256×256 32-bit
  // bitmap (picture row 0 at the top) and returns true. A level other than 1, 2, 4
  // or 8, or a tile outside the level's table (short tables included), leaves the
  // bitmap untouched and returns false. Damaged tile data raises.
  bool DecodeTile(int level, int column, TBitmap& bitmap, int row);

  // The coder tiles are decoded with (its kernel can be chosen for measurements).
  TKolvexCoder& Coder() { return coder_; }

 private:
  void ReadHeader();
  int LevelIndex(int level) const;

  std::filesystem::path fileName_;
  std::unique_ptr<TStream> stream_;
  std::array<TSubLayerLevel, 4> levels_{};
  std::array<std::vector<int64_t>, 4> tables_;
  TKolvexCoder coder_;
  std::vector<uint8_t> image_;
};

}  // namespace vellmar
