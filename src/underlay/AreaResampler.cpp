#include "underlay/AreaResampler.h"

#include <algorithm>
#include <cmath>

#include "platform/Error.h"
#include "underlay/RoundHalfEven.h"

namespace vellmar {

// Output pixel i of count covers input [i·scale, (i + 1)·scale), within [0, limit):
// a span's end rounded past the canvas edge does not reach beyond it.
TAreaResampler::TSpans TAreaResampler::AreaSpans(int count, int limit) {
  const double scale = double(limit) / count;
  TSpans result;
  result.spans.resize(count);
  for (int i = 0; i < count; ++i) {
    const double a = i * scale;
    const double b = (i + 1) * scale;
    TSpan& span = result.spans[i];
    span.first = static_cast<int>(std::floor(a));
    span.weights = result.weights.size();
    for (int s = span.first; s < b && s < limit; ++s)
      result.weights.push_back(std::min<double>(s + 1, b) - std::max<double>(s, a));
    span.count = static_cast<int>(result.weights.size() - span.weights);
  }
  return result;
}

TAreaResampler::TAreaResampler(int canvasWidth, int canvasHeight, int width, int height)
    : width_(width),
      height_(height),
      area_(double(canvasWidth) / width * (double(canvasHeight) / height)),
      columns_(AreaSpans(width, canvasWidth)),
      rows_(AreaSpans(height, canvasHeight)),
      filtered_(static_cast<size_t>(width) * 3) {
  if (width <= 0 || height <= 0 || width > canvasWidth || height > canvasHeight)
    throw EVellmarError("TAreaResampler.Create: the level must be a non-empty part of the canvas size");
}

void TAreaResampler::Push(const uint8_t* canvasRow, const TRowTarget& target) {
  const int s = nextCanvasRow_++;
  for (int x = 0; x < width_; ++x) {
    const TSpan& span = columns_.spans[x];
    double bgr[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < span.count; ++i) {
      const uint8_t* pixel = canvasRow + 3 * (span.first + i);
      const double w = columns_.weights[span.weights + i];
      for (int c = 0; c < 3; ++c) bgr[c] += w * pixel[c];
    }
    std::copy_n(bgr, 3, &filtered_[3 * x]);
  }
  // Every output row whose span takes in this canvas row gets its share, in row order.
  for (int y = nextRow_; y < height_ && rows_.spans[y].first <= s; ++y) {
    const TSpan& span = rows_.spans[y];
    if (s >= span.first + span.count) continue;
    const size_t pending = static_cast<size_t>(y - nextRow_);
    while (sums_.size() <= pending) {
      if (spare_.empty()) spare_.emplace_back(filtered_.size());
      sums_.push_back(std::move(spare_.back()));
      spare_.pop_back();
      std::fill(sums_.back().begin(), sums_.back().end(), 0.0);
    }
    std::vector<double>& sum = sums_[pending];
    const double w = rows_.weights[span.weights + static_cast<size_t>(s - span.first)];
    for (size_t i = 0; i < sum.size(); ++i) sum[i] += w * filtered_[i];
  }
  while (nextRow_ < height_ && rows_.spans[nextRow_].first + rows_.spans[nextRow_].count <= s + 1) {
    uint8_t* out = target(nextRow_);
    const std::vector<double>& sum = sums_.front();
    for (size_t i = 0; i < sum.size(); ++i)
      out[i] = static_cast<uint8_t>(std::min(RoundHalfEven(sum[i] / area_), 255.0));  // sums of samples ≥ 0
    spare_.push_back(std::move(sums_.front()));
    sums_.pop_front();
    ++nextRow_;
  }
}

}  // namespace vellmar
