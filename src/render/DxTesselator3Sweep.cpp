// The sweep's events: start, slope and fin vertices, and where the chains around a
// vertex are.
#include "render/DxTesselator3.h"

#include <algorithm>
#include <cstdint>

#include "render/DxTesselator3Arithmetic.h"

namespace vellmar {

using namespace tesselator;

namespace {

// A run over n vertices visits each vertex once plus two entries per crossing split;
// n + n(n - 1) covers every possible crossing of n edges. The linear bound keeps a
// degenerate input from eating memory: 32 crossings per input vertex on average.
size_t IterationCap(size_t n) {
  const double quadratic = 2.0 * static_cast<double>(n) * static_cast<double>(n);
  const double linear = 100000.0 + 64.0 * static_cast<double>(n);
  return static_cast<size_t>(std::min(quadratic, linear));
}

}  // namespace

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

}  // namespace vellmar
