#include "render/DxPrimGrid.h"

#include <algorithm>

namespace vellmar {

namespace {

// About this many primitives per cell on average, and at most this many cells a side.
constexpr double kPrimsPerCell = 8.0;
constexpr double kMaxCellsPerSide = 2048.0;

}  // namespace

void TDxPrimGrid::Clear() {
  indexed_ = 0;
  cols_ = rows_ = 0;
  cellStart_.clear();
  items_.clear();
  large_.clear();
}

void TDxPrimGrid::Layout(double minX, double minY, double maxX, double maxY, size_t count) {
  if (!(minX <= maxX)) minX = maxX = minY = maxY = 0.0;  // no finite centre at all
  const double width = std::max(maxX - minX, 1e-3);
  const double height = std::max(maxY - minY, 1e-3);
  const double cells = std::max(static_cast<double>(count) / kPrimsPerCell, 1.0);
  double side = std::sqrt(width * height / cells);
  // A street along one line would otherwise get cells far smaller than its length needs.
  side = std::max({side, width / kMaxCellsPerSide, height / kMaxCellsPerSide});
  side = std::min(side, std::max(width, height));
  originX_ = minX;
  originY_ = minY;
  cellSide_ = side;
  cols_ = static_cast<size_t>(width / side) + 1;
  rows_ = static_cast<size_t>(height / side) + 1;
}

size_t TDxPrimGrid::CellOf(const TDxPrimBounds& b) const {
  const auto col = std::min(static_cast<size_t>((b.CentreX - originX_) / cellSide_), cols_ - 1);
  const auto row = std::min(static_cast<size_t>((b.CentreY - originY_) / cellSide_), rows_ - 1);
  return row * cols_ + col;
}

TDxPrimGrid::TCellRange TDxPrimGrid::CellsNear(double x, double y, double reach) const {
  TCellRange r{0, 0, 0, 0, true};
  if (cols_ == 0) return r;
  reach += cellSide_;
  const double c1 = std::floor((x - reach - originX_) / cellSide_);
  const double c2 = std::floor((x + reach - originX_) / cellSide_);
  const double r1 = std::floor((y - reach - originY_) / cellSide_);
  const double r2 = std::floor((y + reach - originY_) / cellSide_);
  // NaN bounds fail every comparison and leave the range empty.
  if (!(c2 >= 0 && r2 >= 0 && c1 < static_cast<double>(cols_) && r1 < static_cast<double>(rows_))) return r;
  r.Col1 = static_cast<size_t>(std::max(c1, 0.0));
  r.Row1 = static_cast<size_t>(std::max(r1, 0.0));
  r.Col2 = static_cast<size_t>(std::min(c2, static_cast<double>(cols_ - 1)));
  r.Row2 = static_cast<size_t>(std::min(r2, static_cast<double>(rows_ - 1)));
  r.Empty = false;
  return r;
}

size_t TDxPrimGrid::CandidateCount(double x, double y, double reach) const {
  size_t total = large_.size();
  const TCellRange r = CellsNear(x, y, reach);
  if (r.Empty) return total;
  for (size_t row = r.Row1; row <= r.Row2; ++row)
    total += cellStart_[row * cols_ + r.Col2 + 1] - cellStart_[row * cols_ + r.Col1];
  return total;
}

}  // namespace vellmar
