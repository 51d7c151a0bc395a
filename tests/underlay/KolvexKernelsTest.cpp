#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/Error.h"
#include "underlay/KolvexCoder.h"
#include "underlay/PackedSmallInts.h"

namespace vellmar {

namespace {

std::vector<TKolvexKernel> FastKernels() {
  std::vector<TKolvexKernel> kernels{TKolvexKernel::Sse2};
  if (BestKolvexKernel() == TKolvexKernel::Avx2) kernels.push_back(TKolvexKernel::Avx2);
  return kernels;
}

std::vector<uint8_t> PackedZeros(size_t count) {
  std::vector<uint8_t> packed;
  PackSmallInts(std::vector<int16_t>(count, 0), packed);
  return packed;
}

// Decodes every plane of the coder's current coefficients with the given kernel.
std::vector<uint8_t> Transform(TKolvexCoder& coder, TKolvexKernel kernel) {
  std::vector<uint8_t> image(coder.ImageSize(), 0xCD);
  coder.SetKernel(kernel);
  for (int plane = 0; plane < 3; ++plane) coder.TransformPlane(plane, image);
  return image;
}

}  // namespace

TEST(KolvexKernels, DequantisationFollowsTheShiftTable) {
  const TDequantTable table = KolvexDequantTable(2);
  EXPECT_EQ(table[0], 32);
  EXPECT_EQ(table[2], 64);
  EXPECT_EQ(table[7], 256);
  EXPECT_EQ(table[48], 128);
  EXPECT_EQ(table[49], 256);
  EXPECT_EQ(table[36], 128);
  EXPECT_THROW(TKolvexCoder(256, 256, 9), EVellmarError);
  EXPECT_THROW(TKolvexCoder(250, 256, 2), EVellmarError);
}

// A DC-only block decodes to a flat block of X0/64 with the two rounding steps of
// each pass; a wrong multiplier, shift or rounding shows up in these few values.
TEST(KolvexKernels, FlatBlocksComeOutAtTheirRoundedLevel) {
  for (const TKolvexKernel kernel : {TKolvexKernel::Reference, TKolvexKernel::Sse2, TKolvexKernel::Avx2}) {
    if (kernel == TKolvexKernel::Avx2 && BestKolvexKernel() != TKolvexKernel::Avx2) continue;
    TKolvexCoder coder(256, 256, 2);
    auto y = coder.Coefficients(0);
    std::fill(y.begin(), y.end(), 0);
    y[0] = 510;   // block 0: X0 = 16320 → 255
    y[1] = 100;   // block 1: X0 = 3200 → 50
    y[2] = -100;  // block 2: negative, clamped to 0
    y[3] = 1;     // block 3: X0 = 32 → ((8 + 1) >> 1 = 4, (1 + 1) >> 1) = 1
    std::vector<uint8_t> image(coder.ImageSize());
    coder.SetKernel(kernel);
    coder.TransformPlane(0, image);
    for (int row = 0; row < 8; ++row) {
      for (int col = 0; col < 8; ++col) {
        EXPECT_EQ(image[row * 256 + col], 255);
        EXPECT_EQ(image[row * 256 + 8 + col], 50);
        EXPECT_EQ(image[row * 256 + 16 + col], 0);
        EXPECT_EQ(image[row * 256 + 24 + col], 1);
      }
    }
  }
}

// The vector kernels must give the reference's bytes for any coefficients,
// including values whose products and sums wrap in 16 bits, and for plane widths
// that leave blocks over for the narrower forms.
TEST(KolvexKernels, FastKernelsMatchTheReferenceOnAnyCoefficients) {
  std::mt19937 rng(2024);
  for (const auto& [width, height] : {std::pair{256, 256}, std::pair{208, 32}, std::pair{48, 16}}) {
    TKolvexCoder coder(width, height, 2);
    for (int round = 0; round < 6; ++round) {
      for (int plane = 0; plane < 3; ++plane) {
        for (int16_t& c : coder.Coefficients(plane)) {
          switch (round) {
            case 0:
              c = static_cast<int16_t>(rng());
              break;
            case 1:
              c = static_cast<int16_t>(static_cast<int>(rng() % 64) - 32);
              break;
            case 2:
              c = static_cast<int16_t>(static_cast<int>(rng() % 4096) - 2048);
              break;
            case 3:
              c = (rng() & 1) ? -32768 : 32767;
              break;
            case 4:
              c = static_cast<int16_t>((rng() % 8 == 0) ? static_cast<int>(rng() % 1024) - 512 : 0);
              break;
            default:
              c = static_cast<int16_t>(rng() % 2 ? 1023 : -1024);
              break;
          }
        }
      }
      const std::vector<uint8_t> reference = Transform(coder, TKolvexKernel::Reference);
      for (const TKolvexKernel kernel : FastKernels()) {
        EXPECT_EQ(Transform(coder, kernel), reference)
            << "kernel " << static_cast<int>(kernel) << ", " << width << "x" << height << ", round " << round;
      }
    }
  }
}

TEST(KolvexKernels, FastColourConversionMatchesTheReference) {
  std::mt19937 rng(99);
  for (const int width : {256, 48, 16}) {
    TKolvexCoder coder(width, 32, 2);
    std::vector<uint8_t> image(coder.ImageSize());
    for (uint8_t& b : image) b = static_cast<uint8_t>(rng());
    // Chroma extremes where the offset wraps.
    image[width * 32] = 255;
    image[width * 32 + 1] = 0;
    image[width * 32 + 2] = 127;
    image[width * 32 + 3] = 128;
    const auto convert = [&](TKolvexKernel kernel) {
      std::vector<uint8_t> pixels(static_cast<size_t>(width) * 32 * 4, 0xAB);
      coder.SetKernel(kernel);
      // Bottom-up, as bitmaps are: image row 0 is the last row in memory.
      coder.YCbCrToBgra(image, pixels.data() + (31 * width * 4), -width * 4);
      return pixels;
    };
    const std::vector<uint8_t> reference = convert(TKolvexKernel::Reference);
    for (const TKolvexKernel kernel : FastKernels()) EXPECT_EQ(convert(kernel), reference) << width;
  }
}

TEST(KolvexKernels, ZeroTileIsGreenAndChroma255IsMinus128) {
  for (const TKolvexKernel kernel : {TKolvexKernel::Reference, TKolvexKernel::Sse2}) {
    TKolvexCoder coder(256, 256, 2);
    coder.SetKernel(kernel);
    std::vector<uint8_t> image(coder.ImageSize(), 0x77);
    coder.UnPackPlane(0, PackedZeros(65536), image);
    coder.UnPackPlane(1, PackedZeros(16384), image);
    coder.UnPackPlane(2, PackedZeros(16384), image);
    for (const uint8_t b : image) ASSERT_EQ(b, 0);
    std::vector<uint8_t> pixels(256 * 256 * 4, 0xAB);
    coder.YCbCrToBgra(image, pixels.data(), 1024);
    for (size_t i = 0; i < pixels.size(); i += 4) {
      ASSERT_EQ(pixels[i], 0);
      ASSERT_EQ(pixels[i + 1], 135);
      ASSERT_EQ(pixels[i + 2], 0);
      ASSERT_EQ(pixels[i + 3], 0);
    }

    // Y 200 with Cr 255 (-128) and Cb 127 (0): red 200 - 180 = 20, not saturated
    // high as +128 would give.
    std::fill(image.begin(), image.begin() + 65536, 200);
    std::fill(image.begin() + 65536, image.begin() + 65536 + 16384, 255);
    std::fill(image.begin() + 65536 + 16384, image.end(), 127);
    coder.YCbCrToBgra(image, pixels.data(), 1024);
    EXPECT_EQ(pixels[0], 200);
    EXPECT_EQ(pixels[1], 255);
    EXPECT_EQ(pixels[2], 20);
  }
}

TEST(KolvexKernels, WrongBufferSizeRaisesThePackImageError) {
  TKolvexCoder coder(256, 256, 2);
  std::vector<uint8_t> image(98303);
  try {
    coder.UnPackPlane(0, PackedZeros(65536), image);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TKolvexCoder.PackImage: ImgSize<>fWidth* fHeight div 2 * 3");
  }
}

}  // namespace vellmar
