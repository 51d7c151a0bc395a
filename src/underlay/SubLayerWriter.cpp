#include "underlay/SubLayerWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Error.h"
#include "platform/Stream.h"
#include "underlay/SubLayerFile.h"

namespace vellmar {

namespace {

constexpr double kPadding = 255.0;  // white, the colour the plan is drawn on

// One output pixel's share of the input pixels along one axis.
struct TSpan {
  int first;
  std::vector<double> weights;
};

// Output pixel i of count covers input [i·scale, (i + 1)·scale).
std::vector<TSpan> AreaSpans(int count, double scale) {
  std::vector<TSpan> spans(count);
  for (int i = 0; i < count; ++i) {
    const double a = i * scale;
    const double b = (i + 1) * scale;
    spans[i].first = static_cast<int>(std::floor(a));
    for (int s = spans[i].first; s < b; ++s)
      spans[i].weights.push_back(std::min<double>(s + 1, b) - std::max<double>(s, a));
  }
  return spans;
}

// The picture on a canvas of canvasWidth × canvasHeight (white beyond the picture),
// area-averaged down to width × height; 3 bytes B, G, R per pixel, top row first.
std::vector<uint8_t> Resample(const TBgrPicture& picture, int canvasWidth, int canvasHeight, int width,
                              int height) {
  const std::vector<TSpan> columns = AreaSpans(width, double(canvasWidth) / width);
  const std::vector<TSpan> rows = AreaSpans(height, double(canvasHeight) / height);
  const double area = double(canvasWidth) / width * (double(canvasHeight) / height);
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
  std::vector<double> filtered(static_cast<size_t>(width) * 3);
  std::vector<double> sum(filtered.size());
  int filteredRow = -1;
  for (int y = 0; y < height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0);
    for (size_t j = 0; j < rows[y].weights.size(); ++j) {
      const int source = rows[y].first + static_cast<int>(j);
      if (source != filteredRow) {
        filteredRow = source;
        const uint8_t* line = source < picture.height ? picture.row0 + source * picture.stride : nullptr;
        for (int x = 0; x < width; ++x) {
          double bgr[3] = {0.0, 0.0, 0.0};
          for (size_t i = 0; i < columns[x].weights.size(); ++i) {
            const int s = columns[x].first + static_cast<int>(i);
            const double w = columns[x].weights[i];
            for (int c = 0; c < 3; ++c)
              bgr[c] += w * (line && s < picture.width ? line[3 * s + c] : kPadding);
          }
          std::copy_n(bgr, 3, &filtered[3 * x]);
        }
      }
      for (size_t i = 0; i < sum.size(); ++i) sum[i] += rows[y].weights[j] * filtered[i];
    }
    uint8_t* target = &out[static_cast<size_t>(y) * width * 3];
    for (size_t i = 0; i < sum.size(); ++i)
      target[i] = static_cast<uint8_t>(std::clamp(std::nearbyint(sum[i] / area), 0.0, 255.0));
  }
  return out;
}

void PutLE(std::vector<uint8_t>& out, int64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
}

}  // namespace

TSubLayerWriter::TSubLayerWriter(const TBgrPicture& picture) : picture_(picture) {
  if (picture.width <= 0 || picture.height <= 0)
    throw EVellmarError("TSubLayerWriter.Create: the picture is empty");
  const int columns = (picture.width + kSubLayerTileSize - 1) / kSubLayerTileSize;
  const int rows = (picture.height + kSubLayerTileSize - 1) / kSubLayerTileSize;
  for (size_t i = 0; i < grids_.size(); ++i) {
    const int n = kSubLayerLevels[i];
    grids_[i] = {(columns + n - 1) / n, (rows + n - 1) / n};
  }
}

void TSubLayerWriter::Write(TStream& out, const TSubLayerProgress& progress) const {
  int total = 0;
  for (const TSubLayerGrid& grid : grids_) total += grid.Columns * grid.Rows;
  // Header and tables first, filled in once the tile offsets are known.
  std::vector<std::vector<int64_t>> tables(grids_.size());
  int64_t position = kSubLayerHeaderSize + int64_t{total} * 8;
  out.SetPosition(0);
  out.Write(std::vector<uint8_t>(static_cast<size_t>(position)).data(), static_cast<size_t>(position));

  const int canvasWidth = grids_[0].Columns * kSubLayerTileSize;
  const int canvasHeight = grids_[0].Rows * kSubLayerTileSize;
  TKolvexEncoder encoder(kSubLayerTileSize, kSubLayerTileSize, kSubLayerQuality);
  std::vector<uint8_t> tile;
  int done = 0;
  for (size_t level = 0; level < grids_.size(); ++level) {
    const TSubLayerGrid& grid = grids_[level];
    const int width = grid.Columns * kSubLayerTileSize;
    const std::vector<uint8_t> canvas =
        Resample(picture_, canvasWidth, canvasHeight, width, grid.Rows * kSubLayerTileSize);
    for (int r = 0; r < grid.Rows; ++r) {
      for (int c = 0; c < grid.Columns; ++c) {
        const size_t origin =
            (static_cast<size_t>(r) * kSubLayerTileSize * width + c * kSubLayerTileSize) * 3;
        tile.clear();
        encoder.PackImage({canvas.data() + origin, width * 3, kSubLayerTileSize, kSubLayerTileSize}, tile);
        out.Write(tile.data(), tile.size());
        tables[level].push_back(position);
        position += static_cast<int64_t>(tile.size());
        if (progress) progress(++done, total);
      }
    }
  }

  std::vector<uint8_t> head;
  int64_t tableOffset = kSubLayerHeaderSize;
  for (size_t level = 0; level < grids_.size(); ++level) {
    PutLE(head, tableOffset, 8);
    PutLE(head, static_cast<int64_t>(tables[level].size()) * 8, 8);
    PutLE(head, grids_[level].Columns, 4);
    PutLE(head, grids_[level].Rows, 4);
    tableOffset += static_cast<int64_t>(tables[level].size()) * 8;
  }
  for (const auto& table : tables) {
    for (const int64_t offset : table) PutLE(head, offset, 8);
  }
  out.SetPosition(0);
  out.Write(head.data(), head.size());
}

}  // namespace vellmar
