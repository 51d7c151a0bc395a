#include "underlay/SubLayerWriter.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/Stream.h"
#include "underlay/AreaResampler.h"
#include "underlay/PictureRows.h"
#include "underlay/SubLayerFile.h"
#include "underlay/TileBandCoder.h"

namespace vellmar {

namespace {

constexpr int kLevelCount = static_cast<int>(kSubLayerLevels.size());
constexpr int kRowsPerRead = 16;  // picture rows read at a time
// Bands coded or waiting to be written while the next ones fill: enough to keep every
// worker busy, few enough that memory stays a handful of tile rows.
constexpr size_t kBandsInFlight = 2;
// Every tile's offset is held until the end (about 32 bytes a tile with the header
// made from them), so a picture's declared size may not ask for more tiles than this
// (at level 1 some 800 gigapixels) before a row is read.
constexpr int64_t kMostTiles = int64_t{1} << 24;
// The tile tables are written as zeros first, this many bytes at a time.
constexpr size_t kZeroChunk = size_t{1} << 16;

void PutLE(std::vector<uint8_t>& out, int64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
}

// Where one coded tile of a coarser level waits in the spool.
struct TSpooled {
  int64_t offset;
  int64_t size;
};

// One level's tile rows being filled, coded and written.
struct TLevelBands {
  int columns = 0;
  int rows = 0;
  size_t stride = 0;  // bytes per pixel row of a band
  std::vector<uint8_t> filling;
  int bandsSubmitted = 0;
  std::vector<std::vector<uint8_t>> spare;
  std::optional<TAreaResampler> resampler;  // none for level 1, which is the canvas itself
  std::vector<int64_t> table;               // level 1: file offsets of the tiles written
  std::vector<TSpooled> spooled;            // coarser levels: the tiles in the spool
};

struct TPendingBand {
  int level;
  std::vector<uint8_t> pixels;
  std::shared_ptr<TTileBandCoder::TBand> band;
};

class TPyramidBuilder {
 public:
  TPyramidBuilder(TPictureRows& rows, const std::array<TSubLayerGrid, 4>& grids, TStream& out,
                  const TSubLayerWriteOptions& options)
      : picture_(rows),
        out_(out),
        spool_(options.Spool ? *options.Spool : memorySpool_),
        progress_(options.Progress) {
    canvasWidth_ = grids[0].Columns * kSubLayerTileSize;
    canvasHeight_ = grids[0].Rows * kSubLayerTileSize;
    for (int i = 0; i < kLevelCount; ++i) {
      TLevelBands& level = levels_[i];
      level.columns = grids[i].Columns;
      level.rows = grids[i].Rows;
      level.stride = static_cast<size_t>(level.columns) * kSubLayerTileSize * 3;
      level.filling.resize(level.stride * kSubLayerTileSize);
      if (i > 0) {
        level.resampler.emplace(canvasWidth_, canvasHeight_, level.columns * kSubLayerTileSize,
                                level.rows * kSubLayerTileSize);
      }
      total_ += level.columns * level.rows;
    }
    // Made last, so that on the way out its workers stop before the bands they read go.
    coder_.emplace(options.Threads);
  }

  void Build() {
    // Header and tables first, filled in once the tile offsets are known.
    position_ = kSubLayerHeaderSize + int64_t{total_} * 8;
    out_.SetPosition(0);
    const std::vector<uint8_t> zeros(kZeroChunk);
    for (int64_t left = position_; left > 0; left -= static_cast<int64_t>(kZeroChunk))
      out_.Write(zeros.data(), static_cast<size_t>(std::min<int64_t>(left, kZeroChunk)));
    spool_.SetPosition(0);

    TLevelBands& canvas = levels_[0];
    const size_t pictureBytes = size_t{3} * picture_.Width();
    for (int y = 0; y < canvasHeight_; y += kRowsPerRead) {
      const int band = y % kSubLayerTileSize;
      const int count = std::min(kRowsPerRead, kSubLayerTileSize - band);
      uint8_t* first = canvas.filling.data() + band * canvas.stride;
      const int pictureRows = std::clamp(picture_.Height() - y, 0, count);
      if (pictureRows > 0) picture_.ReadRows(first, static_cast<std::ptrdiff_t>(canvas.stride), pictureRows);
      for (int i = 0; i < count; ++i) {
        uint8_t* row = first + i * canvas.stride;
        // White beyond the picture's right and bottom edges.
        std::fill(row + (i < pictureRows ? pictureBytes : 0), row + canvas.stride, uint8_t{255});
        for (int level = 1; level < kLevelCount; ++level) Resample(level, row);
      }
      if (band + count == kSubLayerTileSize) Submit(0);
    }
    for (int level = 1; level < kLevelCount; ++level) Submit(level);  // each level's last band
    while (!pending_.empty()) WriteOldest();
    AppendSpool();
    WriteHeader();
  }

 private:
  uint8_t* Target(int level, int row) {
    TLevelBands& bands = levels_[level];
    // A band is handed on when the row after its last is wanted.
    if (row / kSubLayerTileSize > bands.bandsSubmitted) Submit(level);
    return bands.filling.data() + (row % kSubLayerTileSize) * bands.stride;
  }

  void Resample(int level, const uint8_t* row) {
    levels_[level].resampler->Push(row, [&](int y) { return Target(level, y); });
  }

  void Submit(int level) {
    TLevelBands& bands = levels_[level];
    TPendingBand pending{level, std::move(bands.filling), nullptr};
    pending.band =
        coder_->Submit(pending.pixels.data(), static_cast<std::ptrdiff_t>(bands.stride), bands.columns);
    ++bands.bandsSubmitted;
    pending_.push_back(std::move(pending));
    if (!bands.spare.empty()) {
      bands.filling = std::move(bands.spare.back());
      bands.spare.pop_back();
    } else {
      bands.filling.resize(bands.stride * kSubLayerTileSize);
    }
    while (pending_.size() > kBandsInFlight) WriteOldest();
  }

  // Bands are written in the order they were submitted, so each level's tiles come
  // in row-major order.
  void WriteOldest() {
    TPendingBand pending = std::move(pending_.front());
    pending_.pop_front();
    const TTileBandCoder::TTiles tiles = coder_->Take(*pending.band);
    TLevelBands& bands = levels_[pending.level];
    for (const std::vector<uint8_t>& tile : tiles) {
      const auto size = static_cast<int64_t>(tile.size());
      if (pending.level == 0) {
        out_.Write(tile.data(), tile.size());
        bands.table.push_back(position_);
        position_ += size;
      } else {
        bands.spooled.push_back({spool_.Position(), size});
        spool_.Write(tile.data(), tile.size());
      }
    }
    bands.spare.push_back(std::move(pending.pixels));
    done_ += static_cast<int>(tiles.size());
    if (progress_) progress_(done_, total_);
  }

  void AppendSpool() {
    std::vector<uint8_t> tile;
    for (int level = 1; level < kLevelCount; ++level) {
      TLevelBands& bands = levels_[level];
      for (const TSpooled& spooled : bands.spooled) {
        tile.resize(static_cast<size_t>(spooled.size));
        spool_.SetPosition(spooled.offset);
        spool_.ReadBuffer(tile.data(), tile.size(), "TSubLayerWriter.Write");
        out_.Write(tile.data(), tile.size());
        bands.table.push_back(position_);
        position_ += spooled.size;
      }
    }
  }

  void WriteHeader() {
    std::vector<uint8_t> head;
    int64_t tableOffset = kSubLayerHeaderSize;
    for (const TLevelBands& bands : levels_) {
      PutLE(head, tableOffset, 8);
      PutLE(head, static_cast<int64_t>(bands.table.size()) * 8, 8);
      PutLE(head, bands.columns, 4);
      PutLE(head, bands.rows, 4);
      tableOffset += static_cast<int64_t>(bands.table.size()) * 8;
    }
    for (const TLevelBands& bands : levels_) {
      for (const int64_t offset : bands.table) PutLE(head, offset, 8);
    }
    out_.SetPosition(0);
    out_.Write(head.data(), head.size());
  }

  TPictureRows& picture_;
  TStream& out_;
  TMemoryStream memorySpool_;
  TStream& spool_;
  TSubLayerProgress progress_;
  int canvasWidth_ = 0;
  int canvasHeight_ = 0;
  int total_ = 0;
  int done_ = 0;
  int64_t position_ = 0;
  std::array<TLevelBands, kLevelCount> levels_;
  std::deque<TPendingBand> pending_;
  std::optional<TTileBandCoder> coder_;
};

std::array<TSubLayerGrid, 4> GridsOf(const TPictureRows& rows) {
  if (rows.Width() <= 0 || rows.Height() <= 0)
    throw EVellmarError("TSubLayerWriter.Create: the picture is empty");
  // Rounded up without adding first: a side near 2^31 pixels must not overflow.
  const auto tilesAcross = [](int pixels) {
    return pixels / kSubLayerTileSize + (pixels % kSubLayerTileSize != 0 ? 1 : 0);
  };
  const int columns = tilesAcross(rows.Width());
  const int rowCount = tilesAcross(rows.Height());
  std::array<TSubLayerGrid, 4> grids{};
  int64_t tiles = 0;
  for (size_t i = 0; i < grids.size(); ++i) {
    const int n = kSubLayerLevels[i];
    grids[i] = {(columns + n - 1) / n, (rowCount + n - 1) / n};
    tiles += int64_t{grids[i].Columns} * grids[i].Rows;
  }
  if (tiles > kMostTiles) {
    std::string what = "TSubLayerWriter.Create: ";
    what += std::to_string(rows.Width()) + " x " + std::to_string(rows.Height());
    what += " pixels make " + std::to_string(tiles) + " tiles, more than the ";
    what += std::to_string(kMostTiles) + " a file is written with";
    throw EVellmarError(what);
  }
  return grids;
}

}  // namespace

TSubLayerWriter::TSubLayerWriter(const TBgrPicture& picture)
    : ownRows_(std::make_unique<TBgrPictureRows>(picture)), rows_(*ownRows_), grids_(GridsOf(rows_)) {}

TSubLayerWriter::TSubLayerWriter(TPictureRows& rows) : rows_(rows), grids_(GridsOf(rows_)) {}

TSubLayerWriter::~TSubLayerWriter() = default;

void TSubLayerWriter::Write(TStream& out, const TSubLayerWriteOptions& options) {
  if (written_) throw EVellmarError("TSubLayerWriter.Write: the picture has been read already");
  written_ = true;
  TPyramidBuilder(rows_, grids_, out, options).Build();
}

}  // namespace vellmar
