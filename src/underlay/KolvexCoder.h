#pragma once
// Decoder state for one tile size: the three coefficient planes (Y, Cr, Cb, stored
// coefficient-major: coefficient k of block b at k·blockCount + b), the dequantisation
// multipliers of its quality, and the kernel form the pixel stages run with.
// The coder owns its coefficient planes and packed-byte scratch; callers own the
// decoded buffers and bitmaps it writes into.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "underlay/KolvexKernels.h"

namespace vellmar {

class TBitmap;
class TStream;

// Multipliers 2 << shift[k] with shift[k] = base[k] + quality + 1.
TDequantTable KolvexDequantTable(int quality);

class TKolvexCoder {
 public:
  // Width and height: positive multiples of 16; quality 0…8.
  TKolvexCoder(int width, int height, int quality);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Quality() const { return quality_; }
  // Bytes of a decoded image: the Y plane, then Cr and Cb at half size both ways.
  size_t ImageSize() const { return static_cast<size_t>(width_) * height_ / 2 * 3; }

  TKolvexKernel Kernel() const { return kernel_; }
  void SetKernel(TKolvexKernel kernel) { kernel_ = kernel; }

  // Reads the three packed blocks of a tile (Y, Cr, Cb; each an int32 byte count
  // and its bytes) from the stream's position and decodes them into image, which
  // must be ImageSize() bytes.
  void UnPackImage(std::span<uint8_t> image, TStream& stream);

  // Unpacks one plane (0 Y, 1 Cr, 2 Cb) from its packed block and stores its pixels
  // at the plane's place in image, which must be ImageSize() bytes.
  void UnPackPlane(int plane, std::span<const uint8_t> packed, std::span<uint8_t> image);

  // The coefficients UnPackPlane left for a plane (for tests and measurements).
  std::span<int16_t> Coefficients(int plane) { return coefficients_[plane]; }
  // Runs the inverse transform of a plane's current coefficients into image.
  void TransformPlane(int plane, std::span<uint8_t> image) const;

  // Colour-converts a decoded image into 32-bit pixels B, G, R, 0: image row y goes
  // to row0 + y·stride (stride negative for bottom-up bitmaps).
  void YCbCrToBgra(std::span<const uint8_t> image, uint8_t* row0, std::ptrdiff_t stride) const;

  // Colour-converts a decoded image into a Width() × Height() 32-bit bitmap, picture
  // row 0 at the top (the highest address of a bottom-up bitmap).
  void YCbCrToBitmap(TBitmap& bitmap, std::span<const uint8_t> image) const;

 private:
  void CheckImageSize(std::span<const uint8_t> image) const;
  TKolvexPlane Plane(int plane, std::span<uint8_t> image) const;

  int width_;
  int height_;
  int quality_;
  TDequantTable dequant_;
  TKolvexKernel kernel_;
  std::array<std::vector<int16_t>, 3> coefficients_;
  std::vector<uint8_t> packed_;  // one packed block as read, reused for every tile
};

}  // namespace vellmar
