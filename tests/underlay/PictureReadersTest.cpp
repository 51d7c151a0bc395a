// The importer's picture readers on their own: PNG gamma as the picture is shown,
// BMP bands against the whole-file decode, and declared sizes that the bytes behind
// them cannot justify, which must be refused by name before memory is taken.

#include <gtest/gtest.h>
#include <png.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "PictureFile.h"
#include "PictureWriters.h"
#include "PngRows.h"
#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

// Every row of the picture, read `band` rows at a time, as B, G, R.
std::vector<uint8_t> ReadAllRows(const std::filesystem::path& path, int band) {
  const auto picture = OpenPictureFile(path);
  const int width = picture->Width();
  std::vector<uint8_t> rows(size_t{3} * width * picture->Height());
  for (int y = 0; y < picture->Height(); y += band) {
    picture->ReadRows(&rows[size_t{3} * width * y], 3 * width, std::min(band, picture->Height() - y));
  }
  return rows;
}

void PutBE(std::vector<uint8_t>& bytes, size_t at, int size, uint32_t value) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * (size - 1 - i)));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// Gives a PNG's header another size, with the chunk's checksum made to match.
void ResizePng(const std::filesystem::path& path, uint32_t width, uint32_t height) {
  std::vector<uint8_t> bytes = test::FileBytes(path);
  PutBE(bytes, 16, 4, width);  // the IHDR chunk's data follows the signature, length and type
  PutBE(bytes, 20, 4, height);
  PutBE(bytes, 29, 4, Crc32(&bytes[12], 17));
  test::WriteFileBytes(path, bytes);
}

// Gives a JPEG's frame header (SOF0 or SOF2) another size.
void ResizeJpeg(const std::filesystem::path& path, uint16_t width, uint16_t height) {
  std::vector<uint8_t> bytes = test::FileBytes(path);
  for (size_t i = 2; i + 9 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
      PutBE(bytes, i + 5, 2, height);
      PutBE(bytes, i + 7, 2, width);
      test::WriteFileBytes(path, bytes);
      return;
    }
  }
  FAIL() << "no frame header";
}

// A BMP file's header fields, little-endian, rewritten in place.
void PatchBmp(const std::filesystem::path& path, size_t at, int32_t value) {
  std::vector<uint8_t> bytes = test::FileBytes(path);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  test::WriteFileBytes(path, bytes);
}

void WriteSmallBmp(const std::filesystem::path& path) {
  TBitmap bitmap(40, 30, TPixelFormat::pf24bit);
  bitmap.SaveToFile(path);
}

std::vector<uint8_t> RgbRamp(int width, int height) {
  std::vector<uint8_t> rgb(size_t{3} * width * height);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37 % 256);
  return rgb;
}

// A tiled TIFF that declares the picture and holds only its first tile.
void WriteTiffHeader(const std::filesystem::path& path, uint32_t width, uint32_t height, uint16_t samples,
                     uint32_t tileHeight) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tiff, nullptr);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 256);
  TIFFSetField(tiff, TIFFTAG_TILELENGTH, tileHeight);
  std::vector<uint16_t> extras(samples - 3, EXTRASAMPLE_UNSPECIFIED);
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(extras.size()), extras.data());
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  // One tile, so that the directory has its tables; the rest stay unwritten.
  std::vector<uint8_t> tile(static_cast<size_t>(TIFFTileSize(tiff)));
  ASSERT_GE(TIFFWriteTile(tiff, tile.data(), 0, 0, 0, 0), 0);
  TIFFClose(tiff);
}

}  // namespace

// A PNG's gAMA chunk is honoured as a viewer shows the picture on an sRGB screen:
// samples go from the file's gamma g to the screen's 2.2, v' = 255·(v/255)^(1/(2.2·g)).
// A file made for that screen (g = 1/2.2) or stating no gamma keeps its samples,
// interlaced or not.
TEST(PictureReaders, PngGammaIsBroughtToTheScreens) {
  test::TempDir dir;
  const std::vector<uint8_t> grey = {0, 32, 64, 128, 200, 255};
  const std::vector<uint8_t> wide = {0, 0, 0x40, 0, 0x80, 0, 0xFF, 0xFF};  // 16-bit, big-endian
  struct TCase {
    const char* name;
    test::TPngKind kind;
    const std::vector<uint8_t>& samples;
    std::vector<uint8_t> expected;  // the B (= G = R) of each pixel
  };
  const TCase cases[] = {
      {"linear grey", {.colourType = PNG_COLOR_TYPE_GRAY, .gamma = 1.0}, grey, {0, 99, 136, 186, 228, 255}},
      {"grey of gamma 0.7",
       {.colourType = PNG_COLOR_TYPE_GRAY, .gamma = 0.7},
       grey,
       {0, 66, 104, 163, 218, 255}},
      {"grey made for the screen", {.colourType = PNG_COLOR_TYPE_GRAY, .gamma = 1 / 2.2}, grey, grey},
      {"grey stating no gamma", {.colourType = PNG_COLOR_TYPE_GRAY}, grey, grey},
      {"interlaced linear grey",
       {.colourType = PNG_COLOR_TYPE_GRAY, .interlaced = true, .gamma = 1.0},
       grey,
       {0, 99, 136, 186, 228, 255}},
      {"16-bit linear grey",
       {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 16, .gamma = 1.0},
       wide,
       {0, 136, 186, 255}},
      {"16-bit grey stating no gamma",
       {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 16},
       wide,
       {0, 64, 128, 255}},
      // The whole-picture reader took such a file as linear light and brightened it,
      // so an interlaced copy imported lighter than the same picture stored plainly.
      {"interlaced 16-bit grey stating no gamma",
       {.colourType = PNG_COLOR_TYPE_GRAY, .depth = 16, .interlaced = true},
       wide,
       {0, 64, 128, 255}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int width = static_cast<int>(c.expected.size());
    test::WritePng(dir / "gamma.png", width, 1, c.kind, c.samples);
    const std::vector<uint8_t> rows = ReadAllRows(dir / "gamma.png", 1);
    std::vector<uint8_t> blue;
    for (int x = 0; x < width; ++x) {
      EXPECT_TRUE(rows[3 * x] == rows[3 * x + 1] && rows[3 * x] == rows[3 * x + 2]) << "pixel " << x;
      blue.push_back(rows[3 * x]);
    }
    EXPECT_EQ(blue, c.expected);
  }
}

// The old whole-picture reader (libpng's simplified interface, laid over white) and the
// row reader agree on pictures with a gamma, in colour and with transparency.
TEST(PictureReaders, PngGammaMatchesTheWholePictureReader) {
  test::TempDir dir;
  constexpr int kSide = 16;
  const std::vector<uint8_t> rgb = RgbRamp(kSide, kSide);
  std::vector<uint8_t> rgba;
  for (size_t i = 0; i < rgb.size(); i += 3)
    rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], rgb[i]});
  std::vector<uint8_t> indexes(kSide * kSide);
  for (size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<uint8_t>(i % 16);
  test::TRgbPalette palette;
  for (int i = 0; i < 16; ++i) palette.push_back({uint8_t(i * 17), uint8_t(255 - i * 11), uint8_t(i * 3)});
  struct TCase {
    const char* name;
    test::TPngKind kind;
    const std::vector<uint8_t>& samples;
  };
  const TCase cases[] = {
      {"linear RGB", {.gamma = 1.0}, rgb},
      {"RGB of gamma 0.8, interlaced", {.interlaced = true, .gamma = 0.8}, rgb},
      {"linear RGBA", {.colourType = PNG_COLOR_TYPE_RGB_ALPHA, .gamma = 1.0}, rgba},
      {"linear palette with transparency",
       {.colourType = PNG_COLOR_TYPE_PALETTE, .gamma = 1.0, .palette = palette, .transparency = {0, 60, 200}},
       indexes},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::WritePng(dir / "gamma.png", kSide, kSide, c.kind, c.samples);
    const std::vector<uint8_t> bytes = test::FileBytes(dir / "gamma.png");
    TBitmap whole;
    whole.LoadFromPng(bytes.data(), bytes.size());
    std::vector<uint8_t> expected(size_t{3} * kSide * kSide);
    for (int y = 0; y < kSide; ++y)
      FlattenOnWhite(whole.ScanLine(y), &expected[size_t{3} * kSide * y], kSide);
    EXPECT_EQ(ReadAllRows(dir / "gamma.png", 5), expected);
  }
}

// BMP rows read a band at a time from the file, every pixel kind either way up (the
// bitmap fuzz seeds), are the rows of the whole file decoded at once.
TEST(PictureReaders, BmpBandsAreTheWholeFilesRows) {
  const auto seeds = test::SourceDir() / "fuzz/corpus/BmpFuzz";
  if (!std::filesystem::is_directory(seeds)) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::vector<uint8_t> bytes = test::FileBytes(entry.path());
    TBitmap whole;
    whole.LoadFromBmp(bytes.data(), bytes.size());
    whole.SetPixelFormat(TPixelFormat::pf24bit);
    std::vector<uint8_t> expected;
    for (int y = 0; y < whole.Height(); ++y)
      expected.insert(expected.end(), whole.ScanLine(y), whole.ScanLine(y) + 3 * whole.Width());
    for (const int band : {1, 3, 16})
      EXPECT_EQ(ReadAllRows(entry.path(), band), expected) << band << " rows a band";
    ++files;
  }
  EXPECT_GE(files, 10);
}

// Sizes a hostile or damaged header declares: each is refused with a message that
// says why, at once or at the first row the bytes do not hold, never by taking the
// memory the declared size asks for (the sanitizer build fails on such an allocation).
TEST(PictureReaders, DeclaredSizesTheBytesCannotHoldAreRefused) {
  test::TempDir dir;
  const auto png = [](uint32_t width, uint32_t height, bool interlaced) {
    return [=](const std::filesystem::path& path) {
      test::WritePng(path, 8, 8, {.interlaced = interlaced}, RgbRamp(8, 8));
      ResizePng(path, width, height);
    };
  };
  const auto jpeg = [](uint16_t width, uint16_t height, bool progressive) {
    return [=](const std::filesystem::path& path) {
      test::WriteJpeg(path, 16, 16, RgbRamp(16, 16), TJSAMP_420, progressive);
      ResizeJpeg(path, width, height);
    };
  };
  const auto bmp = [](size_t at, int32_t value) {
    return [=](const std::filesystem::path& path) {
      WriteSmallBmp(path);
      PatchBmp(path, at, value);
    };
  };
  struct TCase {
    const char* name;
    std::function<void(const std::filesystem::path&)> write;
    const char* message;
  };
  const TCase cases[] = {
      {"PNG wider than the importer takes", png(300000, 8, false),
       "300000 x 8 pixels are too wide to import; at most 262144 pixels a row"},
      {"PNG as tall as can be, a few rows in the file", png(8, 0x7FFFFFFF, false), "damaged PNG"},
      {"interlaced PNG past the whole-picture bound", png(20000, 20000, true),
       "an interlaced PNG of 20000 x 20000 pixels is decoded whole, in 1144 MB, more than the 1024 MB "
       "allowed"},
      {"interlaced PNG within the bound, a few rows in the file", png(16000, 16000, true), "damaged PNG"},
      {"progressive JPEG past the whole-picture bound", jpeg(60000, 60000, true),
       "a progressive JPEG of 60000 x 60000 pixels is decoded whole, in 10299 MB, more than the 1024 MB "
       "allowed"},
      {"baseline JPEG of 65500 x 65500, a few rows in the file", jpeg(65500, 65500, false), "damaged JPEG"},
      {"BMP as tall as can be", bmp(22, 0x7FFFFFFF), "runs past the end of the file"},
      {"BMP as tall as can be, top-down", bmp(22, -0x7FFFFFFF), "runs past the end of the file"},
      {"BMP as wide as can be", bmp(18, 0x7FFFFFFF), "2147483647 x 30 pixels are too wide to import"},
      {"BMP whose pixels start past its end", bmp(10, 0x7FFFFFF0),
       "pixel offset 2147483632 outside the file"},
      {"TIFF whose row of tiles takes 2 GB",
       [](const auto& path) { WriteTiffHeader(path, 262144, 1024, 8, 1024); },
       "has tiles 1024 rows tall across 262144 pixels, a row of tiles of 2048 MB"},
      {"TIFF of 17 samples a pixel", [](const auto& path) { WriteTiffHeader(path, 64, 64, 17, 16); },
       "TIFF pictures of 17 samples per pixel are not supported"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.write(dir / "picture");
    try {
      // Rows go through one band, as the importer reads them.
      const auto picture = OpenPictureFile(dir / "picture");
      std::vector<uint8_t> band(size_t{3} * picture->Width() * 16);
      for (int y = 0; y < picture->Height(); y += 16)
        picture->ReadRows(band.data(), 3 * picture->Width(), std::min(16, picture->Height() - y));
      ADD_FAILURE() << "read whole";
    } catch (const EVellmarError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace vellmar
