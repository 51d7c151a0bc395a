#pragma once
// A picture read from the top row down, a band of rows at a time, so that a
// photograph far larger than memory can become an underlay: only the rows being
// worked on are held. Readers of picture files implement it; TBgrPictureRows reads
// a picture already in memory, which the caller owns.

#include <cstddef>
#include <cstdint>

#include "underlay/KolvexEncoder.h"

namespace vellmar {

class TPictureRows {
 public:
  virtual ~TPictureRows() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Reads the next count rows as 3 bytes B, G, R per pixel, row i to target + i·stride.
  // Rows come once each, top to bottom; damaged or short input raises.
  virtual void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) = 0;
};

class TBgrPictureRows final : public TPictureRows {
 public:
  explicit TBgrPictureRows(const TBgrPicture& picture) : picture_(picture) {}

  int Width() const override { return picture_.width; }
  int Height() const override { return picture_.height; }
  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override;

 private:
  TBgrPicture picture_;
  int next_ = 0;
};

}  // namespace vellmar
