#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/imaging/Bitmap.h"
#include "support/TestSupport.h"
#include "underlay/SubLayerFile.h"
#include "underlay/SubLayerWriter.h"

namespace vellmar {

namespace {

// 600 × 300 pixels: red top rows, blue bottom rows, a smooth ramp between, so the
// orientation of decoded tiles and the padding beyond the picture are both visible.
struct TTestPicture {
  int width = 600;
  int height = 300;
  std::vector<uint8_t> bgr;
  TTestPicture() : bgr(static_cast<size_t>(width) * height * 3) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
        const bool top = y < 20;
        const bool bottom = y >= height - 20;
        p[0] = bottom ? 220 : top ? 30 : static_cast<uint8_t>(80 + x / 8);
        p[1] = top || bottom ? 30 : static_cast<uint8_t>(60 + y / 4);
        p[2] = top ? 220 : bottom ? 30 : 120;
      }
    }
  }
  TBgrPicture View() const { return {bgr.data(), width * 3, width, height}; }
};

std::vector<uint8_t> WriteToMemory(const TBgrPicture& picture) {
  TMemoryStream stream;
  TSubLayerWriter(picture).Write(stream);
  return stream.TakeBytes();
}

std::unique_ptr<TSubLayerFile> Open(std::vector<uint8_t> bytes) {
  return std::make_unique<TSubLayerFile>(std::make_unique<TMemoryStream>(std::move(bytes)));
}

void PutLE(std::vector<uint8_t>& bytes, size_t at, int64_t value, int count) {
  for (int i = 0; i < count; ++i)
    bytes[at + i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

int64_t GetLE(const std::vector<uint8_t>& bytes, size_t at) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(bytes[at + i]) << (8 * i);
  return static_cast<int64_t>(value);
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVellmarError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(SubLayerFile, PyramidDecodesUprightWithWhiteBeyondThePicture) {
  const TTestPicture picture;
  const auto file = Open(WriteToMemory(picture.View()));
  const int expected[4][2] = {{3, 2}, {2, 1}, {1, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    const TSubLayerLevel& level = file->Level(kSubLayerLevels[i]);
    EXPECT_EQ(level.Columns, expected[i][0]);
    EXPECT_EQ(level.Rows, expected[i][1]);
    EXPECT_EQ(file->TileTable(kSubLayerLevels[i]).size(), size_t(expected[i][0] * expected[i][1]));
  }

  TBitmap bitmap(256, 256, TPixelFormat::pf32bit);
  double squared = 0.0;
  int count = 0;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 3; ++c) {
      ASSERT_TRUE(file->DecodeTile(1, c, bitmap, r));
      for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
          const int px = c * 256 + x;
          const int py = r * 256 + y;
          const uint32_t colour = bitmap.GetPixel(x, y);
          const uint8_t got[3] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)};
          for (int ch = 0; ch < 3; ++ch) {
            // Away from the picture's edge the grid is white.
            const int want = px < picture.width && py < picture.height
                                 ? picture.bgr[(static_cast<size_t>(py) * picture.width + px) * 3 + ch]
                                 : 255;
            if (px >= picture.width + 8 || py >= picture.height + 8) {
              ASSERT_GE(got[ch], 250) << px << "," << py;
            }
            if (px < picture.width - 8 && py < picture.height - 8) {
              squared += double(want - got[ch]) * (want - got[ch]);
              ++count;
            }
          }
        }
      }
    }
  }
  const double psnr = 10.0 * std::log10(255.0 * 255.0 * count / squared);
  std::printf("level-1 tiles against the picture: %.2f dB PSNR\n", psnr);
  EXPECT_GT(psnr, 30.0);

  // Level 8 shows the whole picture in one tile at 1/3 of the grid (3 × 2 tiles → 1 × 1):
  // red at the top, blue at the bottom of the picture's part.
  ASSERT_TRUE(file->DecodeTile(8, 0, bitmap, 0));
  const uint32_t top = bitmap.GetPixel(100, 2);
  const uint32_t bottom = bitmap.GetPixel(100, 300 * 256 / 512 - 3);
  EXPECT_GT(int(top >> 16 & 255), 180);
  EXPECT_LT(int(top & 255), 80);
  EXPECT_GT(int(bottom & 255), 180);
  EXPECT_LT(int(bottom >> 16 & 255), 80);
}

TEST(SubLayerFile, TilesOutsideTheTableLeaveTheBitmapAlone) {
  std::vector<uint8_t> bytes = WriteToMemory(TTestPicture().View());
  // Level 1 claims 3 × 2 tiles but its table keeps only 4 entries.
  PutLE(bytes, 8, 4 * 8, 8);
  const auto file = Open(bytes);
  TBitmap bitmap(256, 256, TPixelFormat::pf32bit);
  bitmap.SetPixel(0, 0, 0x123456);
  EXPECT_FALSE(file->DecodeTile(1, 1, bitmap, 1));  // entry 4
  EXPECT_FALSE(file->DecodeTile(1, 2, bitmap, 1));
  EXPECT_FALSE(file->DecodeTile(3, 0, bitmap, 0));
  EXPECT_FALSE(file->DecodeTile(0, 0, bitmap, 0));
  EXPECT_FALSE(file->DecodeTile(1, -1, bitmap, 0));
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x123456u);
  EXPECT_TRUE(file->DecodeTile(1, 0, bitmap, 1));  // entry 3
  EXPECT_NE(bitmap.GetPixel(0, 0), 0x123456u);
}

TEST(SubLayerFile, DamagedFilesRaiseClearErrors) {
  const std::vector<uint8_t> good = WriteToMemory(TTestPicture().View());
  EXPECT_EQ(ErrorOf([&] { Open(std::vector<uint8_t>(good.begin(), good.begin() + 95)); }),
            "TSubLayerFile.Create: needs 96 bytes at 0, only 95 left");
  std::vector<uint8_t> bytes = good;
  PutLE(bytes, 24 + 8, int64_t{1} << 40, 8);
  EXPECT_EQ(ErrorOf([&] { Open(bytes); }),
            "TSubLayerFile.Create: tile table of level 2 lies outside the file");
  bytes = good;
  PutLE(bytes, 72, -5, 8);
  EXPECT_EQ(ErrorOf([&] { Open(bytes); }),
            "TSubLayerFile.Create: tile table of level 8 lies outside the file");
  bytes = good;
  PutLE(bytes, 16, -1, 4);
  EXPECT_EQ(ErrorOf([&] { Open(bytes); }), "TSubLayerFile.Create: negative tile count at level 1");

  TBitmap bitmap(256, 256, TPixelFormat::pf32bit);
  const size_t tile0 = static_cast<size_t>(GetLE(good, 96));
  const auto decodeFirst = [&](std::vector<uint8_t> damaged) {
    return ErrorOf([&] { Open(std::move(damaged))->DecodeTile(1, 0, bitmap, 0); });
  };
  bytes = good;
  bytes[tile0 + 4] = 0x07;
  EXPECT_EQ(decodeFirst(bytes), "UnPackSmallInts: Prefix<>PrefixDataStart");
  bytes = good;
  PutLE(bytes, tile0, 0x7FFFFFFF, 4);
  EXPECT_EQ(decodeFirst(bytes), "UnPackSmallInts: byte count beyond the end of the file");
  bytes = good;
  PutLE(bytes, 96, static_cast<int64_t>(good.size()) + 10, 8);
  EXPECT_EQ(decodeFirst(bytes), "TSubLayerFile.DecodeTile: tile offset outside the file");
  bytes = good;
  PutLE(bytes, 96, static_cast<int64_t>(good.size()) - 2, 8);
  EXPECT_EQ(decodeFirst(bytes),
            "UnPackSmallInts: needs 4 bytes at " + std::to_string(good.size() - 2) + ", only 2 left");

  TBitmap small(128, 256, TPixelFormat::pf32bit);
  EXPECT_EQ(ErrorOf([&] { Open(good)->DecodeTile(1, 0, small, 0); }),
            "TKolvexCoder.YCbCrToBitmap: the bitmap is not 256x256 pixels of 32 bits");
}

TEST(SubLayerFile, OpensFilesOnDiskAndReportsMissingOnes) {
  test::TempDir dir;
  const TTestPicture picture;
  {
    TAtomicFile out(dir / "aerial.sub");
    TSubLayerWriter(picture.View()).Write(out.Stream());
    out.Commit();
  }
  TSubLayerFile file(dir / "aerial.sub");
  EXPECT_EQ(file.FileName(), dir / "aerial.sub");
  TBitmap bitmap(256, 256, TPixelFormat::pf32bit);
  EXPECT_TRUE(file.DecodeTile(2, 1, bitmap, 0));
  EXPECT_THROW(TSubLayerFile(dir / "missing.sub"), EVellmarError);
}

}  // namespace vellmar
