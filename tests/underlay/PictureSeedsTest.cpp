// The picture fuzz target's seeds: small pictures of every kind the underlay importer
// reads (PNG of each colour type, interlaced, with gamma; baseline, progressive and
// grey JPEG; TIFF in strips and tiles, classic and big, several codecs; BMP either
// way up), so that the fuzzer starts inside every decoder. They are written here; run
// with VELLMAR_WRITE_SEEDS=1 to write them anew into fuzz/corpus/PictureRowsFuzz.

#include <gtest/gtest.h>
#include <png.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "PictureFile.h"
#include "PictureWriters.h"
#include "platform/imaging/Bitmap.h"
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

void WriteBmp(const std::filesystem::path& path, TPixelFormat format, bool topDown) {
  TBitmap bitmap(kWidth, kHeight, format);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      bitmap.SetPixel(x, y, static_cast<uint32_t>(x * 0x0B0907 + y * 0x130305));
  bitmap.SetTopDown(topDown);
  bitmap.SaveToFile(path);
}

using TWriter = std::function<void(const std::filesystem::path&)>;

std::map<std::string, TWriter> Seeds() {
  using test::TPngKind;
  using test::TTiffKind;
  return {
      {"rgb.png", [](const auto& p) { test::WritePng(p, kWidth, kHeight, {}, Samples(3, 5)); }},
      {"palette-transparent.png",
       [](const auto& p) {
         test::WritePng(
             p, kWidth, kHeight,
             {.colourType = PNG_COLOR_TYPE_PALETTE, .palette = SmallPalette(), .transparency = {0, 90, 255}},
             Indexes(16));
       }},
      {"grey16-linear.png",
       [](const auto& p) {
         test::WritePng(p, kWidth, kHeight, {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 16, .gamma = 1.0},
                        Samples(2, 3));
       }},
      {"rgba-interlaced.png",
       [](const auto& p) {
         test::WritePng(p, kWidth, kHeight, {.colourType = PNG_COLOR_TYPE_RGB_ALPHA, .interlaced = true},
                        Samples(4, 7));
       }},
      {"baseline-420.jpg",
       [](const auto& p) { test::WriteJpeg(p, kWidth, kHeight, Samples(3, 2), TJSAMP_420); }},
      {"progressive-444.jpg",
       [](const auto& p) { test::WriteJpeg(p, kWidth, kHeight, Samples(3, 2), TJSAMP_444, true); }},
      {"grey.jpg", [](const auto& p) { test::WriteJpeg(p, kWidth, kHeight, Samples(3, 1), TJSAMP_GRAY); }},
      {"strips.tif",
       [](const auto& p) { test::WriteTiff(p, kWidth, kHeight, {.rowsPerStrip = 5}, Samples(3, 3)); }},
      {"tiles-lzw-rgba.tif",
       [](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.samples = 4, .compression = COMPRESSION_LZW, .tiled = true, .tileWidth = 16, .tileHeight = 16},
             Samples(4, 3));
       }},
      {"bigtiff-grey-deflate.tif",
       [](const auto& p) {
         test::WriteTiff(p, kWidth, kHeight,
                         {.photometric = PHOTOMETRIC_MINISBLACK,
                          .samples = 1,
                          .compression = COMPRESSION_ADOBE_DEFLATE,
                          .tiled = true,
                          .big = true,
                          .tileWidth = 16,
                          .tileHeight = 16},
                         Samples(1, 9));
       }},
      {"palette-packbits.tif",
       [](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.photometric = PHOTOMETRIC_PALETTE, .samples = 1, .compression = COMPRESSION_PACKBITS},
             Indexes(16), SmallPalette());
       }},
      {"jpeg-ycbcr.tif",
       [](const auto& p) {
         test::WriteTiff(
             p, kWidth, kHeight,
             {.photometric = PHOTOMETRIC_YCBCR, .compression = COMPRESSION_JPEG, .rowsPerStrip = 16},
             Samples(3, 2));
       }},
      {"bottom-up-24.bmp", [](const auto& p) { WriteBmp(p, TPixelFormat::pf24bit, false); }},
      {"top-down-8.bmp", [](const auto& p) { WriteBmp(p, TPixelFormat::pf8bit, true); }},
      {"bottom-up-565.bmp", [](const auto& p) { WriteBmp(p, TPixelFormat::pf16bit, false); }},
      {"top-down-1.bmp", [](const auto& p) { WriteBmp(p, TPixelFormat::pf1bit, true); }},
  };
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path SeedDir() {
  return std::filesystem::path(__FILE__).parent_path() / "../../fuzz/corpus/PictureRowsFuzz";
}

}  // namespace

TEST(PictureSeeds, CommittedSeedsAreWhatTheWritersMake) {
  if (!std::filesystem::is_directory(SeedDir().parent_path()))
    GTEST_SKIP() << "no source tree beside the test";
  const bool rewrite = std::getenv("VELLMAR_WRITE_SEEDS") != nullptr;
  if (rewrite) std::filesystem::create_directories(SeedDir());
  test::TempDir dir;
  for (const auto& [name, write] : Seeds()) {
    SCOPED_TRACE(name);
    write(dir / name);
    if (rewrite)
      std::filesystem::copy_file(dir / name, SeedDir() / name,
                                 std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(FileBytes(SeedDir() / name), FileBytes(dir / name))
        << "stale; rewrite with VELLMAR_WRITE_SEEDS=1";
  }
}

// Every seed reads whole, so the fuzzer's starting points pass the readers' checks.
TEST(PictureSeeds, EverySeedReadsWhole) {
  test::TempDir dir;
  for (const auto& [name, write] : Seeds()) {
    SCOPED_TRACE(name);
    write(dir / name);
    const auto picture = OpenPictureFile(dir / name);
    ASSERT_EQ(picture->Width(), kWidth);
    ASSERT_EQ(picture->Height(), kHeight);
    std::vector<uint8_t> rows(size_t{3} * kWidth * kHeight);
    picture->ReadRows(rows.data(), 3 * kWidth, kHeight);
  }
}

}  // namespace vellmar
