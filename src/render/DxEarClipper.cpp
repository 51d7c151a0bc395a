#include "render/DxEarClipper.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vellmar {

namespace {

constexpr uint32_t NoCorner = std::numeric_limits<uint32_t>::max();

// Up to this many edges every pair is tested; above it, only pairs whose X ranges
// overlap, found by sorting.
constexpr size_t AllPairsUpTo = 32;


// Twice the signed area of a, b, c: positive when they turn left. Single-precision
// input in double: the products are exact, so collinear input is seen as collinear.
template <typename P>
double Cross(const P& a, const P& b, const P& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
}

int32_t Sign(double value) {
  return value > 0.0 ? 1 : (value < 0.0 ? -1 : 0);
}

template <typename P>
bool SamePlace(const P& a, const P& b) {
  return a.X == b.X && a.Y == b.Y;
}

}  // namespace

// Points are taken as the sweep takes them: repeated points and the middle of three
// on one line go (a spike that doubles back goes with them), and a ring left with
// fewer than three corners fills nothing.
bool TDxEarClipper::LoadRing(const TRing& ring) {
  size_t n = ring.Count;
  const TXYZ* points = ring.Points;
  if (n > 0 && points[n - 1].x == points[0].x && points[n - 1].y == points[0].y) --n;
  const size_t start = Corners.size();
  Corners.resize(start + n);
  TCorner* out = Corners.data() + start;
  size_t m = 0;
  for (size_t i = 0; i < n; ++i) {
    TCorner& corner = out[m];
    corner.X = points[i].x;
    corner.Y = points[i].y;
    if (m > 0 && SamePlace(out[m - 1], corner)) continue;
    while (m >= 2 && Cross(out[m - 2], out[m - 1], corner) == 0.0) {
      out[m - 1] = corner;
      --m;
      if (SamePlace(out[m - 1], out[m])) break;
    }
    if (m > 0 && SamePlace(out[m - 1], out[m])) continue;
    out[m].Point = &points[i];
    ++m;
  }
  // The same where the ring closes.
  size_t first = 0;
  while (m - first >= 3) {
    if (SamePlace(out[m - 1], out[first]) || Cross(out[m - 2], out[m - 1], out[first]) == 0.0) {
      --m;
    } else if (Cross(out[m - 1], out[first], out[first + 1]) == 0.0) {
      ++first;
    } else {
      break;
    }
  }
  if (m - first < 3) {
    Corners.resize(start);
    return false;
  }
  if (first > 0) std::copy(out + first, out + m, out);
  const size_t count = m - first;
  Corners.resize(start + count);

  TRingInfo info;
  info.First = static_cast<uint32_t>(start);
  info.Count = static_cast<uint32_t>(count);
  info.MinX = info.MaxX = Corners[start].X;
  info.MinY = info.MaxY = Corners[start].Y;
  const double x0 = Corners[start].X;
  const double y0 = Corners[start].Y;
  for (size_t i = start; i < Corners.size(); ++i) {
    TCorner& c = Corners[i];
    c.Prev = static_cast<uint32_t>(i == start ? Corners.size() - 1 : i - 1);
    c.Next = static_cast<uint32_t>(i + 1 == Corners.size() ? start : i + 1);
    const TCorner& d = Corners[c.Next];
    info.Area += (c.X - x0) * (d.Y - y0) - (d.X - x0) * (c.Y - y0);
    info.MinX = std::min(info.MinX, c.X);
    info.MaxX = std::max(info.MaxX, c.X);
    info.MinY = std::min(info.MinY, c.Y);
    info.MaxY = std::max(info.MaxY, c.Y);
  }
  Rings.push_back(info);
  return true;
}

// Every corner turns the same way, and the outline goes round once: along X (and Y)
// its direction changes sign at most twice, where a star drawn in one stroke would
// change it more often.
bool TDxEarClipper::Convex(const TRingInfo& ring) const {
  int32_t turn = 0;
  int32_t changesX = 0;
  int32_t changesY = 0;
  int32_t lastX = 0;
  int32_t lastY = 0;
  int32_t firstX = 0;
  int32_t firstY = 0;
  uint32_t c = ring.First;
  for (uint32_t i = 0; i < ring.Count; ++i) {
    const TCorner& corner = Corners[c];
    const TCorner& next = Corners[corner.Next];
    const int32_t side = Sign(Cross(Corners[corner.Prev], corner, next));
    if (side == 0 || (turn != 0 && side != turn)) return false;
    turn = side;
    const int32_t dx = Sign(next.X - corner.X);
    const int32_t dy = Sign(next.Y - corner.Y);
    if (dx != 0) {
      if (lastX != 0 && dx != lastX) ++changesX;
      if (firstX == 0) firstX = dx;
      lastX = dx;
    }
    if (dy != 0) {
      if (lastY != 0 && dy != lastY) ++changesY;
      if (firstY == 0) firstY = dy;
      lastY = dy;
    }
    c = corner.Next;
  }
  if (lastX != firstX) ++changesX;
  if (lastY != firstY) ++changesY;
  return changesX <= 2 && changesY <= 2;
}

void TDxEarClipper::Fan(const TRingInfo& ring, std::vector<const TXYZ*>& output) const {
  const TCorner& apex = Corners[ring.First];
  for (uint32_t b = apex.Next; Corners[b].Next != ring.First; b = Corners[b].Next) {
    output.push_back(apex.Point);
    output.push_back(Corners[b].Point);
    output.push_back(Corners[Corners[b].Next].Point);
  }
}

// Whether two edges have any point in common: crossing, touching or overlapping.
// Neighbours on a ring share their corner and nothing else (cleaning removed the
// spikes that would overlap).
bool TDxEarClipper::EdgesMeet(const TEdge& e, const TEdge& f) const {
  if (e.MaxX < f.MinX || f.MaxX < e.MinX || e.MaxY < f.MinY || f.MaxY < e.MinY) return false;
  const TCorner& a = Corners[e.From];
  const TCorner& c = Corners[f.From];
  if (a.Next == f.From || c.Next == e.From) return false;
  const TCorner& b = Corners[a.Next];
  const TCorner& d = Corners[c.Next];
  const int32_t o1 = Sign(Cross(a, b, c));
  const int32_t o2 = Sign(Cross(a, b, d));
  if (o1 == 0 && o2 == 0) return true;  // on one line, and the boxes overlap
  if (o1 == o2) return false;
  const int32_t o3 = Sign(Cross(c, d, a));
  const int32_t o4 = Sign(Cross(c, d, b));
  return o3 != o4;
}

bool TDxEarClipper::NoEdgesMeet() {
  Edges.clear();
  for (uint32_t r = 0; r < Rings.size(); ++r) {
    const TRingInfo& ring = Rings[r];
    for (uint32_t i = ring.First; i < ring.First + ring.Count; ++i) {
      const TCorner& a = Corners[i];
      const TCorner& b = Corners[a.Next];
      Edges.push_back(TEdge{std::min(a.X, b.X), std::max(a.X, b.X), std::min(a.Y, b.Y), std::max(a.Y, b.Y), i, r});
    }
  }
  if (Edges.size() <= AllPairsUpTo) {
    for (size_t i = 0; i < Edges.size(); ++i)
      for (size_t j = i + 1; j < Edges.size(); ++j)
        if (EdgesMeet(Edges[i], Edges[j])) return false;
    return true;
  }
  ByMinX.clear();
  for (uint32_t i = 0; i < Edges.size(); ++i) ByMinX.push_back(std::pair{Edges[i].MinX, i});
  std::sort(ByMinX.begin(), ByMinX.end());
  for (size_t i = 0; i < ByMinX.size(); ++i) {
    const TEdge& e = Edges[ByMinX[i].second];
    for (size_t j = i + 1; j < ByMinX.size() && ByMinX[j].first <= e.MaxX; ++j)
      if (EdgesMeet(e, Edges[ByMinX[j].second])) return false;
  }
  return true;
}

// Crossing number of a ray to the right; the point is on no edge (no edges meet).
bool TDxEarClipper::Inside(double x, double y, const TRingInfo& ring) const {
  bool inside = false;
  for (uint32_t i = ring.First; i < ring.First + ring.Count; ++i) {
    const TCorner& a = Corners[i];
    const TCorner& b = Corners[a.Next];
    if ((a.Y > y) != (b.Y > y) && x < a.X + (y - a.Y) * (b.X - a.X) / (b.Y - a.Y)) inside = !inside;
  }
  return inside;
}

// Rings that meet nowhere nest: each lies inside or outside each other. The odd rule
// fills outlines (inside no other ring) minus their holes (inside one); a ring inside
// a hole would fill again, which bridging does not express: declined.
bool TDxEarClipper::Nest() {
  if (Rings.size() == 1) return true;
  for (uint32_t r = 0; r < Rings.size(); ++r) {
    TRingInfo& ring = Rings[r];
    const TCorner& probe = Corners[ring.First];
    int32_t depth = 0;
    for (uint32_t s = 0; s < Rings.size(); ++s) {
      const TRingInfo& other = Rings[s];
      if (s == r || probe.X < other.MinX || probe.X > other.MaxX || probe.Y < other.MinY || probe.Y > other.MaxY)
        continue;
      if (!Inside(probe.X, probe.Y, other)) continue;
      if (++depth > 1) return false;
      ring.Parent = static_cast<int32_t>(s);
    }
  }
  for (const TRingInfo& ring : Rings)
    if (ring.Parent >= 0 && Rings[static_cast<size_t>(ring.Parent)].Parent >= 0) return false;
  return true;
}

void TDxEarClipper::Reverse(TRingInfo& ring) {
  for (uint32_t i = ring.First; i < ring.First + ring.Count; ++i) std::swap(Corners[i].Prev, Corners[i].Next);
  ring.Area = -ring.Area;
}

// Whether the way from the corner towards (x, y) starts inside the ring (counter-
// clockwise): between its edges at a convex corner, outside the outer side of both at
// a reflex one. Along an edge counts as outside.
bool TDxEarClipper::LocallyInside(uint32_t corner, double x, double y) const {
  const TCorner& v = Corners[corner];
  const TCorner& a = Corners[v.Prev];
  const TCorner& b = Corners[v.Next];
  TCorner m;
  m.X = x;
  m.Y = y;
  const bool leftOfIn = Cross(a, v, m) > 0.0;
  const bool leftOfOut = Cross(v, b, m) > 0.0;
  return Cross(a, v, b) > 0.0 ? leftOfIn && leftOfOut : leftOfIn || leftOfOut;
}

// Joins corners a and b by two coincident edges: a -> b on the one side, b' -> a' on
// the other, so two rings become one (or one ring two). Returns b'.
uint32_t TDxEarClipper::Split(uint32_t a, uint32_t b) {
  const uint32_t a2 = static_cast<uint32_t>(Corners.size());
  const uint32_t b2 = a2 + 1;
  TCorner copyA = Corners[a];
  TCorner copyB = Corners[b];
  Corners.push_back(copyA);
  Corners.push_back(copyB);
  const uint32_t an = Corners[a].Next;
  const uint32_t bp = Corners[b].Prev;
  Corners[a].Next = b;
  Corners[b].Prev = a;
  Corners[a2].Next = an;
  Corners[an].Prev = a2;
  Corners[b2].Next = a2;
  Corners[a2].Prev = b2;
  Corners[bp].Next = b2;
  Corners[b2].Prev = bp;
  return b2;
}

// A hole joins its outline by a bridge from its rightmost corner M to a corner of the
// outline that M sees: the ray to the right from M meets the nearest edge at I; the end
// P of that edge with the larger X is seen unless corners lie inside the triangle M, I,
// P, and then the one of them closest in angle to the ray is.
bool TDxEarClipper::Bridge(uint32_t outer, const TRingInfo& hole) {
  uint32_t m = hole.First;
  for (uint32_t i = hole.First; i < hole.First + hole.Count; ++i)
    if (Corners[i].X > Corners[m].X) m = i;
  const double mx = Corners[m].X;
  const double my = Corners[m].Y;

  double hitX = std::numeric_limits<double>::infinity();
  uint32_t seen = NoCorner;
  uint32_t p = outer;
  do {
    const TCorner& a = Corners[p];
    const TCorner& b = Corners[a.Next];
    if (a.Y != b.Y && (a.Y <= my) == (b.Y >= my)) {
      const double x = a.Y == my ? a.X : (b.Y == my ? b.X : a.X + (my - a.Y) * (b.X - a.X) / (b.Y - a.Y));
      if (x > mx && x < hitX) {
        hitX = x;
        seen = a.Y == my ? p : (b.Y == my ? a.Next : (a.X > b.X ? p : a.Next));
      }
    }
    p = a.Next;
  } while (p != outer);
  if (seen == NoCorner) return false;

  // The candidates: P, and every corner inside the triangle (P on the ray: no triangle).
  TCorner hit;
  hit.X = hitX;
  hit.Y = my;
  const TCorner& mm = Corners[m];
  const double px = Corners[seen].X;
  const double py = Corners[seen].Y;
  uint32_t best = NoCorner;
  double bestTan = std::numeric_limits<double>::infinity();
  const auto consider = [&](uint32_t corner) {
    const TCorner& v = Corners[corner];
    const double tan = std::fabs(v.Y - my) / (v.X - mx);
    if ((tan < bestTan || (tan == bestTan && best != NoCorner && v.X < Corners[best].X)) &&
        LocallyInside(corner, mx, my)) {
      best = corner;
      bestTan = tan;
    }
  };
  consider(seen);
  // A bridge made earlier may start at P too: its copy of P is the other candidate there.
  const TCorner& pc = Corners[seen];
  const double turn = Sign(Cross(mm, hit, pc));
  p = outer;
  do {
    const TCorner& v = Corners[p];
    if (p != seen && v.X > mx && v.X <= std::max(px, hitX)) {
      if (SamePlace(v, pc) ||
          (py != my && Sign(Cross(mm, hit, v)) * turn >= 0 && Sign(Cross(hit, pc, v)) * turn >= 0 &&
           Sign(Cross(pc, mm, v)) * turn >= 0))
        consider(p);
    }
    p = v.Next;
  } while (p != outer);
  if (best == NoCorner) return false;
  Split(best, m);
  return true;
}

// Corner p stops the ear a, b, c: it lies in the closed triangle and is not convex.
// Copies of a or c (the ends of bridges) touch the cut only where it starts.
bool TDxEarClipper::Blocks(uint32_t p, uint32_t a, uint32_t b, uint32_t c) const {
  const TCorner& v = Corners[p];
  const TCorner& ca = Corners[a];
  const TCorner& cb = Corners[b];
  const TCorner& cc = Corners[c];
  if (SamePlace(v, ca) || SamePlace(v, cc)) return false;
  // A copy of b stops the cut only when one of its edges leaves into the ear.
  if (SamePlace(v, cb)) {
    const auto into = [&](const TCorner& q) { return Cross(ca, cb, q) > 0.0 && Cross(cb, cc, q) > 0.0; };
    return into(Corners[v.Prev]) || into(Corners[v.Next]);
  }
  return Cross(ca, cb, v) >= 0.0 && Cross(cb, cc, v) >= 0.0 && Cross(cc, ca, v) >= 0.0 &&
         Cross(Corners[v.Prev], v, Corners[v.Next]) <= 0.0;
}

// Only corners that are not convex can stop an ear, and cutting ears never makes a
// convex corner reflex: the ring keeps a list of its reflex corners, which only
// shrinks (corners that turned convex or were cut leave it as they are met).
bool TDxEarClipper::IsEar(uint32_t ear) {
  const uint32_t a = Corners[ear].Prev;
  const uint32_t c = Corners[ear].Next;
  const TCorner& ca = Corners[a];
  const TCorner& cb = Corners[ear];
  const TCorner& cc = Corners[c];
  if (Cross(ca, cb, cc) <= 0.0) return false;
  const double x0 = std::min({ca.X, cb.X, cc.X}), x1 = std::max({ca.X, cb.X, cc.X});
  const double y0 = std::min({ca.Y, cb.Y, cc.Y}), y1 = std::max({ca.Y, cb.Y, cc.Y});
  for (size_t i = 0; i < Reflex.size(); ++i) {
    const uint32_t p = Reflex[i];
    const TCorner& v = Corners[p];
    if (v.Gone || v.Convex) {
      Reflex[i--] = Reflex.back();
      Reflex.pop_back();
      continue;
    }
    if (p != a && p != c && v.X >= x0 && v.X <= x1 && v.Y >= y0 && v.Y <= y1 && Blocks(p, a, ear, c)) return false;
  }
  return true;
}

void TDxEarClipper::Remove(uint32_t corner) {
  TCorner& v = Corners[corner];
  v.Gone = true;
  Corners[v.Prev].Next = v.Next;
  Corners[v.Next].Prev = v.Prev;
}

// Cuts ears until two corners are left. A lap without an ear leaves flat corners
// (cuts that left three corners on a line); they go, and a lap without either gives up.
bool TDxEarClipper::Clip(uint32_t start, uint32_t count, std::vector<const TXYZ*>& output) {
  Reflex.clear();
  uint32_t p = start;
  do {
    Corners[p].Convex = Cross(Corners[Corners[p].Prev], Corners[p], Corners[Corners[p].Next]) > 0.0;
    if (!Corners[p].Convex) Reflex.push_back(p);
    p = Corners[p].Next;
  } while (p != start);

  uint32_t ear = start;
  uint32_t stop = ear;
  while (count > 2) {
    const uint32_t a = Corners[ear].Prev;
    const uint32_t c = Corners[ear].Next;
    if (IsEar(ear)) {
      output.push_back(Corners[a].Point);
      output.push_back(Corners[ear].Point);
      output.push_back(Corners[c].Point);
      Remove(ear);
      --count;
      // The two corners beside the cut turned further; a reflex one may now be convex.
      for (const uint32_t side : {a, c})
        Corners[side].Convex = Cross(Corners[Corners[side].Prev], Corners[side], Corners[Corners[side].Next]) > 0.0;
      ear = Corners[c].Next;
      stop = ear;
      continue;
    }
    ear = c;
    if (ear != stop) continue;
    const uint32_t lap = count;
    for (uint32_t k = 0; k < lap && count > 2; ++k) {
      const uint32_t next = Corners[ear].Next;
      if (Cross(Corners[Corners[ear].Prev], Corners[ear], Corners[next]) == 0.0) {
        Remove(ear);
        --count;
      }
      ear = next;
    }
    if (count == lap) return false;
    stop = ear;
  }
  return true;
}

TDxEarClipper::TResult TDxEarClipper::Run(std::span<const TRing> rings, bool fan, std::vector<const TXYZ*>& output) {
  Corners.clear();
  Rings.clear();
  size_t points = 0;
  for (const TRing& ring : rings) points += ring.Count;
  // A convex outline is fanned at any size; the sweep is faster than ears on large ones.
  if (points > EarsUpTo && !(fan && rings.size() == 1)) return TResult::Declined;
  Corners.reserve(points + 2 * rings.size());
  for (const TRing& ring : rings) LoadRing(ring);
  if (Rings.empty()) return TResult::Ears;
  if (fan && Rings.size() == 1 && Convex(Rings[0])) {
    Fan(Rings[0], output);
    return TResult::Fan;
  }
  if (points > EarsUpTo) return TResult::Declined;
  if (!NoEdgesMeet() || !Nest()) return TResult::Declined;

  const size_t before = output.size();
  for (uint32_t r = 0; r < Rings.size(); ++r) {
    if (Rings[r].Parent >= 0) continue;
    if (Rings[r].Area < 0.0) Reverse(Rings[r]);
    Holes.clear();
    for (uint32_t h = 0; h < Rings.size(); ++h) {
      if (Rings[h].Parent != static_cast<int32_t>(r)) continue;
      if (Rings[h].Area > 0.0) Reverse(Rings[h]);
      Holes.push_back(h);
    }
    // Rightmost holes first: a hole further left then never lies across the bridge
    // of one further right, which is part of the outline by then.
    std::sort(Holes.begin(), Holes.end(), [this](uint32_t a, uint32_t b) { return Rings[a].MaxX > Rings[b].MaxX; });
    const uint32_t outer = Rings[r].First;
    uint32_t count = Rings[r].Count;
    bool done = true;
    for (uint32_t h : Holes) {
      if (!Bridge(outer, Rings[h])) {
        done = false;
        break;
      }
      count += Rings[h].Count + 2;
    }
    if (!done || !Clip(outer, count, output)) {
      output.resize(before);
      return TResult::Declined;
    }
  }
  return TResult::Ears;
}

}  // namespace vellmar
