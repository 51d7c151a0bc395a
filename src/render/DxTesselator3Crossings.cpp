// Crossing edges: found between a new edge and its neighbouring chains, and split
// there so that the chains keep their order.
#include "render/DxTesselator3.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "render/DxTesselator3Arithmetic.h"

namespace vellmar {

using namespace tesselator;

namespace {

// Parameter slack when the crossing is recomputed on the unshifted points.
constexpr double CrossingSlack = 1e-6;

}  // namespace

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

}  // namespace vellmar
