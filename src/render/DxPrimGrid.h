#pragma once
// A spatial index of a primitive collection: the primitives' centres sorted into square
// cells, built once for the collection's present layout, so that finding the primitives
// near a view touches only the cells near it instead of every primitive. Primitives
// larger than a cell, or with centres that are not finite numbers, are kept in a list
// of their own and always offered. The grid owns only its index arrays.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellmar {

struct TDxPrimBounds {
  float CentreX = 0.0f;
  float CentreY = 0.0f;
  float Radius = 0.0f;  // Manhattan radius around the centre
};

class TDxPrimGrid {
 public:
  // Indexes primitives 0 ... count - 1; boundsOf(i) gives primitive i's bounds.
  template <typename BoundsOf>
  void Build(size_t count, BoundsOf boundsOf);
  void Clear();
  // Primitives 0 ... IndexedCount() - 1 are in the index.
  size_t IndexedCount() const { return indexed_; }

  // How many primitives a query of the square reach around (x, y) offers: for choosing
  // between a query and a plain scan.
  size_t CandidateCount(double x, double y, double reach) const;
  // Calls visit(i) for every indexed primitive whose extent may reach into the square
  // of half side reach around (x, y), and maybe some others; in no particular order.
  template <typename Visit>
  void ForEachCandidate(double x, double y, double reach, Visit visit) const;

 private:
  struct TCellRange {
    size_t Col1, Col2, Row1, Row2;
    bool Empty;
  };
  void Layout(double minX, double minY, double maxX, double maxY, size_t count);
  // The cells a primitive centred in the square may lie in, widened by one cell side
  // for the primitives' own extent.
  TCellRange CellsNear(double x, double y, double reach) const;
  bool IsLarge(const TDxPrimBounds& b) const {
    return !(std::isfinite(b.CentreX) && std::isfinite(b.CentreY) && b.Radius <= cellSide_);
  }
  size_t CellOf(const TDxPrimBounds& b) const;

  size_t indexed_ = 0;
  double originX_ = 0.0;
  double originY_ = 0.0;
  double cellSide_ = 0.0;
  size_t cols_ = 0;
  size_t rows_ = 0;
  // Cell c holds items_[cellStart_[c] ... cellStart_[c + 1] - 1], ascending; cells in
  // rows, so the cells of one row's span are one stretch of items_.
  std::vector<uint32_t> cellStart_;
  std::vector<uint32_t> items_;
  std::vector<uint32_t> large_;
};

template <typename BoundsOf>
void TDxPrimGrid::Build(size_t count, BoundsOf boundsOf) {
  Clear();
  // The grid is sized by the centres of all finite primitives; the cell side bounds the
  // radius of those kept in cells.
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (size_t i = 0; i < count; ++i) {
    const TDxPrimBounds b = boundsOf(i);
    if (!std::isfinite(b.CentreX) || !std::isfinite(b.CentreY)) continue;
    minX = std::fmin(minX, b.CentreX);
    maxX = std::fmax(maxX, b.CentreX);
    minY = std::fmin(minY, b.CentreY);
    maxY = std::fmax(maxY, b.CentreY);
  }
  Layout(minX, minY, maxX, maxY, count);
  cellStart_.assign(cols_ * rows_ + 1, 0);
  for (size_t i = 0; i < count; ++i) {
    const TDxPrimBounds b = boundsOf(i);
    if (!IsLarge(b)) ++cellStart_[CellOf(b) + 1];
  }
  for (size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  items_.resize(cellStart_.back());
  std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  for (size_t i = 0; i < count; ++i) {
    const TDxPrimBounds b = boundsOf(i);
    if (IsLarge(b))
      large_.push_back(static_cast<uint32_t>(i));
    else
      items_[next[CellOf(b)]++] = static_cast<uint32_t>(i);
  }
  indexed_ = count;
}

template <typename Visit>
void TDxPrimGrid::ForEachCandidate(double x, double y, double reach, Visit visit) const {
  for (const uint32_t i : large_) visit(i);
  const TCellRange r = CellsNear(x, y, reach);
  if (r.Empty) return;
  for (size_t row = r.Row1; row <= r.Row2; ++row) {
    const uint32_t end = cellStart_[row * cols_ + r.Col2 + 1];
    for (uint32_t k = cellStart_[row * cols_ + r.Col1]; k < end; ++k) visit(items_[k]);
  }
}

}  // namespace vellmar
