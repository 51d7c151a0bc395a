#include "render/DxTesselator3.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "geometry/Planar.h"
#include "platform/Error.h"

namespace vellmar {

namespace {

// Ids of input points are contour << 32 | index, so neither a long contour nor many
// contours can make two vertices share an Id; crossings count down from -1.
constexpr int64_t ContourIdStep = int64_t{1} << 32;
constexpr int64_t CrossingSecondId = int64_t{1} << 40;

// Tie-breaking step as a share of the extent, and how close counts as a tie. The
// sweep works in double, so the step can lie far below the resolution of the
// single-precision input, and even a long run of ties distorts the outline little.
constexpr double TieStep = 1e-9;
constexpr double TieShare = 15.0 / 16.0;

// How far a passage through a shared point moves into its corner, as a share of the
// extent per passage there: well above the tie-breaking steps of the passages.
constexpr double TouchDepth = 8.0 * TieStep;

// Parameter slack when the crossing is recomputed on the unshifted points.
constexpr double CrossingSlack = 1e-6;

int32_t Sign(double value) {
  return value > 0.0 ? 1 : (value < 0.0 ? -1 : 0);
}

// The sweep's own planar predicates: the geometry kernel works on single-precision
// points, the sweep on its double working coordinates.
template <typename P>
double Cross(const P& a, const P& b, const P& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
}

// Height of the line p-q at x; exact at the endpoints.
template <typename P>
double HeightAt(const P& p, const P& q, double x) {
  if (x == p.X) return p.Y;
  if (x == q.X) return q.Y;
  return p.Y + (q.Y - p.Y) * (x - p.X) / (q.X - p.X);
}

template <typename P>
double SlopeOf(const P& p, const P& q) {
  return (q.Y - p.Y) / (q.X - p.X);
}

struct TCrossing {
  double t = 0.0;  // along a->b
  double u = 0.0;  // along c->d
};

// Crossing of the lines a->b and c->d; none when they are exactly parallel.
template <typename P>
std::optional<TCrossing> LineCrossing(const P& a, const P& b, const P& c, const P& d) {
  const double e = (b.X - a.X) * (d.Y - c.Y) - (b.Y - a.Y) * (d.X - c.X);
  if (e == 0.0) return std::nullopt;
  const double acx = c.X - a.X;
  const double acy = c.Y - a.Y;
  return TCrossing{((d.Y - c.Y) * acx - (d.X - c.X) * acy) / e, ((b.Y - a.Y) * acx - (b.X - a.X) * acy) / e};
}

// A vertex where it was before the tie-breaking shifts (still centred).
struct TUnshifted {
  double X = 0.0;
  double Y = 0.0;
};

TUnshifted Lerp(const TUnshifted& a, const TUnshifted& b, double t) {
  return TUnshifted{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
}

double Length(double dx, double dy) {
  return std::sqrt(dx * dx + dy * dy);
}

double DistanceToSegment(const TUnshifted& p, const TUnshifted& a, const TUnshifted& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0.0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
  return Length(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

// A run over n vertices visits each vertex once plus two entries per crossing split;
// n + n(n - 1) covers every possible crossing of n edges. The linear bound keeps a
// degenerate input from eating memory: 32 crossings per input vertex on average.
size_t IterationCap(size_t n) {
  const double quadratic = 2.0 * static_cast<double>(n) * static_cast<double>(n);
  const double linear = 100000.0 + 64.0 * static_cast<double>(n);
  return static_cast<size_t>(std::min(quadratic, linear));
}

[[noreturn]] void Fail(const char* message) {
  throw EVellmarError(message);
}

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

// Below this many vertices a comparison sort is cheaper than the radix passes.
constexpr size_t RadixSortFrom = 256;

// The bits of a single as an unsigned key in the same order (-0 as 0).
uint32_t OrderedBits(float value) {
  const uint32_t bits = std::bit_cast<uint32_t>(value + 0.0f);
  return bits >> 31 ? ~bits : bits | (uint32_t{1} << 31);
}

// Stable least-significant-digit radix sort by key, a byte per pass; passes where
// every key has the same byte are skipped.
template <typename Item>
void RadixSort(std::vector<Item>& items, std::vector<Item>& buffer) {
  constexpr size_t Passes = sizeof(Item::Key);
  std::array<std::array<size_t, 256>, Passes> counts{};
  for (const Item& item : items)
    for (size_t pass = 0; pass < Passes; ++pass) ++counts[pass][(item.Key >> (8 * pass)) & 0xFF];
  for (size_t pass = 0; pass < Passes; ++pass) {
    std::array<size_t, 256>& count = counts[pass];
    if (count[(items.front().Key >> (8 * pass)) & 0xFF] == items.size()) continue;
    size_t sum = 0;
    for (size_t& c : count) sum += std::exchange(c, sum);
    for (const Item& item : items) buffer[count[(item.Key >> (8 * pass)) & 0xFF]++] = item;
    items.swap(buffer);
  }
}

}  // namespace

TDxTesselator3::TNode* TDxTesselator3::NewNode(const TVertex& vertex, int64_t id) {
  TNode& node = Nodes.Add();
  node.Own = vertex;
  node.Point = &node.Own;
  node.Id = id;
  return &node;
}

TDxTesselator3::TNode* TDxTesselator3::CopyNode(const TNode* node) {
  return &Nodes.Add(*node);
}

TDxTesselator3::TChain* TDxTesselator3::NewChain(std::initializer_list<TNode*> nodes) {
  // A chain of an earlier job keeps the memory of its node list.
  TChain& chain = Chains.Take();
  static_cast<TDxRankedItem&>(chain) = TDxRankedItem{};
  chain.Nodes.clear();
  chain.Nodes.reserve(4);
  chain.Pending = false;
  for (TNode* node : nodes) Append(&chain, node);
  return &chain;
}

void TDxTesselator3::Append(TChain* chain, TNode* node) {
  chain->Nodes.push_back(node);
  node->Chain = chain;
  if (chain->Nodes.size() >= 2) ReplaceLast(chain, node);
}

void TDxTesselator3::ReplaceLast(TChain* chain, TNode* node) {
  chain->Nodes.back() = node;
  node->Chain = chain;
  const double y1 = chain->Nodes[chain->Nodes.size() - 2]->Point->Y;
  const double y2 = node->Point->Y;
  chain->Low = std::min(y1, y2);
  chain->High = std::max(y1, y2);
}

void TDxTesselator3::InsertChain(int32_t position, TChain* chain) {
  Active.Insert(static_cast<size_t>(position), chain);
}

void TDxTesselator3::RemoveChains(int32_t position, int32_t count) {
  TDxRankedItem* item = Active.At(static_cast<size_t>(position));
  for (int32_t i = 0; i < count; ++i) {
    TDxRankedItem* next = item->Next;
    Active.Erase(item);
    item = next;
  }
}

TDxTesselator3::TChain* TDxTesselator3::Above(const TChain* chain) {
  for (TDxRankedItem* item = chain->Prev; item; item = item->Prev)
    if (!static_cast<TChain*>(item)->Pending) return static_cast<TChain*>(item);
  return nullptr;
}

TDxTesselator3::TChain* TDxTesselator3::Below(const TChain* chain) {
  for (TDxRankedItem* item = chain->Next; item; item = item->Next)
    if (!static_cast<TChain*>(item)->Pending) return static_cast<TChain*>(item);
  return nullptr;
}

// Points the neighbour's link that went to `from` at `to` instead; after crossing
// splits a node's two links need not keep their Prev/Next roles.
void TDxTesselator3::Relink(TNode* neighbour, const TNode* from, TNode* to) {
  if (neighbour->Prev == from)
    neighbour->Prev = to;
  else if (neighbour->Next == from)
    neighbour->Next = to;
}

bool TDxTesselator3::Before(const TNode* a, const TNode* b) {
  return a->Point->X < b->Point->X || (a->Point->X == b->Point->X && a->Point->Y < b->Point->Y);
}

void TDxTesselator3::AddContour(const TXYZArray& Points) {
  size_t n = Points.size();
  if (n > 0 && Points[n - 1].x == Points[0].x && Points[n - 1].y == Points[0].y) --n;
  if (n <= 2) return;

  const int64_t base = int64_t{ContourCount} * ContourIdStep;
  TNode* first = nullptr;
  TNode* last = nullptr;
  for (size_t i = 0; i < n; ++i) {
    TNode* node = NewNode(TVertex{Points[i].x, Points[i].y, &Points[i]}, base + static_cast<int64_t>(i));
    if (last) {
      last->Next = node;
      node->Prev = last;
    } else {
      first = node;
    }
    last = node;
  }
  last->Next = first;
  first->Prev = last;

  // Duplicate and collinear points would give zero-length edges and flat triangles;
  // an equal pair left behind would later be moved apart by a zero distance. Removing
  // a point can make the triple behind it degenerate too (a spike doubling back), so
  // the walk steps back after each removal and ends only when a whole lap is clean.
  size_t size = n;
  size_t clean = 0;  // nodes in a row just behind `node` whose triples are known clean
  TNode* node = first;
  while (size > 2 && clean < size) {
    TNode* next = node->Next;
    const TXYZ& p = *node->Point->Point;
    const TXYZ& q = *next->Point->Point;
    if ((p.x == q.x && p.y == q.y) || IsCollinear(p, q, *next->Next->Point->Point)) {
      node->Next = next->Next;
      next->Next->Prev = node;
      --size;
      // The triples at node and before it changed; `next` may have ended the clean run.
      node = node->Prev;
      clean = clean >= 2 ? clean - 2 : 0;
    } else {
      node = next;
      ++clean;
    }
  }
  if (size <= 2) return;

  TNode* ring = node;
  do {
    XSorted.push_back(node);
    YSorted.push_back(node);
    node = node->Next;
  } while (node != ring);
  Sorted = false;
  ++ContourCount;
}

// Equal vertices keep the order they were added in, as insertion after equal elements
// would, but in O(n log n) or better: small lists (and points already moved apart)
// sort by coordinates and then by Id; the caller's single-precision coordinates of a
// large list go through a stable radix sort, by Y first and then by X, which leaves
// ties on X ordered by Y and then by rank.
void TDxTesselator3::SortByKeys(bool inputCoordinates) {
  const size_t n = XSorted.size();
  if (inputCoordinates && n < RadixSortFrom) {
    // Keys packed into integers, with the rank of adding last: no pointer is followed
    // while sorting, and nothing is allocated.
    std::array<TNode*, RadixSortFrom> added;
    std::array<uint64_t, RadixSortFrom> yKeys;
    std::array<std::pair<uint64_t, uint32_t>, RadixSortFrom> xKeys;
    std::copy(XSorted.begin(), XSorted.end(), added.begin());
    for (size_t i = 0; i < n; ++i) {
      const TXYZ& p = *added[i]->Point->Point;
      const uint64_t y = OrderedBits(p.y);
      yKeys[i] = y << 32 | i;
      xKeys[i] = {uint64_t{OrderedBits(p.x)} << 32 | y, static_cast<uint32_t>(i)};
    }
    std::sort(yKeys.begin(), yKeys.begin() + static_cast<ptrdiff_t>(n));
    std::sort(xKeys.begin(), xKeys.begin() + static_cast<ptrdiff_t>(n));
    for (size_t i = 0; i < n; ++i) {
      YSorted[i] = added[yKeys[i] & UINT32_MAX];
      XSorted[i] = added[xKeys[i].second];
    }
    return;
  }
  if (!inputCoordinates || n > UINT32_MAX) {
    // Only input points are listed yet, and their Ids grow in the order of adding.
    std::sort(XSorted.begin(), XSorted.end(), [](const TNode* a, const TNode* b) {
      if (a->Point->X != b->Point->X) return a->Point->X < b->Point->X;
      if (a->Point->Y != b->Point->Y) return a->Point->Y < b->Point->Y;
      return a->Id < b->Id;
    });
    std::sort(YSorted.begin(), YSorted.end(), [](const TNode* a, const TNode* b) {
      return a->Point->Y < b->Point->Y || (a->Point->Y == b->Point->Y && a->Id < b->Id);
    });
    return;
  }
  const std::vector<TNode*> added = XSorted;
  std::vector<TSortItem> items(n);
  std::vector<TSortItem> buffer(n);
  std::vector<uint32_t> xKeys(n);
  for (size_t i = 0; i < n; ++i) {
    const TXYZ& p = *added[i]->Point->Point;
    items[i] = TSortItem{OrderedBits(p.y), static_cast<uint32_t>(i)};
    xKeys[i] = OrderedBits(p.x);
  }
  RadixSort(items, buffer);
  for (size_t i = 0; i < n; ++i) YSorted[i] = added[items[i].Index];
  for (TSortItem& item : items) item.Key = xKeys[item.Index];
  RadixSort(items, buffer);
  for (size_t i = 0; i < n; ++i) XSorted[i] = added[items[i].Index];
}

bool TDxTesselator3::Proceed() {
  if (!Sorted) {
    SortByKeys(true);
    Sorted = true;
  }
  if (XSorted.size() <= 2) return true;

  // Every vertex gives at most one triangle, every crossing two more.
  Output.reserve(3 * XSorted.size());
  bool done = true;
  Prepare();
  try {
    ClassifyVertexes();
    Sweep();
  } catch (const EVellmarError&) {
    done = false;
  }
  return done;
}

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

void TDxTesselator3::ClassifyVertexes() {
  for (TNode* node : XSorted) {
    const TVertex& p = *node->Point;
    const TVertex& prev = *node->Prev->Point;
    const TVertex& next = *node->Next->Point;
    if ((p.X == prev.X && p.Y == prev.Y) || (p.X == next.X && p.Y == next.Y))
      Fail("TDxTesselator3.ClassifyVertexes: can not compare.");
    node->Kind = static_cast<uint8_t>(2 * Before(node, node->Prev) + Before(node, node->Next));
  }
}

void TDxTesselator3::Sweep() {
  const size_t cap = IterationCap(XSorted.size());
  for (size_t i = 0; i < XSorted.size();) {
    TNode* scan = XSorted[i];
    SweepX = scan->Point->X;
    Current = i;
    switch (scan->Kind) {
      case 0:
        ProcessFin(scan);
        break;
      case 1:
        ProcessSlope(scan, true);
        break;
      case 2:
        ProcessSlope(scan, false);
        break;
      default:
        ProcessStart(scan);
        break;
    }
    ++i;
    if (i > cap) Fail("TDxTesselator3.Proceed: more more points...");
  }
}

int32_t TDxTesselator3::CompareEdges(const TNode* a, const TNode* a2, const TNode* b, const TNode* b2) const {
  const TVertex& pa = *a->Point;
  const TVertex& pa2 = *a2->Point;
  const TVertex& pb = *b->Point;
  const TVertex& pb2 = *b2->Point;
  const bool verticalA = pa.X == pa2.X;
  const bool verticalB = pb.X == pb2.X;
  if (verticalA && verticalB) return 0;
  if (verticalA || verticalB) {
    // A vertical edge (left by crossings) is above when all of it is at or above the
    // other edge there: edges that meet at an end still have a side.
    const TVertex& v1 = verticalA ? pa : pb;
    const TVertex& v2 = verticalA ? pa2 : pb2;
    const double h = verticalA ? HeightAt(pb, pb2, v1.X) : HeightAt(pa, pa2, v1.X);
    const double low = std::min(v1.Y, v2.Y);
    const double high = std::max(v1.Y, v2.Y);
    const int32_t side = low >= h && high > h ? 1 : (high <= h && low < h ? -1 : 0);
    if (side != 0) return verticalA ? side : -side;
  } else {
    const int32_t height = Sign(HeightAt(pa, pa2, SweepX) - HeightAt(pb, pb2, SweepX));
    if (height != 0) return height;
    const int32_t slope = Sign(SlopeOf(pa, pa2) - SlopeOf(pb, pb2));
    if (slope != 0) return slope;
  }
  if (pa.Y != pb.Y) return Sign(pa.Y - pb.Y);
  return Sign(pa2.Y - pb2.Y);
}

std::optional<double> TDxTesselator3::CrossingWith(const TNode* scan, const TNode* other,
                                                    const TChain* chain) const {
  const TVertex& s = *scan->Point;
  const TVertex& o = *other->Point;
  if (chain->Pending || chain->High < std::min(s.Y, o.Y) || chain->Low > std::max(s.Y, o.Y)) return std::nullopt;
  const TNode* p = chain->Nodes[chain->Nodes.size() - 2];
  const TNode* q = chain->Nodes.back();
  if (p->Id == scan->Id || p->Id == other->Id || q->Id == scan->Id || q->Id == other->Id) return std::nullopt;
  const TVertex& pp = *p->Point;
  const TVertex& pq = *q->Point;
  const std::optional<TCrossing> crossing = LineCrossing(s, o, pp, pq);
  if (!crossing) return std::nullopt;
  const double t = crossing->t;
  const double u = crossing->u;
  if (!(u >= 0.0 && u < 1.0 && t > 0.0 && t < 1.0)) return std::nullopt;
  // A start vertex that only touches the edge at P does not cross it.
  if (u == 0.0 && scan->Kind == 3 &&
      Sign(Cross(pp, pq, *scan->Prev->Point)) * Sign(Cross(pp, pq, *scan->Next->Point)) >= 0)
    return std::nullopt;
  return t;
}

void TDxTesselator3::SplitAtCrossing(TNode* scan, TNode* other, TChain* above, TChain* below) {
  TChain* best = nullptr;
  double bestT = 2.0;
  const auto consider = [&](TChain* chain) {
    if (!chain) return;
    const std::optional<double> t = CrossingWith(scan, other, chain);
    if (t && *t < bestT) {
      bestT = *t;
      best = chain;
    }
  };
  if (Search == TSearch::Linear) {
    for (TDxRankedItem* item = Active.Size() ? Active.At(0) : nullptr; item; item = item->Next)
      consider(static_cast<TChain*>(item));
  } else {
    consider(above);
    consider(below);
  }
  if (best) Split(scan, other, best, bestT);
}

// Edges that cross ahead of the sweep are cut there, so that the order of the chains
// stays exact between events.
void TDxTesselator3::SplitNeighbours(TChain* upper, TChain* lower) {
  if (!upper || !lower) return;
  TNode* p = upper->Nodes[upper->Nodes.size() - 2];
  TNode* q = upper->Nodes.back();
  const std::optional<double> t = CrossingWith(p, q, lower);
  if (!t || p->Point->X + *t * (q->Point->X - p->Point->X) <= SweepX) return;
  Split(p, q, lower, *t);
  ReplaceLast(upper, lower->Nodes.back());
}

// Cuts the edge scan->other and the last edge of `chain` at parameter t of the first:
// the crossing ends both incoming edges and starts both outgoing ones.
void TDxTesselator3::Split(TNode* scan, TNode* other, TChain* best, double bestT) {
  const TVertex& s = *scan->Point;
  const TVertex& o = *other->Point;
  TNode* p = best->Nodes[best->Nodes.size() - 2];
  TNode* q = best->Nodes.back();
  TVertex x;
  x.X = s.X + bestT * (o.X - s.X);
  x.Y = s.Y + bestT * (o.Y - s.Y);
  // A crossing next to an end (a vertex shifted just off the other edge) can round
  // onto or past that end; the sweep must still meet it before both ends.
  const double xEnd = std::min(o.X, q->Point->X);
  if (x.X >= xEnd) x.X = std::nextafter(xEnd, -std::numeric_limits<double>::infinity());

  // Where the unshifted edges cross too, the point goes back onto their true crossing.
  // Otherwise the crossing only exists because of the tie-breaking shifts (edges that
  // touch or overlap), and it goes back to where it tends as the shifts shrink: for
  // edges on one line the point at the same parameter on the unshifted edge, else
  // the end of one edge that lies on the other.
  const auto unshifted = [this](const TNode* node) {
    if (node->Id < 0) {
      const int64_t k = node->Id > -CrossingSecondId ? -node->Id : -(node->Id + CrossingSecondId);
      const TCrossingPoint& crossing = CrossingPoints[static_cast<size_t>(k - 1)];
      return TUnshifted{crossing.X, crossing.Y};
    }
    return TUnshifted{double{node->Point->Point->x} - Centre.x, double{node->Point->Point->y} - Centre.y};
  };
  const TUnshifted ends[4] = {unshifted(scan), unshifted(other), unshifted(p), unshifted(q)};
  const std::optional<TCrossing> exact = LineCrossing(ends[0], ends[1], ends[2], ends[3]);
  const auto inside = [](double v) { return v >= -CrossingSlack && v <= 1.0 + CrossingSlack; };
  TUnshifted place = Lerp(ends[0], ends[1], bestT);
  if (exact && inside(exact->t) && inside(exact->u)) {
    place = Lerp(ends[0], ends[1], exact->t);
  } else if (exact) {
    double nearest = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < 4; ++i) {
      const int32_t other0 = i < 2 ? 2 : 0;
      if (DistanceToSegment(ends[i], ends[other0], ends[other0 + 1]) > TouchTolerance) continue;
      const double d = Length(ends[i].X - place.X, ends[i].Y - place.Y);
      if (d < nearest) {
        nearest = d;
        place = ends[i];
      }
    }
  }
  const TXYZ& crossing =
      CrossingPoints
          .emplace_back(TCrossingPoint{TXYZ{static_cast<float>(place.X + Centre.x), static_cast<float>(place.Y + Centre.y),
                                            static_cast<float>(s.Point->z + bestT * (o.Point->z - s.Point->z))},
                                       place.X, place.Y})
          .Point;
  x.Point = &crossing;

  const int64_t k = static_cast<int64_t>(CrossingPoints.size());
  TNode* n1 = NewNode(x, -k);
  TNode* n2 = NewNode(TVertex{}, -k - CrossingSecondId);
  n2->Point = n1->Point;
  n1->Kind = 0;
  n2->Kind = 3;
  n1->Prev = scan;
  n1->Next = p;
  n2->Prev = other;
  n2->Next = q;
  Relink(scan, other, n1);
  Relink(other, scan, n2);
  Relink(p, q, n1);
  Relink(q, p, n2);
  ReplaceLast(best, n1);

  // The sweep meets the end of the incoming edges, then at once the start of the
  // outgoing ones.
  if (Before(n1, XSorted[Current])) {
    XSorted.insert(XSorted.begin() + static_cast<ptrdiff_t>(Current) + 1, {n1, n2});
  } else {
    const auto at =
        std::upper_bound(XSorted.begin() + static_cast<ptrdiff_t>(Current) + 1, XSorted.end(), n1, Before);
    XSorted.insert(at, {n1, n2});
  }
}

// Sum of the sides of both edges of `scan` against the chain's last edge: positive
// when the chain runs above the vertex.
int32_t TDxTesselator3::CompareChain(const TChain* chain, const TNode* scan) const {
  const TNode* p = chain->Nodes[chain->Nodes.size() - 2];
  const TNode* q = chain->Nodes.back();
  const int32_t sum = CompareEdges(p, q, scan, scan->Next) + CompareEdges(p, q, scan, scan->Prev);
  if (sum == 0) Fail("TDxTesselator3.FindUpDownChain: can not...");
  return sum;
}

TDxTesselator3::TUpDown TDxTesselator3::FindUpDownLinear(const TNode* scan) const {
  TUpDown found;
  int32_t position = 0;
  for (TDxRankedItem* item = Active.Size() ? Active.At(0) : nullptr; item; item = item->Next, ++position) {
    const TChain* chain = static_cast<const TChain*>(item);
    if (chain->Pending) continue;
    if (CompareChain(chain, scan) > 0) {
      found.UpI = position;
    } else {
      found.DownI = position;
      break;
    }
  }
  return found;
}

// The chains above the vertex come first in the active order, so a binary search finds
// the first chain below it. A Pending chain has no edge across the sweep line; it
// counts as below when the nearest chain above it is.
TDxTesselator3::TUpDown TDxTesselator3::FindUpDownChain(const TNode* scan) const {
  if (Search == TSearch::Linear) return FindUpDownLinear(scan);
  const auto isBelow = [&](const TDxRankedItem* item) {
    const TChain* chain = static_cast<const TChain*>(item);
    if (chain->Pending) chain = Above(chain);
    return chain && CompareChain(chain, scan) < 0;
  };
  const TChain* down = static_cast<const TChain*>(Active.FindFirst(isBelow));
  const TChain* up = nullptr;
  if (down) {
    up = Above(down);
  } else if (Active.Size() > 0) {
    const TChain* last = ChainAt(ActiveCount() - 1);
    up = last->Pending ? Above(last) : last;
  }
  return TUpDown{up ? PositionOf(up) : -1, down ? PositionOf(down) : -1};
}

void TDxTesselator3::NewPair(TNode* scan, int32_t position) {
  TNode* next = scan->Next;
  TNode* prev = scan->Prev;
  TNode* copy1 = CopyNode(scan);
  TNode* copy2 = CopyNode(scan);
  TChain* one = NewChain({copy1, next});
  TChain* two = NewChain({copy2, prev});
  Relink(next, scan, copy1);
  Relink(prev, scan, copy2);
  if (CompareEdges(scan, next, scan, prev) <= 0) {
    InsertChain(position, two);
    InsertChain(position + 1, one);
  } else {
    InsertChain(position, one);
    InsertChain(position + 1, two);
  }
}

void TDxTesselator3::ProcessStart(TNode* scan) {
  // The chains around the vertex are found on its unsplit edges; a split keeps the
  // direction of an edge, and with it the answer.
  const auto [up, down] = FindUpDownChain(scan);
  TChain* above = up >= 0 ? ChainAt(up) : nullptr;
  TChain* below = down >= 0 ? ChainAt(down) : nullptr;
  SplitAtCrossing(scan, scan->Next, above, below);
  SplitAtCrossing(scan, scan->Prev, above, below);

  if (up == -1 || down == -1) {
    NewPair(scan, up == -1 ? (down == -1 ? 0 : down) : up + 1);
    return;
  }
  if (up >= down) Fail("TDxTesselator3.ProcessStart: UpI>=DownI.");
  if (up % 2 == 1 && down % 2 == 0) {
    NewPair(scan, up + 1);
    return;
  }

  // The upper of the two new edges joins the region above, the lower one the region below.
  const bool prevUpper = CompareEdges(scan, scan->Next, scan, scan->Prev) <= 0;
  TNode* nearN = prevUpper ? scan->Prev : scan->Next;
  TNode* farN = prevUpper ? scan->Next : scan->Prev;

  if (down == up + 1) {
    // Split vertex: a diagonal to the latest vertex of the region cuts it in two.
    TChain* upper = above;
    TChain* lower = below;
    TNode* p3 = upper->Nodes[upper->Nodes.size() - 2];
    TNode* p4 = upper->Nodes.back();
    TNode* d = lower->Nodes[lower->Nodes.size() - 2];
    TNode* dLast = lower->Nodes.back();
    if (p3->Point->X > d->Point->X) {
      TChain* tail = NewChain({p3, p4});
      TNode* copyScan = CopyNode(scan);
      TChain* diagonal = NewChain({CopyNode(p3), copyScan, nearN});
      Relink(nearN, scan, copyScan);
      ReplaceLast(upper, scan);
      Append(upper, farN);
      InsertChain(up, diagonal);
      InsertChain(up, tail);
    } else {
      TChain* tail = NewChain({d, dLast});
      TNode* copyScan = CopyNode(scan);
      TChain* diagonal = NewChain({CopyNode(d), copyScan, farN});
      Relink(farN, scan, copyScan);
      ReplaceLast(lower, scan);
      Append(lower, nearN);
      InsertChain(up + 2, tail);
      InsertChain(up + 2, diagonal);
    }
    return;
  }
  if (down == up + 3) {
    // Inside a merged region: the vertex closes both pending chains of the merge.
    TNode* copyUpper = CopyNode(scan);
    TNode* copyLower = CopyNode(scan);
    Relink(nearN, scan, copyUpper);
    Relink(farN, scan, copyLower);
    TChain* upperPending = ChainAt(up + 1);
    TChain* lowerPending = ChainAt(down - 1);
    Append(upperPending, copyUpper);
    Append(upperPending, nearN);
    Append(lowerPending, copyLower);
    Append(lowerPending, farN);
    upperPending->Pending = false;
    lowerPending->Pending = false;
    return;
  }
  Fail("TDxTesselator3.ProcessStart: no variants.");
}

void TDxTesselator3::ProcessSlope(TNode* scan, bool forward) {
  TChain* chain = scan->Chain;
  if (!chain || !TDxRankedList::Contains(chain))
    Fail(forward ? "TDxTesselator3.ProcessSlopeForw: ScanP.Chain=nil."
                 : "TDxTesselator3.ProcessSlopeBack: ScanP.Chain=nil.");
  // Whichever chain carries the new edge on, it lies between these two.
  SplitAtCrossing(scan, forward ? scan->Next : scan->Prev, Above(chain), Below(chain));
  TNode* other = forward ? scan->Next : scan->Prev;

  const int32_t a = PositionOf(chain);
  const int32_t count = ActiveCount();
  if (a % 2 == 0 && a < count - 3 && ChainAt(a + 1)->Pending) {
    // The vertex ends the upper half of a merge: close it and continue below.
    TChain* pending = ChainAt(a + 1);
    pending->Nodes.push_back(scan);
    TriangulatePair(chain, pending);
    RemoveChains(a, 2);
    chain = ChainAt(a);
    Append(chain, scan);
    chain->Pending = false;
  } else if (a % 2 == 1 && a > 2 && ChainAt(a - 1)->Pending) {
    TChain* pending = ChainAt(a - 1);
    pending->Nodes.push_back(scan);
    TriangulatePair(pending, chain);
    RemoveChains(a - 1, 2);
    chain = ChainAt(a - 2);
    Append(chain, scan);
    chain->Pending = false;
  }
  Append(chain, other);
}

void TDxTesselator3::ProcessFin(TNode* scan) {
  TChain* first = scan->Prev->Chain;
  TChain* second = scan->Next->Chain;
  if (!first || !second || !TDxRankedList::Contains(first) || !TDxRankedList::Contains(second))
    Fail("TDxTesselator3.ProcessFin: Chain=nil.");
  const int32_t firstAt = PositionOf(first);
  const int32_t secondAt = PositionOf(second);
  TChain* r = firstAt < secondAt ? first : second;
  TChain* q = firstAt < secondAt ? second : first;
  const int32_t a = std::min(firstAt, secondAt);
  const int32_t b = std::max(firstAt, secondAt);
  if (a % 2 == b % 2) Fail("TDxTesselator3.ProcessFin:  Odd1=Odd2.");

  // Whatever leaves or waits here, the chains around it become neighbours.
  TChain* above = Above(r);
  TChain* below = Below(q);
  const auto rejoin = [&] {
    if (Search == TSearch::Linear) return;  // the reference tests every chain at each new edge
    if (above) SplitNeighbours(above, Below(above));
    if (below && Above(below) != above) SplitNeighbours(Above(below), below);
  };

  if (a % 2 == 0 && b == a + 1) {
    TriangulatePair(r, q);
    RemoveChains(a, 2);
    rejoin();
    return;
  }
  if (a % 2 == 0 && b == a + 3) {
    TChain* upperPending = ChainAt(a + 1);
    TChain* lowerPending = ChainAt(b - 1);
    upperPending->Nodes.push_back(scan);
    lowerPending->Nodes.push_back(scan);
    TriangulatePair(r, upperPending);
    TriangulatePair(lowerPending, q);
    RemoveChains(a, 4);
    rejoin();
    return;
  }

  // A merge: both chains wait for the next vertex between them. A pending merge just
  // beside this one is joined to it by a diagonal.
  r->Pending = true;
  q->Pending = true;
  const auto pendingAt = [this](int32_t position) {
    return position >= 0 && position < ActiveCount() && ChainAt(position)->Pending;
  };
  if (pendingAt(b + 1) && b + 2 < ActiveCount()) {
    TNode* last = q->Nodes.back();
    TChain* pending = ChainAt(b + 1);
    pending->Nodes.push_back(last);
    TriangulatePair(q, pending);
    Append(ChainAt(b + 2), last);
    RemoveChains(b, 2);
  }
  if (pendingAt(a - 1) && a >= 2) {
    TNode* last = r->Nodes.back();
    TChain* pending = ChainAt(a - 1);
    pending->Nodes.push_back(last);
    TriangulatePair(pending, r);
    Append(ChainAt(a - 2), last);
    RemoveChains(a - 1, 2);
  }
  rejoin();
}

// Flat triangles cover nothing; they come from points that only the tie-breaking
// shifts kept apart.
void TDxTesselator3::Emit(const TNode* a, const TNode* b, const TNode* c) {
  if (IsCollinear(*a->Point->Point, *b->Point->Point, *c->Point->Point)) return;
  Output.push_back(a->Point->Point);
  Output.push_back(b->Point->Point);
  Output.push_back(c->Point->Point);
}

// Monotone-pair triangulation: a and b start at the same vertex and end at the same
// vertex, a above b. Vertices are taken in X order; a reflex run waits on the stack
// until a vertex of the other chain or a convex turn lets it be cut off.
void TDxTesselator3::TriangulatePair(const TChain* a, const TChain* b) {
  Stack.clear();
  Stack.push_back(a->Nodes[0]);
  const auto fan = [this] {
    const TNode* last = Stack.back();
    for (size_t i = 0; i + 2 < Stack.size(); ++i) Emit(last, Stack[i], Stack[i + 1]);
    Stack.erase(Stack.begin(), Stack.end() - 2);
  };

  size_t ia = 1;
  size_t ib = 1;
  int32_t lastSide = 0;
  const TNode* last = a->Nodes[0];
  while (ia < a->Nodes.size() || ib < b->Nodes.size()) {
    bool fromA;
    if (ib >= b->Nodes.size())
      fromA = true;
    else if (ia >= a->Nodes.size())
      fromA = false;
    else
      fromA = a->Nodes[ia]->Point->X < b->Nodes[ib]->Point->X;
    TNode* node = fromA ? a->Nodes[ia++] : b->Nodes[ib++];
    // Copies of one vertex (a shared start or end) and the two nodes of a crossing
    // are one corner: taken once.
    if (node->Id == last->Id || node->Point == last->Point) continue;
    const int32_t side = fromA ? -1 : 1;
    Stack.push_back(node);
    if (side == lastSide) {
      while (Stack.size() > 2 && Sign(Cross(*Stack[Stack.size() - 3]->Point, *Stack[Stack.size() - 2]->Point,
                                            *Stack.back()->Point)) == side) {
        Emit(Stack[Stack.size() - 3], Stack[Stack.size() - 2], Stack.back());
        Stack.erase(Stack.end() - 2);
      }
    } else if (Stack.size() >= 3) {
      fan();
    }
    lastSide = side;
    last = node;
  }
  if (Stack.size() >= 3) fan();
}

void TDxTesselator3::Clear() {
  ContourCount = 0;
  XSorted.clear();
  YSorted.clear();
  Nodes.Rewind();
  CrossingPoints.clear();
  Active.Clear();
  Output.clear();
  Chains.Rewind();
  Sorted = true;
}

namespace {

// Outlines up to this size reuse one tessellator per thread, which holds on to the
// memory of the largest of them; larger ones are rare and get their own.
constexpr size_t ReusedUpTo = 4096;

TXYZArray TesselateWith(TDxTesselator3& tesselator, const TXYZArray& Points) {
  tesselator.AddContour(Points);
  tesselator.Proceed();
  const std::span<const TXYZ* const> triangles = tesselator.Result();
  TXYZArray result(triangles.size());
  for (size_t i = 0; i < triangles.size(); ++i) result[i] = *triangles[i];
  return result;
}

}  // namespace

TXYZArray Tesselate(const TXYZArray& Points) {
  if (Points.size() > ReusedUpTo) {
    TDxTesselator3 tesselator;
    return TesselateWith(tesselator, Points);
  }
  thread_local TDxTesselator3 reused;
  reused.Clear();
  return TesselateWith(reused, Points);
}

}  // namespace vellmar
