#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/imaging/Bitmap.h"
#include "platform/imaging/BitmapPatterns.h"
#include "support/TestSupport.h"

namespace vellmar {

using test::AllPixelFormats;
using test::Patterned;
using test::Pixels;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint32_t Get32(const Bytes& bytes, size_t at) {
  return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
         uint32_t{bytes[at + 3]} << 24;
}

// A hand-made BMP file image, for the header variants and damages our writer never makes.
struct TBmpLayout {
  uint32_t headerSize = 40;
  int32_t width = 2;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
  std::vector<uint32_t> masks;    // after a 40-byte header, inside the later ones
  std::vector<uint32_t> palette;  // 0x00RRGGBB; RGBTRIPLEs for the core header
  Bytes pixels;
  Bytes trailer;             // after the pixels, inside the file size
  int64_t fileSize = -1;     // -1: the real size
  int64_t pixelOffset = -1;  // -1: right after the tables
};

Bytes MakeBmp(const TBmpLayout& layout) {
  Bytes info;
  Put32(info, layout.headerSize);
  if (layout.headerSize == 12) {
    Put16(info, static_cast<uint32_t>(layout.width));
    Put16(info, static_cast<uint32_t>(layout.height));
    Put16(info, layout.planes);
    Put16(info, layout.bits);
  } else {
    Put32(info, static_cast<uint32_t>(layout.width));
    Put32(info, static_cast<uint32_t>(layout.height));
    Put16(info, layout.planes);
    Put16(info, layout.bits);
    Put32(info, layout.compression);
    Put32(info, static_cast<uint32_t>(layout.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, layout.coloursUsed);
    Put32(info, 0);
    for (size_t i = 0; info.size() < layout.headerSize; ++i) {
      Put32(info, layout.headerSize > 40 && i < layout.masks.size() ? layout.masks[i] : 0x5A5A5A5A);
    }
    if (layout.headerSize == 40) {
      for (uint32_t mask : layout.masks) Put32(info, mask);
    }
  }
  for (uint32_t colour : layout.palette) {
    if (layout.headerSize == 12) {
      info.push_back(static_cast<uint8_t>(colour));
      info.push_back(static_cast<uint8_t>(colour >> 8));
      info.push_back(static_cast<uint8_t>(colour >> 16));
    } else {
      Put32(info, colour | 0x7F000000);  // a reserved byte that only the kept image reproduces
    }
  }
  const auto offset = static_cast<uint32_t>(layout.pixelOffset >= 0 ? layout.pixelOffset : 14 + info.size());
  const auto total = static_cast<uint32_t>(14 + info.size() + layout.pixels.size() + layout.trailer.size());
  Bytes file{'B', 'M'};
  Put32(file, static_cast<uint32_t>(layout.fileSize >= 0 ? layout.fileSize : total));
  Put32(file, 0);
  Put32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
  file.insert(file.end(), layout.trailer.begin(), layout.trailer.end());
  return file;
}

Bytes Saved(const TBitmap& bitmap) {
  Bytes out;
  bitmap.SaveToBmp(out);
  return out;
}

TBitmap Loaded(const Bytes& bytes) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.LoadFromBmp(bytes.data(), bytes.size()), bytes.size());
  return bitmap;
}

// Marks the bitmap changed without changing a pixel, so the writer must rebuild the file.
void Touch(TBitmap& bitmap) {
  if (!bitmap.Empty()) bitmap.SetPixel(0, 0, bitmap.GetPixel(0, 0));
}

std::string LoadError(const Bytes& bytes) {
  TBitmap bitmap;
  try {
    bitmap.LoadFromBmp(bytes.data(), bytes.size());
  } catch (const EVellmarError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(Bmp, EveryFormatRoundTripsByteForByte) {
  for (TPixelFormat format : AllPixelFormats) {
    for (bool topDown : {false, true}) {
      for (auto [width, height] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{17, 4}}) {
        SCOPED_TRACE(std::to_string(StorageBits(format)) + " bits " + std::to_string(width) + " x " +
                     std::to_string(height) + (topDown ? " top-down" : " bottom-up"));
        const TBitmap original = Patterned(width, height, format, topDown);
        const Bytes file = Saved(original);
        TBitmap loaded = Loaded(file);
        EXPECT_EQ(loaded.PixelFormat(), format);
        EXPECT_EQ(loaded.TopDown(), topDown);
        EXPECT_EQ(loaded.Palette(), original.Palette());
        EXPECT_EQ(loaded.Masks(), original.Masks());
        EXPECT_EQ(Pixels(loaded), Pixels(original));
        EXPECT_EQ(Saved(loaded), file);
        // Rebuilt from the pixels, the file must come out the same: the reader kept
        // every attribute the writer uses.
        Touch(loaded);
        EXPECT_EQ(Saved(loaded), file);
      }
    }
  }
}

TEST(Bmp, WriterMakesTheUsualHeaders) {
  TBitmap rgb(2, 2, TPixelFormat::pf24bit);
  rgb.SetPixel(0, 0, 0x0000FF);
  const Bytes file = Saved(rgb);
  ASSERT_EQ(file.size(), 14u + 40u + 16u);
  EXPECT_EQ(Get32(file, 2), 70u);              // file size
  EXPECT_EQ(Get32(file, 10), 54u);             // pixel offset
  EXPECT_EQ(Get32(file, 14), 40u);             // header size
  EXPECT_EQ(Get32(file, 22), 2u);              // height, bottom-up
  EXPECT_EQ(Get32(file, 26), 1u | 24u << 16);  // planes, bits
  EXPECT_EQ(Get32(file, 34), 16u);             // image size
  EXPECT_EQ(file[54 + 8], 0xFF);               // the top row comes last

  TBitmap mono(9, 1, TPixelFormat::pf1bit);
  mono.SetTopDown(true);
  const Bytes monoFile = Saved(mono);
  EXPECT_EQ(Get32(monoFile, 22), 0xFFFFFFFFu);  // height -1
  EXPECT_EQ(Get32(monoFile, 46), 0u);           // the whole table: no count
  EXPECT_EQ(Get32(monoFile, 10), 62u);

  TBitmap short8(1, 1, TPixelFormat::pf8bit);
  short8.SetPalette({0xFF0000, 0x00FF00});
  const Bytes shortFile = Saved(short8);
  EXPECT_EQ(Get32(shortFile, 46), 2u);
  EXPECT_EQ(Get32(shortFile, 54), 0x00FF0000u);

  const Bytes wide = Saved(TBitmap(1, 1, TPixelFormat::pf16bit));
  EXPECT_EQ(Get32(wide, 30), 3u);  // 5-6-5 needs bit fields
  EXPECT_EQ(Get32(wide, 54), 0xF800u);
  EXPECT_EQ(Get32(Saved(TBitmap(1, 1, TPixelFormat::pf15bit)), 30), 0u);
}

TEST(Bmp, OtherHeaderVariantsAreReadAndKept) {
  // A 124-byte header with RGBA bit fields, as image editors write 32-bit pictures.
  TBmpLayout v5;
  v5.headerSize = 124;
  v5.width = 2;
  v5.height = -1;
  v5.bits = 32;
  v5.compression = 3;
  v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  v5.pixels = {0x11, 0x22, 0x33, 0x80, 0xFF, 0x00, 0x00, 0xFF};
  const Bytes v5File = MakeBmp(v5);
  TBitmap bitmap = Loaded(v5File);
  EXPECT_TRUE(bitmap.TopDown());
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x112233u);
  EXPECT_EQ(bitmap.GetPixel(1, 0), 0xFF0000u);
  EXPECT_EQ(Saved(bitmap), v5File);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);  // unusual masks: becomes plain BGRA
  EXPECT_EQ(bitmap.Masks(), StandardMasks(TPixelFormat::pf32bit));
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x112233u);
  const uint8_t* bgra = bitmap.ScanLine(0);
  EXPECT_EQ(Bytes(bgra, bgra + 4), (Bytes{0x33, 0x22, 0x11, 0xFF}));

  // The old core header with three-byte palette entries.
  TBmpLayout core;
  core.headerSize = 12;
  core.width = 3;
  core.height = 1;
  core.bits = 8;
  core.palette.assign(256, 0);
  core.palette[7] = 0xABCDEF;
  core.pixels = {7, 0, 7, 0};
  const Bytes coreFile = MakeBmp(core);
  bitmap = Loaded(coreFile);
  EXPECT_EQ(Pixels(bitmap), (std::vector<uint32_t>{0xABCDEF, 0, 0xABCDEF}));
  EXPECT_EQ(Saved(bitmap), coreFile);

  // A short palette, 16-bit 5-5-5 bit fields, 4-4-4 bit fields, bytes after the pixels.
  TBmpLayout counted;
  counted.width = 1;
  counted.height = 1;
  counted.bits = 8;
  counted.coloursUsed = 2;
  counted.palette = {0x000000, 0x00FF00};
  counted.pixels = {1, 0, 0, 0};
  counted.trailer = {1, 2, 3};
  const Bytes countedFile = MakeBmp(counted);
  bitmap = Loaded(countedFile);
  EXPECT_EQ(bitmap.Palette().size(), 2u);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(Saved(bitmap), countedFile);

  TBmpLayout fields555;
  fields555.width = 1;
  fields555.height = 1;
  fields555.bits = 16;
  fields555.compression = 3;
  fields555.masks = {0x7C00, 0x03E0, 0x001F};
  fields555.pixels = {0x1F, 0x00, 0, 0};
  bitmap = Loaded(MakeBmp(fields555));
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf15bit);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x0000FFu);

  TBmpLayout fields444 = fields555;
  fields444.masks = {0x0F00, 0x00F0, 0x000F};
  fields444.pixels = {0x0F, 0x08, 0, 0};
  const Bytes file444 = MakeBmp(fields444);
  bitmap = Loaded(file444);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf16bit);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0x8800FFu);
  EXPECT_EQ(Saved(bitmap), file444);
  Touch(bitmap);
  TBitmap again = Loaded(Saved(bitmap));
  EXPECT_EQ(again.Masks(), (TBitMasks{0x0F00, 0x00F0, 0x000F, 0}));
  EXPECT_EQ(again.GetPixel(0, 0), 0x8800FFu);
}

TEST(Bmp, AnyChangeDropsTheKeptImage) {
  TBmpLayout v4;
  v4.headerSize = 108;
  v4.width = 1;
  v4.height = 1;
  v4.pixels = {1, 2, 3, 0};
  const Bytes file = MakeBmp(v4);
  TBitmap bitmap = Loaded(file);
  bitmap.ScanLine(0);  // a writable scan line may be written through
  const Bytes rebuilt = Saved(bitmap);
  EXPECT_EQ(Get32(rebuilt, 14), 40u);
  EXPECT_EQ(Loaded(rebuilt).GetPixel(0, 0), 0x030201u);

  bitmap = Loaded(file);
  bitmap.SetTopDown(true);
  EXPECT_NE(Saved(bitmap), file);
  bitmap = Loaded(file);
  bitmap.SetSize(2, 1);
  EXPECT_NE(Saved(bitmap), file);
  bitmap = Loaded(file);
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  EXPECT_NE(Saved(bitmap), file);
}

TEST(Bmp, EmbeddedImagesReportTheirOwnLength) {
  const Bytes first = Saved(Patterned(3, 2, TPixelFormat::pf8bit, false));
  const Bytes second = Saved(Patterned(2, 5, TPixelFormat::pf24bit, true));
  Bytes stream = first;
  stream.insert(stream.end(), second.begin(), second.end());
  stream.push_back(0xEE);
  TBitmap bitmap;
  const size_t used = bitmap.LoadFromBmp(stream.data(), stream.size());
  EXPECT_EQ(used, first.size());
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.LoadFromBmp(stream.data() + used, stream.size() - used), second.size());
  EXPECT_EQ(bitmap.Height(), 5);
}

TEST(Bmp, EmptyBitmapsRoundTrip) {
  const Bytes file = Saved(TBitmap(0, 0, TPixelFormat::pf24bit));
  EXPECT_EQ(file.size(), 54u);
  TBitmap bitmap(3, 3, TPixelFormat::pf8bit);
  EXPECT_EQ(bitmap.LoadFromBmp(file.data(), file.size()), 54u);
  EXPECT_TRUE(bitmap.Empty());

  TBmpLayout noWidth;
  noWidth.width = 0;
  noWidth.height = 0x7FFFFFFF;
  EXPECT_TRUE(Loaded(MakeBmp(noWidth)).Empty());
}

TEST(Bmp, DamagedHeadersRaiseClearErrors) {
  TBmpLayout rle;
  rle.bits = 8;
  rle.compression = 1;
  rle.palette.assign(256, 0);
  EXPECT_EQ(LoadError(MakeBmp(rle)), "TBitmap.LoadFromBmp: compression 1 not supported");
  for (uint32_t compression : {2u, 4u, 5u, 6u}) {
    TBmpLayout other;
    other.compression = compression;
    EXPECT_EQ(LoadError(MakeBmp(other)),
              "TBitmap.LoadFromBmp: compression " + std::to_string(compression) + " not supported");
  }

  Bytes notBmp = Saved(TBitmap(1, 1, TPixelFormat::pf24bit));
  notBmp[0] = 'P';
  EXPECT_EQ(LoadError(notBmp), "TBitmap.LoadFromBmp: not a BMP file");

  TBmpLayout layout;
  layout.headerSize = 64;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: information header size 64 not supported");
  layout = {};
  layout.planes = 0;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: 0 planes not supported");
  layout = {};
  layout.bits = 2;
  EXPECT_EQ(LoadError(MakeBmp(layout)),
            "TBitmap.LoadFromBmp: 2 bits per pixel not supported with compression 0");
  layout.bits = 24;
  layout.compression = 3;
  layout.masks = {0xFF0000, 0xFF00, 0xFF};
  EXPECT_EQ(LoadError(MakeBmp(layout)),
            "TBitmap.LoadFromBmp: 24 bits per pixel not supported with compression 3");

  layout = {};
  layout.bits = 8;
  layout.coloursUsed = 300;
  layout.palette.assign(300, 0);
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: palette of 300 colours for 8 bits per pixel");
  layout.coloursUsed = 0;
  layout.palette.assign(16, 0);
  layout.pixelOffset = 1078;  // a full table is expected but the file ends after 16 entries
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: palette truncated");

  TBmpLayout core;  // room for one byte of colour table: not even one entry
  core.headerSize = 12;
  core.bits = 8;
  core.pixels.assign(8, 0);
  core.pixelOffset = 14 + 12 + 1;
  EXPECT_EQ(LoadError(MakeBmp(core)), "TBitmap.LoadFromBmp: palette missing");

  layout = {};
  layout.bits = 16;
  layout.compression = 3;
  layout.pixels.assign(8, 0);
  for (auto masks :
       {std::vector<uint32_t>{0xF800, 0x0FE0, 0x1F}, std::vector<uint32_t>{0x1F0000, 0x7E0, 0x1F},
        std::vector<uint32_t>{0xF000, 0x0500, 0x1F}}) {
    layout.masks = masks;
    EXPECT_NE(LoadError(MakeBmp(layout)).find("bit masks"), std::string::npos) << masks[0];
  }

  layout = {};
  layout.width = -2;
  layout.pixels.assign(16, 0);
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: negative width -2");
  layout = {};
  layout.height = INT32_MIN;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: height 2147483648 out of range");

  layout = {};
  layout.pixels.assign(16, 0);
  layout.pixelOffset = 40;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: pixel offset 40 inside the headers (54 bytes)");
  layout.pixelOffset = 1000;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: pixel offset 1000 past the end");
  layout.pixelOffset = -1;
  layout.fileSize = 71;
  EXPECT_EQ(LoadError(MakeBmp(layout)), "TBitmap.LoadFromBmp: file size 71 past the end of 70");
  layout.fileSize = 60;
  EXPECT_EQ(LoadError(MakeBmp(layout)),
            "TBitmap.LoadFromBmp: file size 60 ends inside the pixel data (70 bytes)");
}

TEST(Bmp, EveryTruncationRaisesAndLeavesTheBitmapAlone) {
  for (TPixelFormat format : AllPixelFormats) {
    const Bytes file = Saved(Patterned(5, 3, format, false));
    TBitmap bitmap = Patterned(2, 2, TPixelFormat::pf24bit, false);
    const auto before = Pixels(bitmap);
    for (size_t length = 0; length < file.size(); ++length) {
      EXPECT_THROW(bitmap.LoadFromBmp(file.data(), length), EVellmarError)
          << StorageBits(format) << " bits cut at " << length;
    }
    EXPECT_EQ(Pixels(bitmap), before);
  }
}

TEST(Bmp, HugeDimensionsRaiseBeforeAllocating) {
  // Each claims far more pixels than the file holds; the reader must not try to make
  // room for them first.
  for (auto [width, height, bits] :
       {std::tuple{0x7FFFFFFF, 0x7FFFFFFF, 24}, std::tuple{0x7FFFFFFF, 1, 32}, std::tuple{1, 0x7FFFFFFF, 1},
        std::tuple{65536, -65536, 8}, std::tuple{0x40000000, 4, 32}}) {
    TBmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bits = static_cast<uint16_t>(bits);
    if (bits <= 8) layout.palette.assign(size_t{1} << bits, 0);
    layout.pixels.assign(64, 0);
    EXPECT_NE(LoadError(MakeBmp(layout)).find("truncated"), std::string::npos) << width << " x " << height;
  }
}

TEST(Bmp, StreamsHoldImagesBackToBack) {
  const TBitmap first = Patterned(3, 2, TPixelFormat::pf4bit, false);
  const TBitmap second = Patterned(4, 1, TPixelFormat::pf32bit, true);
  TMemoryStream stream;
  stream.Write("TAG", 3);
  first.SaveToStream(stream);
  second.SaveToStream(stream);
  stream.Write("END", 3);

  stream.SetPosition(3);
  TBitmap bitmap;
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(Pixels(bitmap), Pixels(first));
  EXPECT_EQ(stream.Position(), 3 + static_cast<int64_t>(Saved(first).size()));
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(Pixels(bitmap), Pixels(second));
  EXPECT_EQ(stream.Remaining(), 3);
  EXPECT_THROW(bitmap.LoadFromStream(stream), EVellmarError);
}

TEST(Bmp, StreamImageCutShortRaises) {
  Bytes file = Saved(Patterned(3, 3, TPixelFormat::pf24bit, false));
  file.resize(file.size() - 1);
  TMemoryStream stream(file);
  TBitmap bitmap;
  EXPECT_THROW(bitmap.LoadFromStream(stream), EVellmarError);
}

TEST(Bmp, FilesAreWrittenAndReadWhole) {
  test::TempDir dir;
  const TBitmap original = Patterned(6, 5, TPixelFormat::pf8bit, false);
  original.SaveToFile(dir / "picture.bmp");
  TBitmap bitmap;
  bitmap.LoadFromFile(dir / "picture.bmp");
  EXPECT_EQ(Pixels(bitmap), Pixels(original));
  EXPECT_EQ(Saved(bitmap), Saved(original));

  const auto missing = dir / "missing.bmp";
  EXPECT_THROW(bitmap.LoadFromFile(missing), EVellmarError);

  TBmpLayout rle;
  rle.compression = 1;
  const Bytes damaged = MakeBmp(rle);
  const auto damagedPath = dir / "rle.bmp";
  std::ofstream(damagedPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
  try {
    bitmap.LoadFromFile(damagedPath);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_EQ(std::string(e.what()), "TBitmap.LoadFromFile: " + damagedPath.string() +
                                         ": TBitmap.LoadFromBmp: compression 1 not supported");
  }
  EXPECT_EQ(Pixels(bitmap), Pixels(original));
}

}  // namespace vellmar
