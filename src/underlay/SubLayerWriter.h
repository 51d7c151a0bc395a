#pragma once
// Builds underlay files: a picture of any size becomes a four-level pyramid of
// 256×256 tiles coded at the quality readers assume. Level 1 covers the picture
// with ceil(width/256) × ceil(height/256) tiles; level n has ceil(columns/n) ×
// ceil(rows/n) tiles and shows the same area, area-averaged. The part of the tile
// grid beyond the picture is white.
//
// The picture streams through: it is read a band of rows at a time, every level is
// made from the rows in hand and each tile row is coded as soon as it is complete,
// so memory stays a few tile rows whatever the picture's size. Level 1 goes straight
// to the output; the coarser levels wait in a spool stream and follow it at the end,
// giving the same bytes as a pyramid built from the whole picture at once. The writer
// reads from rows the caller owns and writes into streams the caller owns.

#include <array>
#include <functional>
#include <memory>

#include "underlay/KolvexEncoder.h"

namespace vellmar {

class TPictureRows;
class TStream;

struct TSubLayerGrid {
  int Columns;
  int Rows;
};

// Called after every tile row written with the tiles done and the tiles in all levels.
using TSubLayerProgress = std::function<void(int done, int total)>;

struct TSubLayerWriteOptions {
  // Where the coarser levels wait; a memory stream when none is given.
  TStream* Spool = nullptr;
  // Threads coding tiles; 1 codes on the calling thread.
  int Threads = 1;
  TSubLayerProgress Progress;
};

class TSubLayerWriter {
 public:
  // A picture in memory.
  explicit TSubLayerWriter(const TBgrPicture& picture);
  // A picture read row by row, once: a writer writes one file.
  explicit TSubLayerWriter(TPictureRows& rows);
  ~TSubLayerWriter();

  // The tile grid of level index 0…3 (levels 1, 2, 4, 8).
  const TSubLayerGrid& Grid(int levelIndex) const { return grids_[levelIndex]; }

  // Writes the whole file from the stream's start, reading the picture once.
  void Write(TStream& out, const TSubLayerWriteOptions& options = {});

 private:
  std::unique_ptr<TPictureRows> ownRows_;
  TPictureRows& rows_;
  std::array<TSubLayerGrid, 4> grids_;
  bool written_ = false;
};

}  // namespace vellmar
