#pragma once
// One coarser pyramid level made while the picture streams past. Canvas rows (the
// picture on the white level-1 grid, 3 bytes B, G, R per pixel) go in top to bottom;
// each row of the level comes out as soon as the last canvas row it covers has gone
// in. Every output pixel is the area-weighted mean of the canvas pixels under it,
// summed in canvas order, so the level's bytes do not depend on how the picture is
// cut into bands. The resampler owns only its sums; output rows go where the caller
// says.

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace vellmar {

class TAreaResampler {
 public:
  // Gives the place of output row y (width·3 bytes).
  using TRowTarget = std::function<uint8_t*(int y)>;

  // A canvas of canvasWidth × canvasHeight down to width × height (not larger).
  TAreaResampler(int canvasWidth, int canvasHeight, int width, int height);

  // Adds the next canvas row (canvasWidth·3 bytes) and writes every output row it
  // completes.
  void Push(const uint8_t* canvasRow, const TRowTarget& target);

 private:
  // The input pixels first … first + count − 1 under one output pixel along one axis,
  // with their weights from index `weights` of the axis's weight list.
  struct TSpan {
    int first;
    int count;
    size_t weights;  // index of the first weight in the span's weight list
  };
  struct TSpans {
    std::vector<TSpan> spans;
    std::vector<double> weights;
  };
  static TSpans AreaSpans(int count, int limit);

  int width_;
  int height_;
  double area_;
  TSpans columns_;
  TSpans rows_;
  int nextCanvasRow_ = 0;
  int nextRow_ = 0;
  std::vector<double> filtered_;          // the latest canvas row, narrowed to width_
  std::deque<std::vector<double>> sums_;  // output rows nextRow_, nextRow_ + 1, … being summed
  std::vector<std::vector<double>> spare_;
};

}  // namespace vellmar
