#include "render/DxTesselator3.h"

#include <algorithm>
#include <cstdint>

#include "render/DxTesselator3Arithmetic.h"

namespace vellmar {

using namespace tesselator;

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
  Contours.push_back(TDxEarClipper::TRing{Points.data(), Points.size()});
}

void TDxTesselator3::LoadContour(const TXYZ* Points, size_t count) {
  size_t n = count;
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
    // The vertices still hold the caller's coordinates: the same products as the
    // geometry kernel's collinearity test, without a call per point.
    const TVertex& p = *node->Point;
    const TVertex& q = *next->Point;
    if ((p.X == q.X && p.Y == q.Y) || Cross(p, q, *next->Next->Point) == 0.0) {
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

bool TDxTesselator3::Proceed() {
  if (!Contours.empty()) {
    size_t points = 0;
    for (const TDxEarClipper::TRing& ring : Contours) points += ring.Count;
    // n - 2 triangles for a ring, two more for each bridge to a hole.
    Output.reserve(3 * (points + 2 * Contours.size()));
    if (First != TPath::Sweep) {
      const TDxEarClipper::TResult result = Clipper.Run(Contours, First == TPath::Fan, Output);
      if (result != TDxEarClipper::TResult::Declined) {
        Taken = result == TDxEarClipper::TResult::Fan ? TPath::Fan : TPath::Ears;
        Contours.clear();
        return true;
      }
    }
    for (const TDxEarClipper::TRing& ring : Contours) LoadContour(ring.Points, ring.Count);
    Contours.clear();
  }
  Taken = TPath::Sweep;
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

void TDxTesselator3::Clear() {
  Contours.clear();
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
