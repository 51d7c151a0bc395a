#include "underlay/SubLayerFile.h"

#include <string>

#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

int64_t ReadLE(const uint8_t* bytes, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return count == 4 ? static_cast<int32_t>(value) : static_cast<int64_t>(value);
}

[[noreturn]] void Fail(const std::string& what) {
  throw EVellmarError("TSubLayerFile.Create: " + what);
}

}  // namespace

TSubLayerFile::TSubLayerFile(const std::filesystem::path& fileName)
    : TSubLayerFile(std::make_unique<TFileStream>(fileName, TFileMode::OpenRead)) {
  fileName_ = fileName;
}

TSubLayerFile::TSubLayerFile(std::unique_ptr<TStream> stream)
    : stream_(std::move(stream)),
      coder_(kSubLayerTileSize, kSubLayerTileSize, kSubLayerQuality),
      image_(coder_.ImageSize()) {
  ReadHeader();
}

TSubLayerFile::~TSubLayerFile() = default;

void TSubLayerFile::ReadHeader() {
  uint8_t header[kSubLayerHeaderSize];
  stream_->SetPosition(0);
  stream_->ReadBuffer(header, sizeof header, "TSubLayerFile.Create");
  const int64_t fileSize = stream_->Size();
  for (size_t i = 0; i < levels_.size(); ++i) {
    const uint8_t* d = header + 24 * i;
    TSubLayerLevel& level = levels_[i];
    level = {ReadLE(d, 8), ReadLE(d + 8, 8), static_cast<int32_t>(ReadLE(d + 16, 4)),
             static_cast<int32_t>(ReadLE(d + 20, 4))};
    const std::string name = "level " + std::to_string(kSubLayerLevels[i]);
    // A table must lie inside the file: a damaged size would otherwise reserve
    // memory the file cannot back.
    if (level.TableOffset < 0 || level.TableSize < 0 || level.TableOffset > fileSize ||
        level.TableSize > fileSize - level.TableOffset) {
      Fail("tile table of " + name + " lies outside the file");
    }
    if (level.Columns < 0 || level.Rows < 0) Fail("negative tile count at " + name);
    std::vector<uint8_t> bytes(static_cast<size_t>(level.TableSize / 8) * 8);
    stream_->SetPosition(level.TableOffset);
    stream_->ReadBuffer(bytes.data(), bytes.size(), "TSubLayerFile.Create");
    tables_[i].resize(bytes.size() / 8);
    for (size_t t = 0; t < tables_[i].size(); ++t) tables_[i][t] = ReadLE(&bytes[8 * t], 8);
  }
}

int TSubLayerFile::LevelIndex(int level) const {
  for (size_t i = 0; i < kSubLayerLevels.size(); ++i) {
    if (kSubLayerLevels[i] == level) return static_cast<int>(i);
  }
  return -1;
}

const TSubLayerLevel& TSubLayerFile::Level(int level) const {
  static const TSubLayerLevel none{};
  const int index = LevelIndex(level);
  return index < 0 ? none : levels_[index];
}

const std::vector<int64_t>& TSubLayerFile::TileTable(int level) const {
  static const std::vector<int64_t> none;
  const int index = LevelIndex(level);
  return index < 0 ? none : tables_[index];
}

bool TSubLayerFile::DecodeTile(int level, int column, TBitmap& bitmap, int row) {
  const int index = LevelIndex(level);
  if (index < 0) return false;
  const int64_t tile = column + int64_t{row} * levels_[index].Columns;
  if (tile < 0 || tile >= static_cast<int64_t>(tables_[index].size())) return false;
  const int64_t offset = tables_[index][tile];
  if (offset < 0 || offset > stream_->Size()) {
    throw EVellmarError("TSubLayerFile.DecodeTile: tile offset outside the file");
  }
  stream_->SetPosition(offset);
  coder_.UnPackImage(image_, *stream_);
  coder_.YCbCrToBitmap(bitmap, image_);
  return true;
}

}  // namespace vellmar
