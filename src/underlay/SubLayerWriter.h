#pragma once
// Builds underlay files: a picture of any size becomes a four-level pyramid of
// 256×256 tiles coded at the quality readers assume. Level 1 covers the picture
// with ceil(width/256) × ceil(height/256) tiles; level n has ceil(columns/n) ×
// ceil(rows/n) tiles and shows the same area, area-averaged. The part of the tile
// grid beyond the picture is white. The writer keeps a pointer to the picture, which
// the caller owns, and writes into a stream the caller owns.

#include <array>
#include <functional>

#include "underlay/KolvexEncoder.h"

namespace vellmar {

class TStream;

struct TSubLayerGrid {
  int Columns;
  int Rows;
};

// Called after every tile with the tiles done and the tiles in all levels.
using TSubLayerProgress = std::function<void(int done, int total)>;

class TSubLayerWriter {
 public:
  explicit TSubLayerWriter(const TBgrPicture& picture);

  // The tile grid of level index 0…3 (levels 1, 2, 4, 8).
  const TSubLayerGrid& Grid(int levelIndex) const { return grids_[levelIndex]; }

  // Writes the whole file from the stream's start.
  void Write(TStream& out, const TSubLayerProgress& progress = {}) const;

 private:
  TBgrPicture picture_;
  std::array<TSubLayerGrid, 4> grids_;
};

}  // namespace vellmar
