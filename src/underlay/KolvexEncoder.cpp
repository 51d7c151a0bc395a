#include "underlay/KolvexEncoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/Error.h"
#include "underlay/KolvexCoder.h"
#include "underlay/PackedSmallInts.h"
#include "underlay/RoundHalfEven.h"

namespace vellmar {

namespace {

// The decoder's chroma byte minus 127 is the colour difference; ±127 keeps the
// stored byte within 0…254, clear of the wrap at 255.
constexpr double kChromaOffset = 127.0;
constexpr double kChromaLimit = 127.0;
constexpr int kCoefficientLimit = 2047;

// Orthonormal DCT-II basis, basis[u][x] = α(u)·cos((2x + 1)·u·π/16).
std::array<std::array<double, 8>, 8> MakeBasis() {
  std::array<std::array<double, 8>, 8> basis{};
  for (int u = 0; u < 8; ++u) {
    const double alpha = u == 0 ? std::sqrt(0.125) : 0.5;
    for (int x = 0; x < 8; ++x) basis[u][x] = alpha * std::cos((2 * x + 1) * u * std::numbers::pi / 16.0);
  }
  return basis;
}

}  // namespace

TKolvexEncoder::TKolvexEncoder(int width, int height, int quality)
    : width_(width), height_(height), quality_(quality) {
  // The decoder validates the same parameters; building one keeps the rules in one place.
  const TKolvexCoder decoder(width, height, quality);
  luma_.resize(static_cast<size_t>(width) * height);
  cr_.resize(luma_.size() / 4);
  cb_.resize(luma_.size() / 4);
  coefficients_.resize(luma_.size());
}

void TKolvexEncoder::PackImage(const TBgrPicture& picture, std::vector<uint8_t>& out) {
  if (picture.width != width_ || picture.height != height_) {
    throw EVellmarError("TKolvexEncoder.PackImage: picture size differs from the tile size");
  }
  std::fill(cr_.begin(), cr_.end(), 0.0);
  std::fill(cb_.begin(), cb_.end(), 0.0);
  const int chromaWidth = width_ / 2;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* bgr = picture.row0 + y * picture.stride;
    for (int x = 0; x < width_; ++x, bgr += 3) {
      const double b = bgr[0];
      const double g = bgr[1];
      const double r = bgr[2];
      const double l = 0.299 * r + 0.587 * g + 0.114 * b;
      luma_[y * width_ + x] = l;
      // 4:2:0: each chroma sample is the mean of its 2×2 pixels.
      const size_t c = (y / 2) * chromaWidth + x / 2;
      cr_[c] += 0.25 * std::clamp((r - l) / 1.402, -kChromaLimit, kChromaLimit);
      cb_[c] += 0.25 * std::clamp((b - l) / 1.772, -kChromaLimit, kChromaLimit);
    }
  }
  for (double& v : cr_) v += kChromaOffset;
  for (double& v : cb_) v += kChromaOffset;
  PackPlane(luma_, width_, height_, out);
  PackPlane(cr_, chromaWidth, height_ / 2, out);
  PackPlane(cb_, chromaWidth, height_ / 2, out);
}

void TKolvexEncoder::PackPlane(const std::vector<double>& samples, int width, int height,
                               std::vector<uint8_t>& out) {
  static const auto basis = MakeBasis();
  // The steps are powers of two, so multiplying by 8 / step divides exactly.
  const TDequantTable step = KolvexDequantTable(quality_);
  std::array<double, 64> scale;
  for (int k = 0; k < 64; ++k) scale[k] = 8.0 / step[k];
  const int blockColumns = width / 8;
  const int blockCount = blockColumns * (height / 8);
  for (int block = 0; block < blockCount; ++block) {
    const double* origin = samples.data() + (block / blockColumns) * 8 * width + (block % blockColumns) * 8;
    // Rows first, then columns; the decoder's fixed-point passes undo 8 × this transform.
    // The eight frequencies are summed side by side (which vectorises), each sum still
    // taken in sample order, so the coefficients do not change with the loop order.
    double rows[8][8] = {};
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const double sample = origin[y * width + x];
        for (int u = 0; u < 8; ++u) rows[y][u] += basis[u][x] * sample;
      }
    }
    for (int v = 0; v < 8; ++v) {
      double sums[8] = {};
      for (int y = 0; y < 8; ++y) {
        const double weight = basis[v][y];
        for (int u = 0; u < 8; ++u) sums[u] += weight * rows[y][u];
      }
      for (int u = 0; u < 8; ++u) {
        const double sum = sums[u];
        const int k = 8 * v + u;
        const double level = RoundHalfEven(sum * scale[k]);
        coefficients_[static_cast<size_t>(k) * blockCount + block] =
            static_cast<int16_t>(std::clamp(level, double{-kCoefficientLimit}, double{kCoefficientLimit}));
      }
    }
  }
  packed_.clear();
  PackSmallInts(std::span<const int16_t>(coefficients_.data(), static_cast<size_t>(blockCount) * 64),
                packed_);
  const uint32_t size = static_cast<uint32_t>(packed_.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(size >> (8 * i)));
  out.insert(out.end(), packed_.begin(), packed_.end());
}

}  // namespace vellmar
