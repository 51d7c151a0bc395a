// Before the sweep: the points centred, passages through a shared point moved into
// their corners, and ties on X or Y shifted apart.
#include "render/DxTesselator3.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/DxTesselator3Arithmetic.h"

namespace vellmar {

using namespace tesselator;

namespace {

// Tie-breaking step as a share of the extent, and how close counts as a tie. The
// sweep works in double, so the step can lie far below the resolution of the
// single-precision input, and even a long run of ties distorts the outline little.
constexpr double TieStep = 1e-9;
constexpr double TieShare = 15.0 / 16.0;

// How far a passage through a shared point moves into its corner, as a share of the
// extent per passage there: well above the tie-breaking steps of the passages.
constexpr double TouchDepth = 8.0 * TieStep;

// Touching is judged on single-precision input carried in double: far below its resolution.
constexpr double TouchShare = 1e-9;

// A fixed pseudo-random number in [-1, 1) for the i-th vertex (splitmix64), so that
// runs repeat exactly.
double Jitter(uint64_t i, uint64_t salt) {
  uint64_t z = i * 2 + salt + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
}

}  // namespace

// Rings that pass through one point (holes touching at a corner, an outline back
// through one of its own vertices) would be pulled apart by the tie-breaking along
// one line, so that corners which only touch end up crossing in a fan of tiny
// crossings. Instead every passage first moves into its own corner, along the
// bisector to a small depth from both of its edges: corners that only touch stay
// apart. The result refers to the caller's points, so the move leaves no trace.
bool TDxTesselator3::SeparateTouchingPoints(double extent) {
  struct TMove {
    TVertex* Vertex;
    double X;
    double Y;
  };
  std::vector<TMove> moves;
  for (size_t i = 0; i < XSorted.size();) {
    const TVertex& p = *XSorted[i]->Point;
    size_t end = i + 1;
    while (end < XSorted.size() && XSorted[end]->Point->X == p.X && XSorted[end]->Point->Y == p.Y) ++end;
    const double depth = TouchDepth * extent * static_cast<double>(end - i + 1);
    for (size_t k = i; end - i >= 2 && k < end; ++k) {
      const TNode* node = XSorted[k];
      const TVertex& a = *node->Prev->Point;
      const TVertex& b = *node->Next->Point;
      const double la = Length(a.X - p.X, a.Y - p.Y);
      const double lb = Length(b.X - p.X, b.Y - p.Y);
      const double ax = (a.X - p.X) / la;
      const double ay = (a.Y - p.Y) / la;
      const double bx = (b.X - p.X) / lb;
      const double by = (b.Y - p.Y) / lb;
      double dx = ax + bx;
      double dy = ay + by;
      double length = Length(dx, dy);
      if (length < 1e-12) {  // a straight passage: either side will do
        dx = -by;
        dy = bx;
        length = 1.0;
      }
      const double sinHalf = Length(ax - bx, ay - by) / 2;
      const double distance = std::min(depth / std::max(sinHalf, 1e-12), 0.25 * std::min(la, lb));
      moves.push_back(TMove{node->Point, dx / length * distance, dy / length * distance});
    }
    i = end;
  }
  for (const TMove& move : moves) {
    move.Vertex->X += move.X;
    move.Vertex->Y += move.Y;
  }
  return !moves.empty();
}

void TDxTesselator3::Prepare() {
  const double xMin = XSorted.front()->Point->X;
  const double xMax = XSorted.back()->Point->X;
  const double yMin = YSorted.front()->Point->Y;
  const double yMax = YSorted.back()->Point->Y;
  Centre = TXYZ{static_cast<float>((xMin + xMax) / 2), static_cast<float>((yMin + yMax) / 2), 0.0f};
  TouchTolerance = std::max(xMax - xMin, yMax - yMin) * TouchShare;
  for (TNode* node : XSorted) {
    node->Point->X -= Centre.x;
    node->Point->Y -= Centre.y;
  }
  if (SeparateTouchingPoints(std::max(xMax - xMin, yMax - yMin))) SortByKeys(false);

  // Shift tied and nearly tied coordinates apart so that no two vertices share an X
  // (no vertical edges in the sweep) or a Y; every later vertex moves along so the
  // order stays as it was.
  const auto breakTies = [](const std::vector<TNode*>& list, double TVertex::*axis, uint64_t salt) {
    const double step = (list.back()->Point->*axis - list.front()->Point->*axis) * TieStep;
    int64_t shifts = 0;
    double previous = list.front()->Point->*axis;
    for (size_t i = 1; i < list.size(); ++i) {
      TVertex* vertex = list[i]->Point;
      if (vertex->*axis < previous + TieShare * step) ++shifts;
      if (shifts > 0) {
        const double shift = static_cast<double>(shifts) * step;
        vertex->*axis += shift;
      }
      previous = vertex->*axis;
    }
    // Neighbours are now at least 15/16 of a step apart, so a jitter of a quarter step
    // keeps the order while it takes points off lines through other points (a vertex
    // on another ring's edge, overlapping edges), which the sweep could not order.
    for (size_t i = 0; i < list.size(); ++i) {
      const double jitter = Jitter(i, salt) * step / 4;
      list[i]->Point->*axis += jitter;
    }
  };
  breakTies(XSorted, &TVertex::X, 0);
  breakTies(YSorted, &TVertex::Y, 1);
}

}  // namespace vellmar
