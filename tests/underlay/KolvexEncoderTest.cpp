#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/Error.h"
#include "underlay/KolvexCoder.h"
#include "underlay/KolvexEncoder.h"

namespace vellmar {

namespace {

// A photograph-like test picture: smooth shading, a sharp-edged bright roof, thin
// dark lines (road markings), and fine noise.
std::vector<uint8_t> MakePicture(int width, int height) {
  std::vector<uint8_t> bgr(static_cast<size_t>(width) * height * 3);
  uint32_t noise = 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 29) - 4;
      double r = 90 + 60 * std::sin(x * 0.05) + 0.2 * y;
      double g = 110 + 50 * std::cos(y * 0.04) + 0.1 * x;
      double b = 80 + 40 * std::sin((x + y) * 0.03);
      if (x > 100 && x < 160 && y > 40 && y < 90) r = g = b = 235;
      if (x % 64 == 10) r = g = b = 20;
      uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = static_cast<uint8_t>(std::clamp(b + grain, 0.0, 255.0));
      p[1] = static_cast<uint8_t>(std::clamp(g + grain, 0.0, 255.0));
      p[2] = static_cast<uint8_t>(std::clamp(r + grain, 0.0, 255.0));
    }
  }
  return bgr;
}

// Reads the three blocks PackImage wrote and decodes them like a tile.
std::vector<uint8_t> DecodeTileBytes(TKolvexCoder& coder, const std::vector<uint8_t>& tile) {
  std::vector<uint8_t> image(coder.ImageSize());
  size_t pos = 0;
  for (int plane = 0; plane < 3; ++plane) {
    const uint32_t size =
        tile[pos] | tile[pos + 1] << 8 | tile[pos + 2] << 16 | static_cast<uint32_t>(tile[pos + 3]) << 24;
    coder.UnPackPlane(plane, std::span(tile).subspan(pos + 4, size), image);
    pos += 4 + size;
  }
  EXPECT_EQ(pos, tile.size());
  std::vector<uint8_t> pixels(static_cast<size_t>(coder.Width()) * coder.Height() * 4);
  coder.YCbCrToBgra(image, pixels.data(), coder.Width() * 4);
  return pixels;
}

double Psnr(const std::vector<uint8_t>& bgr, const std::vector<uint8_t>& bgra) {
  double sum = 0.0;
  const size_t count = bgr.size() / 3;
  for (size_t i = 0; i < count; ++i) {
    for (int c = 0; c < 3; ++c) {
      const double d = static_cast<double>(bgr[3 * i + c]) - bgra[4 * i + c];
      sum += d * d;
    }
  }
  return 10.0 * std::log10(255.0 * 255.0 / (sum / (3.0 * count)));
}

}  // namespace

TEST(KolvexEncoder, RoundTripStaysWithinTheQuantisationError) {
  const std::vector<uint8_t> picture = MakePicture(256, 256);
  TKolvexEncoder encoder(256, 256, 2);
  std::vector<uint8_t> tile;
  encoder.PackImage({picture.data(), 256 * 3, 256, 256}, tile);
  TKolvexCoder coder(256, 256, 2);
  const double psnr = Psnr(picture, DecodeTileBytes(coder, tile));
  std::printf("round trip at quality 2: %.2f dB PSNR, %zu bytes for a 196608-byte picture\n", psnr,
              tile.size());
  EXPECT_GT(psnr, 30.0);
  EXPECT_LT(tile.size(), picture.size() / 3);

  // A flat colour survives nearly unchanged: only the DC step and the fixed-point
  // rounding of the decoder remain.
  std::vector<uint8_t> flat(256 * 256 * 3);
  for (size_t i = 0; i < flat.size(); i += 3) {
    flat[i] = 60;
    flat[i + 1] = 140;
    flat[i + 2] = 200;
  }
  tile.clear();
  encoder.PackImage({flat.data(), 256 * 3, 256, 256}, tile);
  const std::vector<uint8_t> back = DecodeTileBytes(coder, tile);
  for (size_t i = 0; i < flat.size() / 3; ++i) {
    for (int c = 0; c < 3; ++c) ASSERT_NEAR(back[4 * i + c], flat[3 * i + c], 3) << i;
  }
  EXPECT_THROW(encoder.PackImage({flat.data(), 256 * 3, 128, 256}, tile), EVellmarError);
}

}  // namespace vellmar
