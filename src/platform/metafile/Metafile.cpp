#include "platform/metafile/Metafile.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "platform/Error.h"
#include "platform/metafile/MetafileRecordTypes.h"
#include "platform/FileStream.h"
#include "platform/Stream.h"

namespace vellmar {

namespace {

static_assert(std::endian::native == std::endian::little, "metafile fields are read in place");

constexpr char kLoad[] = "TMetafile.LoadFromStream";
constexpr uint16_t kWindowsHeaderWords = 9;
constexpr int64_t kHundredthMmPerInch = 2540;
constexpr int64_t kPixelsPerInch = 96;

[[noreturn]] void Fail(const std::string& what) {
  throw EVellmarError(std::string(kLoad) + ": " + what);
}

template <class T>
T Field(const uint8_t* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

std::string Hex(uint32_t value) {
  char text[8];
  const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  return "0x" + std::string(text, end);
}

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

int64_t HundredthMmToPixels(int64_t mm) {
  return (mm * kPixelsPerInch + kHundredthMmPerInch / 2) / kHundredthMmPerInch;
}

int64_t PixelsToHundredthMm(int64_t pixels) {
  return (pixels * kHundredthMmPerInch + kPixelsPerInch / 2) / kPixelsPerInch;
}

// One axis of an enhanced metafile in 0.01 mm: the frame's extent, or - for an empty
// or inverted frame - the drawn pixel box through the recording device's resolution
// (96 dpi when the header gives none).
int64_t EnhancedAxis(const uint8_t* header, std::size_t low, std::size_t deviceOffset) {
  const int64_t frame = int64_t{Field<int32_t>(header, 24 + low + 8)} - Field<int32_t>(header, 24 + low);
  if (frame > 0) return frame;
  const int64_t drawn = int64_t{Field<int32_t>(header, 8 + low + 8)} - Field<int32_t>(header, 8 + low) + 1;
  if (drawn <= 0) return 0;
  const int64_t devicePixels = Field<int32_t>(header, 72 + deviceOffset);
  const int64_t deviceMm = Field<int32_t>(header, 80 + deviceOffset);
  if (devicePixels <= 0 || deviceMm <= 0) return PixelsToHundredthMm(drawn);
  // In double: a damaged header's pixels times millimetres overflows 64 bits.
  const double mm =
      static_cast<double>(drawn) * static_cast<double>(deviceMm) * 100 / static_cast<double>(devicePixels);
  return mm < std::numeric_limits<int32_t>::max() ? static_cast<int64_t>(mm)
                                                  : std::numeric_limits<int32_t>::max();
}

// The length of a Windows metafile from its 18-byte header, checked to be one.
uint64_t WindowsLength(const uint8_t* header) {
  const uint16_t type = Field<uint16_t>(header, 0);
  const uint16_t headerWords = Field<uint16_t>(header, 2);
  if ((type != 1 && type != 2) || headerWords != kWindowsHeaderWords) {
    Fail("Windows metafile header of type " + std::to_string(type) + " and " + std::to_string(headerWords) +
         " words is not one");
  }
  const uint64_t length = uint64_t{Field<uint32_t>(header, 6)} * 2;
  if (length < TMetafile::kWindowsHeaderSize) {
    Fail("Windows metafile of " + std::to_string(length) + " bytes is shorter than its header");
  }
  return length;
}

void CheckFits(uint64_t length, uint64_t have, const TStream& stream) {
  const uint64_t left = static_cast<uint64_t>(stream.Remaining());
  if (length - have > left) {
    Fail("metafile of " + std::to_string(length) + " bytes runs past the stream (" +
         std::to_string(have + left) + " bytes left)");
  }
}

// Windows metafile records from offset to end: int32 size in words, function number.
std::vector<TMetafileRecord> WindowsRecords(std::span<const uint8_t> bytes, std::size_t offset) {
  std::vector<TMetafileRecord> records;
  while (bytes.size() - offset >= 6) {
    const uint64_t size = uint64_t{Field<uint32_t>(bytes.data(), offset)} * 2;
    if (size < 6 || size > bytes.size() - offset) break;
    const uint16_t function = Field<uint16_t>(bytes.data(), offset + 4);
    records.push_back({function, bytes.subspan(offset, size)});
    offset += size;
    if (function == wmf::kEof) break;
  }
  return records;
}

}  // namespace

void TMetafile::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes(kEnhancedHeaderSize);
  stream.ReadBuffer(bytes.data(), 4, kLoad);
  const uint32_t key = Field<uint32_t>(bytes.data(), 0);
  TMetafile loaded;
  uint64_t length = 0;
  if (key == emr::kHeader) {
    loaded.format_ = TMetafileFormat::Enhanced;
    stream.ReadBuffer(bytes.data() + 4, kEnhancedHeaderSize - 4, kLoad);
    const uint32_t headerSize = Field<uint32_t>(bytes.data(), 4);
    const uint32_t signature = Field<uint32_t>(bytes.data(), 40);
    length = Field<uint32_t>(bytes.data(), 48);
    if (signature != kEnhancedSignature)
      Fail("enhanced metafile signature " + Hex(signature) + " is not \" EMF\"");
    if (headerSize < kEnhancedHeaderSize || headerSize > length) {
      Fail("enhanced metafile header of " + std::to_string(headerSize) + " bytes in a metafile of " +
           std::to_string(length));
    }
    loaded.mmWidth_ = Saturate(EnhancedAxis(bytes.data(), 0, 0));
    loaded.mmHeight_ = Saturate(EnhancedAxis(bytes.data(), 4, 4));
    loaded.width_ = Saturate(HundredthMmToPixels(loaded.mmWidth_));
    loaded.height_ = Saturate(HundredthMmToPixels(loaded.mmHeight_));
  } else if (key == kPlaceableKey) {
    loaded.format_ = TMetafileFormat::Placeable;
    const std::size_t headers = kPlaceableHeaderSize + kWindowsHeaderSize;
    bytes.resize(headers);
    stream.ReadBuffer(bytes.data() + 4, headers - 4, kLoad);
    length = kPlaceableHeaderSize + WindowsLength(bytes.data() + kPlaceableHeaderSize);
    const int64_t inch = Field<uint16_t>(bytes.data(), 14);
    if (inch > 0) {
      const int64_t units[] = {
          std::abs(int64_t{Field<int16_t>(bytes.data(), 10)} - Field<int16_t>(bytes.data(), 6)),
          std::abs(int64_t{Field<int16_t>(bytes.data(), 12)} - Field<int16_t>(bytes.data(), 8))};
      loaded.width_ = Saturate((units[0] * kPixelsPerInch + inch / 2) / inch);
      loaded.height_ = Saturate((units[1] * kPixelsPerInch + inch / 2) / inch);
      loaded.mmWidth_ = Saturate((units[0] * kHundredthMmPerInch + inch / 2) / inch);
      loaded.mmHeight_ = Saturate((units[1] * kHundredthMmPerInch + inch / 2) / inch);
    }
  } else if ((key & 0xFFFF0000u) == uint32_t{kWindowsHeaderWords} << 16) {
    loaded.format_ = TMetafileFormat::Windows;
    bytes.resize(kWindowsHeaderSize);
    stream.ReadBuffer(bytes.data() + 4, kWindowsHeaderSize - 4, kLoad);
    length = WindowsLength(bytes.data());
  } else {
    Fail("no metafile header (first bytes " + Hex(key) + ")");
  }

  const std::size_t have = bytes.size();
  CheckFits(length, have, stream);
  bytes.resize(static_cast<std::size_t>(length));
  stream.ReadBuffer(bytes.data() + have, bytes.size() - have, kLoad);
  loaded.bytes_ = std::move(bytes);

  if (loaded.format_ == TMetafileFormat::Windows) {
    for (const TMetafileRecord& record : loaded.Records()) {
      if (record.Type != wmf::kSetWindowExt || record.Bytes.size() < 10) continue;
      loaded.height_ = Saturate(std::abs(int64_t{Field<int16_t>(record.Bytes.data(), 6)}));
      loaded.width_ = Saturate(std::abs(int64_t{Field<int16_t>(record.Bytes.data(), 8)}));
      loaded.mmWidth_ = Saturate(PixelsToHundredthMm(loaded.width_));
      loaded.mmHeight_ = Saturate(PixelsToHundredthMm(loaded.height_));
      break;
    }
  }
  *this = std::move(loaded);
}

void TMetafile::SaveToStream(TStream& stream) const {
  if (!bytes_.empty()) stream.Write(bytes_.data(), bytes_.size());
}

void TMetafile::LoadFromFile(const std::filesystem::path& path) {
  TFileStream file(path, TFileMode::OpenRead);
  LoadFromStream(file);
}

void TMetafile::Clear() {
  *this = TMetafile();
}

std::vector<TMetafileRecord> TMetafile::Records() const {
  const std::span<const uint8_t> bytes(bytes_);
  switch (format_) {
    case TMetafileFormat::Empty:
      return {};
    case TMetafileFormat::Placeable:
      return WindowsRecords(bytes, kPlaceableHeaderSize + kWindowsHeaderSize);
    case TMetafileFormat::Windows:
      return WindowsRecords(bytes, kWindowsHeaderSize);
    case TMetafileFormat::Enhanced:
      break;
  }
  std::vector<TMetafileRecord> records;
  std::size_t offset = Field<uint32_t>(bytes.data(), 4);
  while (bytes.size() - offset >= 8) {
    const uint32_t type = Field<uint32_t>(bytes.data(), offset);
    const uint32_t size = Field<uint32_t>(bytes.data(), offset + 4);
    if (size < 8 || size > bytes.size() - offset) break;
    records.push_back({type, bytes.subspan(offset, size)});
    offset += size;
    if (type == emr::kEof) break;
  }
  return records;
}

}  // namespace vellmar
