// The importer's picture readers, end to end through the tool: every kind of file it
// reads must give exactly the tile file that the same pixels give as a BMP, and every
// damaged or unsupported file must fail with a message naming it, leaving no output.

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>
#include <turbojpeg.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "PictureWriters.h"
#include "UnderlayToolRun.h"
#include "platform/imaging/Bitmap.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

using test::TToolRun;

using test::RunUnderlayTool;

// Colour ramps with a dark cross: index i of the 256 colours a palette picture uses.
uint8_t Index(int x, int y) {
  const bool cross = (x > 145 && x < 155) || (y > 95 && y < 105);
  return cross ? 0 : static_cast<uint8_t>(1 + (x / 20 + 15 * (y / 15)) % 255);
}
std::array<uint8_t, 3> PaletteRgb(int i) {
  return {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3 + 40)};
}

// The pixels a file holds, as B, G, R rows, and how to write that file.
struct TPictureCase {
  const char* name;
  std::function<void(const std::filesystem::path&, std::vector<uint8_t>& expectedBgr)> write;
};

std::vector<uint8_t> RgbPicture() {
  std::vector<uint8_t> rgb(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::array<uint8_t, 3> c = PaletteRgb(Index(x, y));
      std::copy(c.begin(), c.end(), &rgb[(y * kWidth + x) * 3]);
    }
  }
  return rgb;
}

std::vector<uint8_t> Swap(std::vector<uint8_t> rgb) {
  for (size_t i = 0; i < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
  return rgb;
}

test::TRgbPalette Palette() {
  test::TRgbPalette palette;
  for (int i = 0; i < 256; ++i) palette.push_back(PaletteRgb(i));
  return palette;
}

void WriteTiff(const std::filesystem::path& path, const test::TTiffKind& kind,
               const std::vector<uint8_t>& pixels) {
  test::WriteTiff(path, kWidth, kHeight, kind, pixels,
                  kind.photometric == PHOTOMETRIC_PALETTE ? Palette() : test::TRgbPalette{});
}

uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

void PutLE(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<uint8_t>(value >> (8 * b));
}

// Edits the directory entry of `tag` (12 bytes at `entry`) of a classic little-endian
// TIFF in place.
void EditTiffEntry(const std::filesystem::path& path, uint16_t tag,
                   const std::function<void(std::vector<uint8_t>&, size_t entry)>& edit) {
  std::vector<uint8_t> bytes = test::FileBytes(path);
  const uint32_t directory = GetLE(bytes, 4, 4);
  for (uint32_t i = 0; i < GetLE(bytes, directory, 2); ++i) {
    const size_t entry = directory + 2 + 12 * i;
    if (GetLE(bytes, entry, 2) == tag) edit(bytes, entry);
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A TIFF whose second half of strips lies past the file's end, as when a copy broke
// off (libtiff writes the directory last, so cutting the file itself would lose the
// directory rather than the pixels).
void CutStripsShort(const std::filesystem::path& path) {
  EditTiffEntry(path, TIFFTAG_STRIPOFFSETS, [](std::vector<uint8_t>& bytes, size_t entry) {
    ASSERT_EQ(GetLE(bytes, entry + 2, 2), TIFF_LONG);
    const uint32_t count = GetLE(bytes, entry + 4, 4);
    const uint32_t table = GetLE(bytes, entry + 8, 4);
    for (uint32_t j = count / 2; j < count; ++j)
      PutLE(bytes, table + 4 * j, static_cast<uint32_t>(bytes.size() + 4096));
  });
}

// A tiled TIFF whose tile table holds the first tile's offset alone: libtiff pads the
// table with zeros, and the tiles after the first would be read from the file's header.
void ShortenTileTable(const std::filesystem::path& path) {
  EditTiffEntry(path, TIFFTAG_TILEOFFSETS, [](std::vector<uint8_t>& bytes, size_t entry) {
    const uint32_t first = GetLE(bytes, GetLE(bytes, entry + 8, 4), 4);
    PutLE(bytes, entry + 4, 1);
    PutLE(bytes, entry + 8, first);  // one value is held in the entry itself
  });
}

void WriteBmp(const std::filesystem::path& path, const std::vector<uint8_t>& bgr) {
  TBitmap bitmap(kWidth, kHeight, TPixelFormat::pf24bit);
  for (int y = 0; y < kHeight; ++y) std::copy_n(&bgr[y * kWidth * 3], kWidth * 3, bitmap.ScanLine(y));
  bitmap.SaveToFile(path);
}

std::vector<uint8_t> Indexes() {
  std::vector<uint8_t> indexes(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) indexes[y * kWidth + x] = Index(x, y);
  return indexes;
}

std::vector<uint8_t> Grey() {
  std::vector<uint8_t> grey = Indexes();
  for (uint8_t& g : grey) g = static_cast<uint8_t>(g * 5 / 7 + 20);
  return grey;
}

std::vector<uint8_t> Widen(const std::vector<uint8_t>& grey) {
  std::vector<uint8_t> bgr;
  for (const uint8_t g : grey) bgr.insert(bgr.end(), {g, g, g});
  return bgr;
}

const std::vector<TPictureCase>& Cases() {
  static const std::vector<TPictureCase> cases = {
      {"RGB TIFF in strips",
       [](const auto& path, auto& expected) {
         WriteTiff(path, {}, RgbPicture());
         expected = Swap(RgbPicture());
       }},
      {"LZW RGBA TIFF in tiles, opaque",
       [](const auto& path, auto& expected) {
         std::vector<uint8_t> rgba;
         const std::vector<uint8_t> rgb = RgbPicture();
         for (size_t i = 0; i < rgb.size(); i += 3)
           rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
         WriteTiff(path, {.samples = 4, .compression = COMPRESSION_LZW, .tiled = true}, rgba);
         expected = Swap(rgb);
       }},
      {"deflate greyscale BigTIFF in tiles",
       [](const auto& path, auto& expected) {
         WriteTiff(path,
                   {.photometric = PHOTOMETRIC_MINISBLACK,
                    .samples = 1,
                    .compression = COMPRESSION_ADOBE_DEFLATE,
                    .tiled = true,
                    .big = true},
                   Grey());
         expected = Widen(Grey());
       }},
      {"white-is-zero greyscale TIFF",
       [](const auto& path, auto& expected) {
         WriteTiff(path, {.photometric = PHOTOMETRIC_MINISWHITE, .samples = 1}, Grey());
         std::vector<uint8_t> inverted = Grey();
         for (uint8_t& g : inverted) g = static_cast<uint8_t>(255 - g);
         expected = Widen(inverted);
       }},
      {"palette TIFF",
       [](const auto& path, auto& expected) {
         WriteTiff(path,
                   {.photometric = PHOTOMETRIC_PALETTE, .samples = 1, .compression = COMPRESSION_PACKBITS},
                   Indexes());
         expected = Swap(RgbPicture());
       }},
      {"interlaced palette PNG",
       [](const auto& path, auto& expected) {
         test::WritePng(path, kWidth, kHeight,
                        {.colourType = PNG_COLOR_TYPE_PALETTE, .interlaced = true, .palette = Palette()},
                        Indexes());
         expected = Swap(RgbPicture());
       }},
      {"16-bit RGB PNG",
       [](const auto& path, auto& expected) {
         std::vector<uint8_t> wide;
         for (const uint8_t v : RgbPicture()) wide.insert(wide.end(), {v, v});  // v·257, big-endian
         test::WritePng(path, kWidth, kHeight, {.colourType = PNG_COLOR_TYPE_RGB, .depth = 16}, wide);
         expected = Swap(RgbPicture());
       }},
      {"4:2:0 JPEG, pixels as libjpeg-turbo decodes it whole",
       [](const auto& path, auto& expected) {
         expected = test::WriteJpeg(path, kWidth, kHeight, RgbPicture(), TJSAMP_420);
       }},
  };
  return cases;
}

}  // namespace

TEST(UnderlayImportFormats, EveryPictureKindGivesTheTilesItsPixelsGive) {
  test::TempDir dir;
  for (const TPictureCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> expected;
    c.write(dir / "picture", expected);
    ASSERT_EQ(expected.size(), size_t{kWidth} * kHeight * 3);
    WriteBmp(dir / "expected.bmp", expected);
    const TToolRun run =
        RunUnderlayTool("import " + test::Quote(dir / "picture") + " " + test::Quote(dir / "picture.sub"));
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(RunUnderlayTool("import --threads 1 " + test::Quote(dir / "expected.bmp") + " " +
                              test::Quote(dir / "expected.sub"))
                  .status,
              0);
    EXPECT_TRUE(test::FileBytes(dir / "picture.sub") == test::FileBytes(dir / "expected.sub"));
  }
}

// A truncated picture must fail by name, not import grey or black rows as if whole,
// and the old output stays as it was with no temporary file beside it.
TEST(UnderlayImportFormats, DamagedAndUnsupportedPicturesFailWithoutOutput) {
  test::TempDir dir;
  struct TFailure {
    const char* name;
    std::function<void(const std::filesystem::path&)> write;
    const char* message;
  };
  const auto truncated = [](size_t caseIndex, double keep) {
    return [=](const std::filesystem::path& path) {
      std::vector<uint8_t> ignored;
      Cases()[caseIndex].write(path, ignored);
      std::filesystem::resize_file(path, static_cast<uintmax_t>(std::filesystem::file_size(path) * keep));
    };
  };
  const TFailure failures[] = {
      {"truncated JPEG", truncated(7, 0.6), "damaged JPEG"},
      {"truncated PNG", truncated(6, 0.5), "damaged PNG"},
      {"TIFF cut short",
       [](const auto& path) {
         std::vector<uint8_t> ignored;
         Cases()[0].write(path, ignored);
         CutStripsShort(path);
       },
       "damaged TIFF"},
      {"TIFF whose tile table is shorter than its tiles",
       [](const auto& path) {
         WriteTiff(path, {.tiled = true}, RgbPicture());
         ShortenTileTable(path);
       },
       "damaged TIFF: tile 1 is missing from the file"},
      {"16-bit TIFF",
       [](const auto& path) { WriteTiff(path, {.bits = 16}, std::vector<uint8_t>(kWidth * kHeight * 6)); },
       "TIFF pictures of 16 bits per sample are not supported"},
      {"CMYK TIFF",
       [](const auto& path) {
         WriteTiff(path, {.photometric = PHOTOMETRIC_SEPARATED, .samples = 4},
                   std::vector<uint8_t>(kWidth * kHeight * 4));
       },
       "TIFF pictures of photometric interpretation 5"},
      {"TIFF stored upside down",
       [](const auto& path) {
         WriteTiff(path, {.orientation = ORIENTATION_BOTLEFT}, std::vector<uint8_t>(kWidth * kHeight * 3));
       },
       "TIFF pictures turned or mirrored (orientation 4) are not supported"},
      {"TIFF in separate planes",
       [](const auto& path) {
         WriteTiff(path, {.planar = PLANARCONFIG_SEPARATE}, std::vector<uint8_t>(kWidth * kHeight * 3));
       },
       "TIFF pictures with samples in separate planes are not supported"},
  };
  std::ofstream(dir / "old.sub") << "previous contents";
  for (const TFailure& f : failures) {
    SCOPED_TRACE(f.name);
    f.write(dir / "picture");
    const TToolRun run =
        RunUnderlayTool("import " + test::Quote(dir / "picture") + " " + test::Quote(dir / "old.sub"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(f.message), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("wrote"), std::string::npos) << run.output;
  }
  EXPECT_EQ(test::FileBytes(dir / "old.sub").size(), std::string("previous contents").size());
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 2u) << "a temporary file was left behind";
}

// Progress written to a pipe or a log is plain lines, not one line rewritten with
// carriage returns; the thread count is checked.
TEST(UnderlayImportFormats, ProgressIsPlainLinesOffATerminal) {
  test::TempDir dir;
  std::vector<uint8_t> ignored;
  Cases()[0].write(dir / "picture.tif", ignored);
  TToolRun run = RunUnderlayTool("import " + test::Quote(dir / "picture.tif") + " " +
                                 test::Quote(dir / "out.sub") + " --threads 3");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find('\r'), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\ncoding tiles: 5 of 5 (100%)\n"), std::string::npos) << run.output;
  run = RunUnderlayTool("import " + test::Quote(dir / "picture.tif") + " " + test::Quote(dir / "out.sub") +
                        " --threads 0");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("--threads must be a number from 1 to 256, not 0"), std::string::npos)
      << run.output;
}

}  // namespace vellmar
