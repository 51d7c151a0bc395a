#pragma once
// Streams written byte by byte for the design-library tests, so that a reader is checked
// against the stored form itself and not against its own writer.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace vellmar::test {

class TChunkBytes {
 public:
  TChunkBytes& Ident(std::string_view ident) {
    bytes_.insert(bytes_.end(), ident.begin(), ident.end());
    return *this;
  }
  TChunkBytes& I32(int32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    return *this;
  }
  TChunkBytes& U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  TChunkBytes& F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return I32(static_cast<int32_t>(bits));
  }
  TChunkBytes& Str(std::string_view text) {
    I32(static_cast<int32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  TChunkBytes& Raw(const std::vector<uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  TChunkBytes& Byte(uint8_t b) {
    bytes_.push_back(b);
    return *this;
  }
  const std::vector<uint8_t>& Get() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A 24-bit bottom-up BMP file image of width x height pixels, every pixel (b, g, r),
// with 2835 pixels per metre (72 dpi) and a zero image size, as many painting programs
// write them: header values our own writer would not choose, so that an image written
// back byte for byte shows it was kept and not re-encoded.
inline std::vector<uint8_t> Bmp24(int32_t width, int32_t height, uint8_t b, uint8_t g, uint8_t r) {
  const int32_t stride = (width * 24 + 31) / 32 * 4;
  const int32_t pixelBytes = stride * height;
  TChunkBytes image;
  image.Byte('B').Byte('M').I32(54 + pixelBytes).I32(0).I32(54);
  image.I32(40).I32(width).I32(height).U16(1).U16(24).I32(0).I32(0).I32(2835).I32(2835).I32(0).I32(0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) image.Byte(b).Byte(g).Byte(r);
    for (int32_t pad = width * 3; pad < stride; ++pad) image.Byte(0);
  }
  return image.Get();
}

}  // namespace vellmar::test
