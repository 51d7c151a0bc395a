#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/imaging/Bitmap.h"
#include "underlay/PictureRows.h"
#include "underlay/SubLayerFile.h"
#include "underlay/SubLayerWriter.h"

namespace vellmar {

namespace {

// 700 × 1100 pixels: 3 × 5 tiles at level 1, so the coarser levels shrink by 1.5,
// 1.67, 2.5, 3 and 5 across band edges that fall inside their pixels, and the picture
// ends inside the last tile column and row. Diagonal roads and grain over fields.
std::vector<uint8_t> AerialPicture(int width, int height) {
  std::vector<uint8_t> bgr(static_cast<size_t>(width) * height * 3);
  uint32_t seed = 2026;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 27) - 16;
      const bool road = (x + y / 3) % 180 < 24;
      uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = static_cast<uint8_t>(road ? 110 + grain : 40 + (x * 7 + y) % 90 + grain);
      p[1] = static_cast<uint8_t>(road ? 112 + grain : 70 + (y / 5) % 120 + grain);
      p[2] = static_cast<uint8_t>(road ? 115 + grain : 60 + (x / 3) % 140 + grain);
    }
  }
  return bgr;
}

// Level n of the pyramid built the plain way, from the whole picture at once: the
// picture on the white level-1 grid, each output pixel the area-weighted mean of the
// canvas pixels under it (B, G, R doubles, row after row).
std::vector<double> WholePictureLevel(const std::vector<uint8_t>& bgr, int width, int height, int n) {
  constexpr int kTile = kSubLayerTileSize;
  const int columns = (width + kTile - 1) / kTile, rows = (height + kTile - 1) / kTile;
  const int canvasWidth = columns * kTile, canvasHeight = rows * kTile;
  const int outWidth = (columns + n - 1) / n * kTile, outHeight = (rows + n - 1) / n * kTile;
  const auto canvas = [&](int x, int y, int c) {
    return x < width && y < height ? static_cast<double>(bgr[(size_t(y) * width + x) * 3 + c]) : 255.0;
  };
  // The canvas pixels under output pixel i along an axis of `in` pixels shrunk to `out`,
  // with the share of each that the output pixel covers.
  const auto spans = [](int in, int out) {
    std::vector<std::vector<std::pair<int, double>>> all(out);
    const double step = double(in) / out;
    for (int i = 0; i < out; ++i) {
      const double from = i * step, to = (i + 1) * step;
      for (int p = int(from); p < in && p < to; ++p) {
        const double cover = std::min(to, p + 1.0) - std::max(from, double(p));
        if (cover > 0) all[i].push_back({p, cover / step});
      }
    }
    return all;
  };
  const auto across = spans(canvasWidth, outWidth), down = spans(canvasHeight, outHeight);
  std::vector<double> level(size_t(outWidth) * outHeight * 3, 0.0);
  std::vector<double> narrowed(size_t(outWidth) * 3);
  for (int y = 0; y < outHeight; ++y) {
    for (const auto& [row, rowShare] : down[y]) {
      for (int x = 0; x < outWidth; ++x)
        for (int c = 0; c < 3; ++c) {
          double sum = 0;
          for (const auto& [column, share] : across[x]) sum += share * canvas(column, row, c);
          level[(size_t(y) * outWidth + x) * 3 + c] += rowShare * sum;
        }
    }
  }
  return level;
}

// The largest mean difference of a tile of the written file from the same place of the
// plain pyramid, over every tile of every level (in levels of 0…255).
double WorstTileError(const std::vector<uint8_t>& file, const std::vector<uint8_t>& bgr, int width,
                      int height, int shiftRows = 0) {
  TSubLayerFile reader(std::make_unique<TMemoryStream>(file));
  double worst = 0;
  for (const int n : kSubLayerLevels) {
    const std::vector<double> plain = WholePictureLevel(bgr, width, height, n);
    const TSubLayerLevel& level = reader.Level(n);
    const int outWidth = level.Columns * kSubLayerTileSize;
    const int outHeight = level.Rows * kSubLayerTileSize;
    EXPECT_EQ(plain.size(), size_t(outWidth) * outHeight * 3) << "level " << n;
    for (int row = 0; row < level.Rows; ++row)
      for (int column = 0; column < level.Columns; ++column) {
        TBitmap tile(kSubLayerTileSize, kSubLayerTileSize, TPixelFormat::pf32bit);
        EXPECT_TRUE(reader.DecodeTile(n, column, tile, row)) << "level " << n;
        double sum = 0;
        for (int y = 0; y < kSubLayerTileSize; ++y) {
          const int at = std::clamp(row * kSubLayerTileSize + y + shiftRows, 0, outHeight - 1);
          const uint8_t* decoded = tile.ScanLine(y);
          for (int x = 0; x < kSubLayerTileSize; ++x)
            for (int c = 0; c < 3; ++c)
              sum += std::abs(decoded[x * 4 + c] -
                              plain[(size_t(at) * outWidth + column * kSubLayerTileSize + x) * 3 + c]);
        }
        worst = std::max(worst, sum / (3.0 * kSubLayerTileSize * kSubLayerTileSize));
      }
  }
  return worst;
}

// Rows that run out after `rows` rows, as a truncated picture file does.
class TFailingRows final : public TPictureRows {
 public:
  TFailingRows(int width, int height, int rows) : width_(width), height_(height), left_(rows) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    for (int i = 0; i < count; ++i, --left_) {
      if (left_ == 0) throw EVellmarError("TFailingRows: the picture ends early");
      std::fill_n(target + i * stride, 3 * width_, uint8_t{90});
    }
  }

 private:
  int width_;
  int height_;
  int left_;
};

}  // namespace

// Streaming the picture band by band, on any number of threads, must not change a
// byte of the file; and what the file shows at every level is the pyramid built the
// plain way from the whole picture, within what the tile coder loses.
TEST(SubLayerWriter, StreamedPyramidIsTheWholePicturesOnAnyNumberOfThreads) {
  const std::vector<uint8_t> bgr = AerialPicture(700, 1100);
  struct TCase {
    int threads;
    bool ownSpool;
  };
  std::vector<uint8_t> first;
  for (const TCase& c : {TCase{1, false}, TCase{2, true}, TCase{5, false}}) {
    SCOPED_TRACE("threads " + std::to_string(c.threads));
    TMemoryStream out;
    TMemoryStream spool;
    std::vector<int> progress;
    TSubLayerWriter writer(TBgrPicture{bgr.data(), 700 * 3, 700, 1100});
    writer.Write(out, {c.ownSpool ? &spool : nullptr, c.threads, [&](int done, int total) {
                         EXPECT_EQ(total, 15 + 6 + 2 + 1);
                         progress.push_back(done);
                       }});
    const std::vector<uint8_t> bytes(out.Bytes().begin(), out.Bytes().end());
    if (first.empty()) {
      first = bytes;
      // The coder's loss on this picture stays a few levels per tile on average; the
      // same comparison a tile row out of place is far beyond it, so it can tell.
      const double error = WorstTileError(bytes, bgr, 700, 1100);
      EXPECT_LT(error, 8.0);
      EXPECT_GT(WorstTileError(bytes, bgr, 700, 1100, 96), 2 * error + 8.0);
    } else {
      EXPECT_TRUE(bytes == first) << "the file differs from the one written on one thread";
    }
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 24);
    EXPECT_EQ(spool.Size() > 0, c.ownSpool) << "the coarser levels wait in the spool given";
    EXPECT_THROW(writer.Write(out), EVellmarError) << "the picture's rows are read once";
  }
}

// A picture that ends early (a truncated file) must raise its reader's error through
// the writer, with tiles still being coded on other threads, and never hang.
TEST(SubLayerWriter, PictureEndingEarlyRaisesItsError) {
  for (const int threads : {1, 2}) {
    for (const int rows : {0, 300, 1099}) {
      SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(rows) + " rows");
      TFailingRows picture(700, 1100, rows);
      TMemoryStream out;
      try {
        TSubLayerWriter(picture).Write(out, {nullptr, threads, {}});
        ADD_FAILURE() << "no error";
      } catch (const EVellmarError& e) {
        EXPECT_STREQ(e.what(), "TFailingRows: the picture ends early");
      }
    }
  }
}

// A picture's declared size is all a damaged header needs to give: sizes whose tile
// tables would not fit in an int, or in memory, are refused by name before anything is
// allocated, while the tallest picture a reader passes is still taken.
TEST(SubLayerWriter, DeclaredSizesBeyondTheTileBoundAreRefused) {
  struct TCase {
    int width;
    int height;
    bool taken;
  };
  const TCase cases[] = {
      {1, INT32_MAX, true},          // 15.7 million tiles over the four levels
      {4096, 4096 * 256, true},      // 16 x 4096 tiles at level 1
      {262144, INT32_MAX, false},    // 8.6 billion tiles at level 1: past an int
      {262144, 262144 * 16, false},  // 1024 x 16384 tiles at level 1, 22 million in all
      {INT32_MAX, INT32_MAX, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    TFailingRows picture(c.width, c.height, 0);
    if (c.taken) {
      EXPECT_NO_THROW(TSubLayerWriter{picture});
    } else {
      try {
        TSubLayerWriter{picture};
        ADD_FAILURE() << "taken";
      } catch (const EVellmarError& e) {
        EXPECT_NE(std::string(e.what()).find("tiles, more than the 16777216 a file is written with"),
                  std::string::npos)
            << e.what();
      }
    }
  }
}

}  // namespace vellmar
