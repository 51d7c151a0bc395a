// The picture fuzz target's seeds: small pictures of every kind the underlay importer
// reads (PNG of each colour type, interlaced, with gamma; baseline, progressive and
// grey JPEG; TIFF in strips and tiles, classic and big, several codecs; BMP either
// way up), so that the fuzzer starts inside every decoder. They are written here; run
// with VELLMAR_WRITE_SEEDS=1 to write them anew into fuzz/corpus/PictureRowsFuzz.
// Each is checked by its pixels against the picture it was made from.

#include <gtest/gtest.h>
#include <png.h>
#include <turbojpeg.h>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "PictureFile.h"
#include "PictureWriters.h"
#include "platform/imaging/Bitmap.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

// Odd sizes, so that tiles, strips, interlace passes and JPEG blocks end inside them.
constexpr int kWidth = 21;
constexpr int kHeight = 13;

std::vector<uint8_t> Samples(int perPixel, int step) {
  std::vector<uint8_t> samples(size_t{kWidth} * kHeight * perPixel);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * step + i / 7);
  return samples;
}

test::TRgbPalette SmallPalette() {
  test::TRgbPalette palette;
  for (int i = 0; i < 16; ++i)
    palette.push_back(
        {static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i * 9), static_cast<uint8_t>(i * 5)});
  return palette;
}

std::vector<uint8_t> Indexes(int colours) {
  std::vector<uint8_t> indexes = Samples(1, 1);
  for (uint8_t& i : indexes) i = static_cast<uint8_t>(i % colours);
  return indexes;
}

// A channel made opaque over white, as the readers show a pixel with alpha.
uint8_t OverWhite(int colour, int alpha) {
  return static_cast<uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// B, G, R of samples given R, G, B (and alpha, laid over white, when perPixel is 4).
std::vector<uint8_t> Bgr(const std::vector<uint8_t>& samples, int perPixel) {
  std::vector<uint8_t> bgr(size_t{3} * kWidth * kHeight);
  for (size_t i = 0; i < size_t{kWidth} * kHeight; ++i) {
    const uint8_t* p = &samples[i * perPixel];
    const int alpha = perPixel == 4 ? p[3] : 255;
    for (int c = 0; c < 3; ++c) bgr[i * 3 + c] = OverWhite(p[2 - c], alpha);
  }
  return bgr;
}

std::vector<uint8_t> Grey(const std::vector<double>& levels) {
  std::vector<uint8_t> bgr;
  for (const double level : levels) bgr.insert(bgr.end(), 3, static_cast<uint8_t>(std::lround(level)));
  return bgr;
}

// The palette's colours of the indexes; the first indexes with the given alpha.
std::vector<uint8_t> PaletteBgr(const std::vector<uint8_t>& alpha) {
  const test::TRgbPalette palette = SmallPalette();
  std::vector<uint8_t> bgr;
  for (const uint8_t index : Indexes(16)) {
    const int a = index < alpha.size() ? alpha[index] : 255;
    for (int c = 2; c >= 0; --c) bgr.push_back(OverWhite(palette[index][c], a));
  }
  return bgr;
}

// The pattern the BMP seeds show, as a bitmap of the format keeps it.
TBitmap BmpPicture(TPixelFormat format) {
  TBitmap bitmap(kWidth, kHeight, format);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      bitmap.SetPixel(x, y, static_cast<uint32_t>(x * 0x0B0907 + y * 0x130305));
  return bitmap;
}

std::vector<uint8_t> BmpPixels(TPixelFormat format) {
  const TBitmap bitmap = BmpPicture(format);
  std::vector<uint8_t> bgr;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t kept = bitmap.GetPixel(x, y);
      bgr.insert(bgr.end(), {static_cast<uint8_t>(kept), static_cast<uint8_t>(kept >> 8),
                             static_cast<uint8_t>(kept >> 16)});
    }
  return bgr;
}

void WriteBmp(const std::filesystem::path& path, TPixelFormat format, bool topDown) {
  TBitmap bitmap = BmpPicture(format);
  bitmap.SetTopDown(topDown);
  bitmap.SaveToFile(path);
}

// libtiff's own decode of a whole TIFF, B, G, R.
std::vector<uint8_t> TiffDecodedWhole(const std::filesystem::path& path) {
  std::vector<uint8_t> bgr;
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return bgr;
  std::vector<uint32_t> abgr(size_t{kWidth} * kHeight);
  if (TIFFReadRGBAImageOriented(tiff, kWidth, kHeight, abgr.data(), ORIENTATION_TOPLEFT, 0)) {
    for (const uint32_t p : abgr)
      bgr.insert(bgr.end(), {static_cast<uint8_t>(TIFFGetB(p)), static_cast<uint8_t>(TIFFGetG(p)),
                             static_cast<uint8_t>(TIFFGetR(p))});
  }
  TIFFClose(tiff);
  return bgr;
}

// A seed: how it is written, and the picture it is made from (B, G, R). Writing a lossy
// file gives its codec's own decode of it, whose distance from the source is the loss
// the importer's pixels may show too; the lossless ones give nothing.
struct TSeed {
  std::string Name;
  std::function<std::vector<uint8_t>(const std::filesystem::path&)> Write;
  std::vector<uint8_t> Source;
  int Rounding = 1;  // of a lossless format: alpha over white; the gamma tables more
};

template <typename Write>
std::function<std::vector<uint8_t>(const std::filesystem::path&)> Lossless(Write write) {
  return [write](const std::filesystem::path& path) {
    write(path);
    return std::vector<uint8_t>();
  };
}

std::vector<TSeed> Seeds() {
  using test::TPngKind;
  using test::TTiffKind;
  // Linear grey shown on an sRGB screen, brought there through its gamma; grey JPEG keeps
  // the luma of the colours it was given.
  std::vector<double> linear, luma, grey;
  const std::vector<uint8_t> grey16 = Samples(2, 3), rgbForGrey = Samples(3, 1), grey8 = Samples(1, 9);
  for (size_t i = 0; i < grey16.size(); i += 2)
    linear.push_back(255.0 * std::pow((grey16[i] * 256 + grey16[i + 1]) / 65535.0, 1 / 2.2));
  for (size_t i = 0; i < rgbForGrey.size(); i += 3)
    luma.push_back(0.299 * rgbForGrey[i] + 0.587 * rgbForGrey[i + 1] + 0.114 * rgbForGrey[i + 2]);
  grey.assign(grey8.begin(), grey8.end());
  const std::vector<uint8_t> transparency = {0, 90, 255};
  return {
      {"rgb.png", Lossless([](const auto& p) { test::WritePng(p, kWidth, kHeight, {}, Samples(3, 5)); }),
       Bgr(Samples(3, 5), 3)},
      {"palette-transparent.png", Lossless([transparency](const auto& p) {
         test::WritePng(
             p, kWidth, kHeight,
             {.colourType = PNG_COLOR_TYPE_PALETTE, .palette = SmallPalette(), .transparency = transparency},
             Indexes(16));
       }),
       PaletteBgr(transparency)},
      {"grey16-linear.png", Lossless([](const auto& p) {
         test::WritePng(p, kWidth, kHeight, {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 16, .gamma = 1.0},
                        Samples(2, 3));
       }),
       Grey(linear), 3},
      {"rgba-interlaced.png", Lossless([](const auto& p) {
         test::WritePng(p, kWidth, kHeight, {.colourType = PNG_COLOR_TYPE_RGB_ALPHA, .interlaced = true},
                        Samples(4, 7));
       }),
       Bgr(Samples(4, 7), 4)},
      {"baseline-420.jpg",
       [](const auto& p) { return test::WriteJpeg(p, kWidth, kHeight, Samples(3, 2), TJSAMP_420); },
       Bgr(Samples(3, 2), 3)},
      {"progressive-444.jpg",
       [](const auto& p) { return test::WriteJpeg(p, kWidth, kHeight, Samples(3, 2), TJSAMP_444, true); },
       Bgr(Samples(3, 2), 3)},
      {"grey.jpg",
       [](const auto& p) { return test::WriteJpeg(p, kWidth, kHeight, Samples(3, 1), TJSAMP_GRAY); },
       Grey(luma)},
      {"strips.tif", Lossless([](const auto& p) {
         test::WriteTiff(p, kWidth, kHeight, {.rowsPerStrip = 5}, Samples(3, 3));
       }),
       Bgr(Samples(3, 3), 3)},
      {"tiles-lzw-rgba.tif", Lossless([](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.samples = 4, .compression = COMPRESSION_LZW, .tiled = true, .tileWidth = 16, .tileHeight = 16},
             Samples(4, 3));
       }),
       Bgr(Samples(4, 3), 4)},
      {"bigtiff-grey-deflate.tif", Lossless([](const auto& p) {
         test::WriteTiff(p, kWidth, kHeight,
                         {.photometric = PHOTOMETRIC_MINISBLACK,
                          .samples = 1,
                          .compression = COMPRESSION_ADOBE_DEFLATE,
                          .tiled = true,
                          .big = true,
                          .tileWidth = 16,
                          .tileHeight = 16},
                         Samples(1, 9));
       }),
       Grey(grey)},
      {"palette-packbits.tif", Lossless([](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.photometric = PHOTOMETRIC_PALETTE, .samples = 1, .compression = COMPRESSION_PACKBITS},
             Indexes(16), SmallPalette());
       }),
       PaletteBgr({})},
      {"jpeg-ycbcr.tif",
       [](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.photometric = PHOTOMETRIC_YCBCR, .compression = COMPRESSION_JPEG, .rowsPerStrip = 16},
             Samples(3, 2));
         return TiffDecodedWhole(p);
       },
       Bgr(Samples(3, 2), 3)},
      {"bottom-up-24.bmp", Lossless([](const auto& p) { WriteBmp(p, TPixelFormat::pf24bit, false); }),
       BmpPixels(TPixelFormat::pf24bit)},
      {"top-down-8.bmp", Lossless([](const auto& p) { WriteBmp(p, TPixelFormat::pf8bit, true); }),
       BmpPixels(TPixelFormat::pf8bit)},
      {"bottom-up-565.bmp", Lossless([](const auto& p) { WriteBmp(p, TPixelFormat::pf16bit, false); }),
       BmpPixels(TPixelFormat::pf16bit)},
      {"top-down-1.bmp", Lossless([](const auto& p) { WriteBmp(p, TPixelFormat::pf1bit, true); }),
       BmpPixels(TPixelFormat::pf1bit)},
  };
}

// Every row of the picture file as the importer reads it, B, G, R; empty when its size
// is not the seeds'.
std::vector<uint8_t> ReadWhole(const std::filesystem::path& path) {
  const auto picture = OpenPictureFile(path);
  EXPECT_EQ(picture->Width(), kWidth);
  EXPECT_EQ(picture->Height(), kHeight);
  if (picture->Width() != kWidth || picture->Height() != kHeight) return {};
  std::vector<uint8_t> rows(size_t{3} * kWidth * kHeight);
  picture->ReadRows(rows.data(), 3 * kWidth, kHeight);
  return rows;
}

int WorstChannelError(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

// How far the importer's pixels may be from a seed's source: for the lossless formats
// their rounding; for a lossy codec its own decode's
// distance from the source in this run, with room for another version of the coder
// having written the committed file.
int Tolerance(const TSeed& seed, const std::vector<uint8_t>& codecDecode) {
  if (codecDecode.empty()) return seed.Rounding;
  const int loss = WorstChannelError(codecDecode, seed.Source);
  return loss + loss / 4 + 2;
}

std::filesystem::path SeedDir() {
  return test::SourceDir() / "fuzz/corpus/PictureRowsFuzz";
}

}  // namespace

// The committed seeds hold the pictures the writers make here. Their bytes are not
// compared: the system's PNG, JPEG and TIFF libraries write other bytes as their
// versions change; the pictures are compared instead, decoded.
TEST(PictureSeeds, CommittedSeedsHoldThePicturesTheWritersMake) {
  if (!std::filesystem::is_directory(SeedDir().parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  const bool rewrite = std::getenv("VELLMAR_WRITE_SEEDS") != nullptr;
  if (rewrite) std::filesystem::create_directories(SeedDir());
  test::TempDir dir;
  for (const TSeed& seed : Seeds()) {
    SCOPED_TRACE(seed.Name);
    const std::vector<uint8_t> codecDecode = seed.Write(dir / seed.Name);
    if (rewrite)
      std::filesystem::copy_file(dir / seed.Name, SeedDir() / seed.Name,
                                 std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(std::filesystem::exists(SeedDir() / seed.Name))
        << "write the seeds with VELLMAR_WRITE_SEEDS=1";
    EXPECT_LE(WorstChannelError(ReadWhole(SeedDir() / seed.Name), seed.Source), Tolerance(seed, codecDecode))
        << "stale; rewrite with VELLMAR_WRITE_SEEDS=1";
  }
}

// Every seed reads whole as the picture it was made from, so the fuzzer's starting
// points pass the readers' checks and reach the code that turns samples into pixels.
TEST(PictureSeeds, EverySeedReadsWholeAsItsSourcePicture) {
  test::TempDir dir;
  for (const TSeed& seed : Seeds()) {
    SCOPED_TRACE(seed.Name);
    const std::vector<uint8_t> codecDecode = seed.Write(dir / seed.Name);
    const std::vector<uint8_t> read = ReadWhole(dir / seed.Name);
    ASSERT_EQ(read.size(), seed.Source.size());
    EXPECT_LE(WorstChannelError(read, seed.Source), Tolerance(seed, codecDecode));
    // A lossy file reads as its codec decodes it whole, to rounding.
    if (!codecDecode.empty()) {
      EXPECT_LE(WorstChannelError(read, codecDecode), 1);
    }
  }
}

}  // namespace vellmar
