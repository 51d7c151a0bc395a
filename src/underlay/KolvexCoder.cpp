#include "underlay/KolvexCoder.h"

#include <string>

#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"
#include "underlay/PackedSmallInts.h"

namespace vellmar {

namespace {

// Coarser steps for higher frequencies, natural (row-major) order.
constexpr std::array<int, 64> kShiftBase = {
    1, 1, 2, 2, 3, 3, 4, 4,  //
    1, 1, 2, 2, 3, 3, 4, 4,  //
    2, 2, 2, 2, 3, 3, 4, 4,  //
    2, 2, 2, 2, 3, 3, 4, 4,  //
    3, 3, 3, 3, 3, 3, 4, 4,  //
    3, 3, 3, 3, 3, 3, 4, 4,  //
    3, 4, 4, 4, 4, 4, 4, 4,  //
    3, 4, 4, 4, 4, 4, 4, 4,
};

constexpr int kMaxQuality = 8;

}  // namespace

TDequantTable KolvexDequantTable(int quality) {
  TDequantTable table;
  for (int k = 0; k < 64; ++k) table[k] = static_cast<int16_t>(2 << (kShiftBase[k] + quality + 1));
  return table;
}

TKolvexCoder::TKolvexCoder(int width, int height, int quality)
    : width_(width), height_(height), quality_(quality), kernel_(BestKolvexKernel()) {
  if (width <= 0 || height <= 0 || width % 16 != 0 || height % 16 != 0) {
    throw EVellmarError("TKolvexCoder.Create: size is not a positive multiple of 16");
  }
  if (quality < 0 || quality > kMaxQuality) throw EVellmarError("TKolvexCoder.Create: quality out of range");
  dequant_ = KolvexDequantTable(quality);
  coefficients_[0].resize(static_cast<size_t>(width) * height);
  coefficients_[1].resize(static_cast<size_t>(width / 2) * (height / 2));
  coefficients_[2].resize(coefficients_[1].size());
}

void TKolvexCoder::CheckImageSize(std::span<const uint8_t> image) const {
  if (image.size() != ImageSize())
    throw EVellmarError("TKolvexCoder.PackImage: ImgSize<>fWidth* fHeight div 2 * 3");
}

TKolvexPlane TKolvexCoder::Plane(int plane, std::span<uint8_t> image) const {
  const size_t lumaSize = static_cast<size_t>(width_) * height_;
  const size_t offset = plane == 0 ? 0 : lumaSize + (plane - 1) * lumaSize / 4;
  const int scale = plane == 0 ? 8 : 16;
  return {coefficients_[plane].data(), width_ / scale, height_ / scale, image.data() + offset};
}

void TKolvexCoder::UnPackImage(std::span<uint8_t> image, TStream& stream) {
  CheckImageSize(image);
  for (int plane = 0; plane < 3; ++plane) {
    UnPackSmallInts(coefficients_[plane], stream, packed_);
    TransformPlane(plane, image);
  }
}

void TKolvexCoder::UnPackPlane(int plane, std::span<const uint8_t> packed, std::span<uint8_t> image) {
  CheckImageSize(image);
  UnPackSmallInts(coefficients_[plane], packed);
  TransformPlane(plane, image);
}

void TKolvexCoder::TransformPlane(int plane, std::span<uint8_t> image) const {
  CheckImageSize(image);
  const TKolvexPlane target = Plane(plane, image);
  switch (kernel_) {
    case TKolvexKernel::Reference:
      InverseTransformReference(target, dequant_);
      break;
    case TKolvexKernel::Sse2:
      InverseTransformSse2(target, dequant_);
      break;
    case TKolvexKernel::Avx2:
      InverseTransformAvx2(target, dequant_);
      break;
  }
}

void TKolvexCoder::YCbCrToBgra(std::span<const uint8_t> image, uint8_t* row0, std::ptrdiff_t stride) const {
  CheckImageSize(image);
  const TKolvexColourJob job{image.data(), width_, height_, row0, stride};
  switch (kernel_) {
    case TKolvexKernel::Reference:
      vellmar::YCbCrToBgra(job, YCbCrRowReference);
      break;
    case TKolvexKernel::Sse2:
      vellmar::YCbCrToBgra(job, YCbCrRowSse2);
      break;
    case TKolvexKernel::Avx2:
      vellmar::YCbCrToBgra(job, YCbCrRowAvx2);
      break;
  }
}

void TKolvexCoder::YCbCrToBitmap(TBitmap& bitmap, std::span<const uint8_t> image) const {
  if (bitmap.PixelFormat() != TPixelFormat::pf32bit || bitmap.Width() != width_ ||
      bitmap.Height() != height_) {
    throw EVellmarError("TKolvexCoder.YCbCrToBitmap: the bitmap is not " + std::to_string(width_) + "x" +
                        std::to_string(height_) + " pixels of 32 bits");
  }
  const std::ptrdiff_t stride = bitmap.TopDown() ? bitmap.Stride() : -std::ptrdiff_t{bitmap.Stride()};
  YCbCrToBgra(image, bitmap.ScanLine(0), stride);
}

}  // namespace vellmar
