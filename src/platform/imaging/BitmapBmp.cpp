// BMP file images: BITMAPFILEHEADER, one of the information headers (the 12-byte core
// header, the 40-byte header and its 52-, 56-, 108- and 124-byte successors), bit masks,
// colour table, pixels. Only uncompressed and bit-field pixels are read.

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t CoreHeaderSize = 12;
constexpr uint32_t CompressionRgb = 0;
constexpr uint32_t CompressionBitFields = 3;
constexpr uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void Fail(const std::string& what) {
  throw EVellmarError("TBitmap.LoadFromBmp: " + what);
}

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

bool Contiguous(uint32_t mask) {
  return mask == 0 || std::has_single_bit((mask >> std::countr_zero(mask)) + 1);
}

// Masks must be runs of bits inside the pixel that do not overlap; anything else
// cannot be decoded sensibly.
void CheckMasks(const TBitMasks& masks, int bits) {
  const uint32_t inside = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  const uint32_t all[] = {masks.Red, masks.Green, masks.Blue, masks.Alpha};
  uint32_t seen = 0;
  for (uint32_t mask : all) {
    if (!Contiguous(mask) || (mask & ~inside) != 0 || (mask & seen) != 0) {
      Fail("bit masks " + std::to_string(masks.Red) + ", " + std::to_string(masks.Green) + ", " +
           std::to_string(masks.Blue) + ", " + std::to_string(masks.Alpha) + " not usable for " +
           std::to_string(bits) + " bits per pixel");
    }
    seen |= mask;
  }
}

struct TBmpLayout {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = CompressionRgb;
  TBitMasks masks;
  size_t paletteStart = 0;
  size_t paletteEntries = 0;
  size_t paletteEntrySize = 4;
};

TBmpLayout ReadInfoHeader(const uint8_t* data, size_t size, uint32_t pixelOffset) {
  if (size < FileHeaderSize + 4) Fail("information header truncated");
  const uint8_t* info = data + FileHeaderSize;
  const uint32_t headerSize = ReadU32(info);
  if (headerSize != CoreHeaderSize && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
      headerSize != 108 && headerSize != 124) {
    Fail("information header size " + std::to_string(headerSize) + " not supported");
  }
  if (size - FileHeaderSize < headerSize) Fail("information header truncated");

  TBmpLayout layout;
  uint32_t planes = 0;
  uint32_t coloursUsed = 0;
  if (headerSize == CoreHeaderSize) {
    layout.width = ReadU16(info + 4);
    layout.height = ReadU16(info + 6);
    planes = ReadU16(info + 8);
    layout.bits = ReadU16(info + 10);
    layout.paletteEntrySize = 3;
  } else {
    layout.width = static_cast<int32_t>(ReadU32(info + 4));
    layout.height = static_cast<int32_t>(ReadU32(info + 8));
    planes = ReadU16(info + 12);
    layout.bits = ReadU16(info + 14);
    layout.compression = ReadU32(info + 16);
    coloursUsed = ReadU32(info + 32);
  }
  if (planes != 1) Fail(std::to_string(planes) + " planes not supported");
  if (layout.compression != CompressionRgb && layout.compression != CompressionBitFields) {
    Fail("compression " + std::to_string(layout.compression) + " not supported");
  }
  const int bits = layout.bits;
  const bool rgbBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!rgbBits || (layout.compression == CompressionBitFields && bits != 16 && bits != 32)) {
    Fail(std::to_string(bits) + " bits per pixel not supported with compression " +
         std::to_string(layout.compression));
  }
  if (layout.width < 0) Fail("negative width " + std::to_string(layout.width));
  if (layout.height < 0) {
    layout.topDown = true;
    layout.height = -layout.height;
  }
  if (layout.height > INT32_MAX) Fail("height " + std::to_string(layout.height) + " out of range");

  size_t tablesStart = FileHeaderSize + headerSize;
  if (layout.compression == CompressionBitFields) {
    // The 40-byte header keeps its three masks after it; the later headers inside.
    const uint8_t* masks = info + 40;
    if (headerSize == 40) {
      if (size - tablesStart < 12) Fail("bit masks truncated");
      tablesStart += 12;
    }
    layout.masks = {ReadU32(masks), ReadU32(masks + 4), ReadU32(masks + 8),
                    headerSize >= 56 ? ReadU32(masks + 12) : 0};
    CheckMasks(layout.masks, bits);
  }
  layout.paletteStart = tablesStart;
  if (bits <= 8) {
    const size_t limit = size_t{1} << bits;
    if (headerSize == CoreHeaderSize) {
      // The core header has no count: the table runs up to the pixels, at most 2^bits.
      const size_t room = pixelOffset > tablesStart ? (pixelOffset - tablesStart) / 3 : limit;
      layout.paletteEntries = std::min(limit, room);
      if (layout.paletteEntries == 0) Fail("palette missing");
    } else {
      if (coloursUsed > limit) {
        Fail("palette of " + std::to_string(coloursUsed) + " colours for " + std::to_string(bits) +
             " bits per pixel");
      }
      layout.paletteEntries = coloursUsed == 0 ? limit : coloursUsed;
    }
    if ((size - tablesStart) / layout.paletteEntrySize < layout.paletteEntries) Fail("palette truncated");
  }
  return layout;
}

TPixelFormat FormatOf(const TBmpLayout& layout) {
  switch (layout.bits) {
    case 1:
      return TPixelFormat::pf1bit;
    case 4:
      return TPixelFormat::pf4bit;
    case 8:
      return TPixelFormat::pf8bit;
    case 16:
      return layout.compression == CompressionBitFields &&
                     !(layout.masks == StandardMasks(TPixelFormat::pf15bit))
                 ? TPixelFormat::pf16bit
                 : TPixelFormat::pf15bit;
    case 24:
      return TPixelFormat::pf24bit;
    default:
      return TPixelFormat::pf32bit;
  }
}

// The masks the pixels are decoded with: the format's own unless the file gives
// others. A 32-bit file that states the usual masks without alpha is the usual layout.
TBitMasks MasksOf(const TBmpLayout& layout, TPixelFormat format) {
  const TBitMasks standard = StandardMasks(format);
  if (layout.compression != CompressionBitFields) return standard;
  const TBitMasks& m = layout.masks;
  const bool usual = m.Red == standard.Red && m.Green == standard.Green && m.Blue == standard.Blue &&
                     (m.Alpha == standard.Alpha || (format == TPixelFormat::pf32bit && m.Alpha == 0));
  return usual ? standard : m;
}

}  // namespace

size_t TBitmap::LoadFromBmp(const uint8_t* data, size_t size) {
  if (size < FileHeaderSize) Fail("file header truncated");
  if (data[0] != 'B' || data[1] != 'M') Fail("not a BMP file");
  const uint32_t fileSize = ReadU32(data + 2);
  const uint32_t pixelOffset = ReadU32(data + 10);
  const TBmpLayout layout = ReadInfoHeader(data, size, pixelOffset);

  const size_t tablesEnd = layout.paletteStart + layout.paletteEntries * layout.paletteEntrySize;
  if (pixelOffset < tablesEnd) {
    Fail("pixel offset " + std::to_string(pixelOffset) + " inside the headers (" + std::to_string(tablesEnd) +
         " bytes)");
  }
  if (pixelOffset > size) Fail("pixel offset " + std::to_string(pixelOffset) + " past the end");
  const bool empty = layout.width == 0 || layout.height == 0;
  const int64_t stride = (layout.width * layout.bits + 31) / 32 * 4;
  // Checked by division so that no product of absurd dimensions can overflow.
  const size_t room = size - pixelOffset;
  if (!empty &&
      (static_cast<uint64_t>(stride) > room || static_cast<uint64_t>(layout.height) > room / stride)) {
    Fail("pixel data of " + std::to_string(layout.width) + " x " + std::to_string(layout.height) + " at " +
         std::to_string(layout.bits) + " bits truncated");
  }
  const size_t pixelEnd = pixelOffset + (empty ? 0 : static_cast<size_t>(stride * layout.height));
  if (fileSize > size)
    Fail("file size " + std::to_string(fileSize) + " past the end of " + std::to_string(size));
  if (fileSize != 0 && fileSize < pixelEnd) {
    Fail("file size " + std::to_string(fileSize) + " ends inside the pixel data (" +
         std::to_string(pixelEnd) + " bytes)");
  }
  const size_t imageSize = fileSize != 0 ? fileSize : pixelEnd;

  TBitmap loaded;
  loaded.topDown_ = layout.topDown;
  const TPixelFormat format = FormatOf(layout);
  loaded.Allocate(empty ? 0 : static_cast<int32_t>(layout.width),
                  empty ? 0 : static_cast<int32_t>(layout.height), format, "TBitmap.LoadFromBmp");
  loaded.masks_ = MasksOf(layout, format);
  if (layout.bits <= 8) {
    loaded.palette_.resize(layout.paletteEntries);
    for (size_t i = 0; i < layout.paletteEntries; ++i) {
      const uint8_t* entry = data + layout.paletteStart + i * layout.paletteEntrySize;
      loaded.palette_[i] = uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
    }
  }
  if (!loaded.pixels_.empty()) std::memcpy(loaded.pixels_.data(), data + pixelOffset, loaded.pixels_.size());
  loaded.fileImage_.assign(data, data + imageSize);
  *this = std::move(loaded);
  return imageSize;
}

void TBitmap::SaveToBmp(std::vector<uint8_t>& out) const {
  if (!fileImage_.empty()) {
    out.insert(out.end(), fileImage_.begin(), fileImage_.end());
    return;
  }
  TBitmapInfoHeader header = BitmapInfoHeader(*this);
  header.biBitCount = static_cast<uint16_t>(StorageBits(format_));
  // 16 bits without masks mean 5-5-5, so 5-6-5 and any unusual masks need them.
  const bool bitFields = format_ == TPixelFormat::pf16bit ||
                         (format_ == TPixelFormat::pf32bit && !(masks_ == StandardMasks(format_)));
  header.biCompression = bitFields ? CompressionBitFields : CompressionRgb;
  const bool shortPalette = !palette_.empty() && palette_.size() < (size_t{1} << StorageBits(format_));
  header.biClrUsed = shortPalette ? static_cast<uint32_t>(palette_.size()) : 0;
  const auto pixelOffset = static_cast<uint32_t>(FileHeaderSize + sizeof(TBitmapInfoHeader) +
                                                 (bitFields ? 12 : 0) + 4 * palette_.size());

  out.reserve(out.size() + pixelOffset + pixels_.size());
  out.push_back('B');
  out.push_back('M');
  PutU32(out, pixelOffset + static_cast<uint32_t>(pixels_.size()));
  PutU32(out, 0);
  PutU32(out, pixelOffset);
  PutU32(out, header.biSize);
  PutU32(out, static_cast<uint32_t>(header.biWidth));
  PutU32(out, static_cast<uint32_t>(header.biHeight));
  PutU16(out, header.biPlanes);
  PutU16(out, header.biBitCount);
  PutU32(out, header.biCompression);
  PutU32(out, header.biSizeImage);
  PutU32(out, static_cast<uint32_t>(header.biXPelsPerMeter));
  PutU32(out, static_cast<uint32_t>(header.biYPelsPerMeter));
  PutU32(out, header.biClrUsed);
  PutU32(out, header.biClrImportant);
  if (bitFields) {
    PutU32(out, masks_.Red);
    PutU32(out, masks_.Green);
    PutU32(out, masks_.Blue);
  }
  for (uint32_t colour : palette_) PutU32(out, colour);
  out.insert(out.end(), pixels_.begin(), pixels_.end());
}

void TBitmap::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  uint8_t fileHeader[FileHeaderSize];
  stream.ReadBuffer(fileHeader, sizeof fileHeader, "TBitmap.LoadFromStream");
  // The file header gives the image's length; without one the image may run to the end.
  const uint32_t fileSize = ReadU32(fileHeader + 2);
  const auto available = static_cast<uint64_t>(stream.Remaining()) + FileHeaderSize;
  const auto length =
      static_cast<size_t>(fileSize != 0 ? std::min<uint64_t>(fileSize, available) : available);
  std::vector<uint8_t> image(std::max(length, FileHeaderSize));
  std::memcpy(image.data(), fileHeader, FileHeaderSize);
  stream.ReadBuffer(image.data() + FileHeaderSize, image.size() - FileHeaderSize, "TBitmap.LoadFromStream");
  const size_t used = LoadFromBmp(image.data(), image.size());
  stream.SetPosition(start + static_cast<int64_t>(used));
}

void TBitmap::SaveToStream(TStream& stream) const {
  std::vector<uint8_t> image;
  SaveToBmp(image);
  stream.Write(image.data(), image.size());
}

void TBitmap::LoadFromFile(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  {
    TFileStream file(path, TFileMode::OpenRead);
    bytes.resize(static_cast<size_t>(file.Size()));
    file.ReadBuffer(bytes.data(), bytes.size(), "TBitmap.LoadFromFile");
  }
  try {
    const bool png = bytes.size() >= sizeof PngSignature &&
                     std::equal(std::begin(PngSignature), std::end(PngSignature), bytes.begin());
    if (png) {
      LoadFromPng(bytes.data(), bytes.size());
    } else {
      LoadFromBmp(bytes.data(), bytes.size());
    }
  } catch (const EVellmarError& e) {
    throw EVellmarError("TBitmap.LoadFromFile: " + path.string() + ": " + e.what());
  }
}

void TBitmap::SaveToFile(const std::filesystem::path& path) const {
  std::vector<uint8_t> image;
  SaveToBmp(image);
  TAtomicFile file(path);
  file.Stream().Write(image.data(), image.size());
  file.Commit();
}

}  // namespace vellmar
