#pragma once
// The inverse of TKolvexCoder: turns a picture into the three packed coefficient
// blocks of one tile (colour conversion, 4:2:0 chroma, forward transform, power-of-two
// quantisation, run-length packing). The encoder owns only its working planes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellmar {

// Pixels of 3 bytes B, G, R; row y starts at row0 + y·stride. Not owned.
struct TBgrPicture {
  const uint8_t* row0;
  std::ptrdiff_t stride;
  int width;
  int height;
};

class TKolvexEncoder {
 public:
  // Width and height: positive multiples of 16; quality 0…8, as for the decoder.
  TKolvexEncoder(int width, int height, int quality);

  // Appends the tile's Y, Cr and Cb blocks, each an int32 byte count and its packed
  // bytes, to out. The picture must be exactly width × height.
  void PackImage(const TBgrPicture& picture, std::vector<uint8_t>& out);

 private:
  void PackPlane(const std::vector<double>& samples, int width, int height, std::vector<uint8_t>& out);

  int width_;
  int height_;
  int quality_;
  std::vector<double> luma_;
  std::vector<double> cr_;
  std::vector<double> cb_;
  std::vector<int16_t> coefficients_;
  std::vector<uint8_t> packed_;
};

}  // namespace vellmar
