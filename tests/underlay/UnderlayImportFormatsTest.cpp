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

#include "UnderlayToolRun.h"
#include "platform/imaging/Bitmap.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

using test::TToolRun;

using test::RunUnderlayTool;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

struct TTiffKind {
  uint16_t photometric = PHOTOMETRIC_RGB;
  uint16_t samples = 3;
  uint16_t compression = COMPRESSION_NONE;
  bool tiled = false;
  bool big = false;
  uint16_t bits = 8;
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t orientation = ORIENTATION_TOPLEFT;
};

// Writes pixels of `kind.samples` bytes each (grey, palette index, RGB or RGBA).
void WriteTiff(const std::filesystem::path& path, const TTiffKind& kind, const std::vector<uint8_t>& pixels) {
  TIFF* tiff = TIFFOpen(path.c_str(), kind.big ? "w8" : "w");
  ASSERT_NE(tiff, nullptr);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, kind.samples);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.bits);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.photometric);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, kind.planar);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind.compression);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, kind.orientation);
  if (kind.samples == 4) {
    const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &alpha);
  }
  if (kind.photometric == PHOTOMETRIC_PALETTE) {
    std::vector<uint16_t> r(256), g(256), b(256);
    for (int i = 0; i < 256; ++i) {
      const auto c = PaletteRgb(i);
      r[i] = c[0] * 257;
      g[i] = c[1] * 257;
      b[i] = c[2] * 257;
    }
    TIFFSetField(tiff, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
  }
  const size_t pixel = size_t{kind.samples} * kind.bits / 8;
  if (kind.tiled) {
    // Tiles that cut the picture into several bands, the last ones partly outside it.
    const uint32_t tw = 64, th = 32;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tw);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, th);
    std::vector<uint8_t> tile(tw * th * pixel);
    for (uint32_t ty = 0; ty < kHeight; ty += th) {
      for (uint32_t tx = 0; tx < kWidth; tx += tw) {
        std::fill(tile.begin(), tile.end(), uint8_t{0});
        for (uint32_t y = ty; y < std::min<uint32_t>(ty + th, kHeight); ++y) {
          for (uint32_t x = tx; x < std::min<uint32_t>(tx + tw, kWidth); ++x)
            std::copy_n(&pixels[(y * kWidth + x) * pixel], pixel, &tile[((y - ty) * tw + x - tx) * pixel]);
        }
        ASSERT_GE(TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0), 0);
      }
    }
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 7);
    for (int y = 0; y < kHeight; ++y) {
      ASSERT_GE(TIFFWriteScanline(tiff, const_cast<uint8_t*>(&pixels[y * kWidth * pixel]), y, 0), 0);
    }
  }
  TIFFClose(tiff);
}

// Writes a PNG through libpng's row interface: colour type, bit depth, interlacing.
void WritePng(const std::filesystem::path& path, int colourType, int depth, bool interlaced,
              const std::vector<uint8_t>& samples) {
  FILE* file = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, kWidth, kHeight, depth, colourType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    std::vector<png_color> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = {PaletteRgb(i)[0], PaletteRgb(i)[1], PaletteRgb(i)[2]};
    png_set_PLTE(png, info, palette.data(), 256);
  }
  png_write_info(png, info);
  const size_t row = samples.size() / kHeight;
  std::vector<png_bytep> rows(kHeight);
  for (int y = 0; y < kHeight; ++y) rows[y] = const_cast<uint8_t*>(&samples[y * row]);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// A classic little-endian TIFF whose second half of strips lies past the file's end,
// as when a copy broke off (libtiff writes the directory last, so cutting the file
// itself would lose the directory rather than the pixels).
void CutStripsShort(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  const auto get = [&](size_t at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
    return value;
  };
  const uint32_t directory = get(4, 4);
  for (uint32_t i = 0; i < get(directory, 2); ++i) {
    const size_t entry = directory + 2 + 12 * i;
    if (get(entry, 2) != TIFFTAG_STRIPOFFSETS) continue;
    ASSERT_EQ(get(entry + 2, 2), TIFF_LONG);
    const uint32_t count = get(entry + 4, 4);
    const uint32_t table = get(entry + 8, 4);
    for (uint32_t j = count / 2; j < count; ++j) {
      for (int b = 0; b < 4; ++b)
        bytes[table + 4 * j + b] = static_cast<uint8_t>((bytes.size() + 4096) >> (8 * b));
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
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
         WritePng(path, PNG_COLOR_TYPE_PALETTE, 8, true, Indexes());
         expected = Swap(RgbPicture());
       }},
      {"16-bit RGB PNG",
       [](const auto& path, auto& expected) {
         std::vector<uint8_t> wide;
         for (const uint8_t v : RgbPicture()) wide.insert(wide.end(), {v, v});  // v·257, big-endian
         WritePng(path, PNG_COLOR_TYPE_RGB, 16, false, wide);
         expected = Swap(RgbPicture());
       }},
      {"4:2:0 JPEG, pixels as libjpeg-turbo decodes it whole",
       [](const auto& path, auto& expected) {
         const std::vector<uint8_t> rgb = RgbPicture();
         tjhandle tj = tjInitCompress();
         unsigned char* jpeg = nullptr;
         unsigned long size = 0;
         ASSERT_EQ(tjCompress2(tj, rgb.data(), kWidth, kWidth * 3, kHeight, TJPF_RGB, &jpeg, &size,
                               TJSAMP_420, 90, 0),
                   0);
         tjDestroy(tj);
         std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(jpeg), size);
         tj = tjInitDecompress();
         expected.resize(rgb.size());
         ASSERT_EQ(tjDecompress2(tj, jpeg, size, expected.data(), kWidth, kWidth * 3, kHeight, TJPF_BGR, 0),
                   0);
         tjDestroy(tj);
         tjFree(jpeg);
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
    EXPECT_TRUE(ReadBytes(dir / "picture.sub") == ReadBytes(dir / "expected.sub"));
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
  EXPECT_EQ(ReadBytes(dir / "old.sub").size(), std::string("previous contents").size());
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
