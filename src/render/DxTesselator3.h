#pragma once
// Sweep-line triangulator for filled outlines (surfaces, filled symbols, glyphs).
// Vertices are swept in X order; the boundaries the sweep line crosses are kept as
// monotone chains, two per inside region, so nested and overlapping outlines fill by
// the even-odd rule. Crossing edges are split where they cross.
//
// The parts, a file each: DxTesselator3 (input, run, result), Sort (the vertex
// order), Prepare (centring, touching points, ties), Sweep (the events), Crossings
// (split edges), Monotone (triangles of the closed regions), Arithmetic (predicates).
//
// Ownership: the tessellator owns its nodes, chains and crossing points; the result
// also refers to the caller's contour points, which it only reads, so the caller's
// arrays must stay alive and unchanged until the result has been read.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "geometry/XYZ.h"
#include "render/DxEarClipper.h"
#include "render/DxRankedList.h"
#include "render/DxStablePool.h"

namespace vellmar {

class TDxTesselator3 {
 public:
  // How the sweep finds the chains around a vertex and the edges a new edge may cross:
  // Ordered searches the chain order and tests the neighbouring chains only (the
  // order is kept exact by splitting every crossing); Linear, the plain reference,
  // walks every active chain.
  enum class TSearch { Ordered, Linear };

  // The paths a run can take, fastest first: a fan for one convex outline, ear
  // clipping for outlines that neither cross nor touch (holes one deep), the sweep for
  // anything. A run takes the first that accepts its input.
  enum class TPath { Fan, Ears, Sweep };

  // `first`: the first path a run may take (the tests hold each input to every path).
  explicit TDxTesselator3(TSearch search = TSearch::Ordered, TPath first = TPath::Fan)
      : Search(search), First(first) {}
  TDxTesselator3(const TDxTesselator3&) = delete;
  TDxTesselator3& operator=(const TDxTesselator3&) = delete;

  // Adds one closed outline; a repeated closing point is dropped, fewer than three
  // distinct points are ignored. The array is read when the run starts.
  void AddContour(const TXYZArray& Points);
  // Triangulates everything added. False when the run failed; the result then holds
  // the triangles made before the failure.
  bool Proceed();
  // Three point references per triangle; valid while the tessellator and the contour
  // arrays live, until the next Clear. Orientation of the triangles is not normalised.
  std::span<const TXYZ* const> Result() const { return Output; }
  // The path the last run took.
  TPath Path() const { return Taken; }
  // Forgets the contours and the result but keeps the memory, so one tessellator can
  // serve job after job without allocating.
  void Clear();

 private:
  struct TChain;

  // One point of the run, shared by every node (copy) that stands on it. The sweep
  // works on X, Y: centred and shifted apart, in double so that crossings of nearly
  // parallel edges keep their order. The caller's points are never written.
  struct TVertex {
    double X = 0.0;
    double Y = 0.0;
    const TXYZ* Point = nullptr;  // what the result refers to
  };

  struct TNode {
    TVertex Own;               // the vertex of an input point or crossing, kept beside its node
    TVertex* Point = nullptr;  // Own, or the vertex of the node this one copies
    TNode* Prev = nullptr;
    TNode* Next = nullptr;
    uint8_t Kind = 0;
    TChain* Chain = nullptr;
    // contour << 32 | index for input points; -k and -k - CrossingSecondId for crossing k.
    int64_t Id = 0;
  };

  // A chain is active while it is in the ranked list of active chains.
  struct TChain : TDxRankedItem {
    std::vector<TNode*> Nodes;
    bool Pending = false;
    // Y range of the last edge, so the crossing test skips far chains without
    // touching their nodes.
    double Low = 0.0;
    double High = 0.0;
  };

  struct TSortItem {
    uint32_t Key = 0;
    uint32_t Index = 0;
  };

  // The "is a chain above or below" answer of FindUpDownChain; -1 when there is none.
  struct TUpDown {
    int32_t UpI = -1;
    int32_t DownI = -1;
  };

  // The sweep's nodes of one outline, cleaned of repeated and collinear points.
  void LoadContour(const TXYZ* points, size_t count);
  TNode* NewNode(const TVertex& vertex, int64_t id);
  TNode* CopyNode(const TNode* node);
  TChain* NewChain(std::initializer_list<TNode*> nodes);
  void InsertChain(int32_t position, TChain* chain);
  void RemoveChains(int32_t position, int32_t count);
  int32_t PositionOf(const TChain* chain) const { return static_cast<int32_t>(Active.PositionOf(chain)); }
  TChain* ChainAt(int32_t position) const { return static_cast<TChain*>(Active.At(static_cast<size_t>(position))); }
  int32_t ActiveCount() const { return static_cast<int32_t>(Active.Size()); }
  // The nearest chain above (below) `chain` that is not Pending; null when there is none.
  static TChain* Above(const TChain* chain);
  static TChain* Below(const TChain* chain);
  static void Append(TChain* chain, TNode* node);
  static void ReplaceLast(TChain* chain, TNode* node);
  static void Relink(TNode* neighbour, const TNode* from, TNode* to);
  static bool Before(const TNode* a, const TNode* b);

  void SortByKeys(bool inputCoordinates);
  bool SeparateTouchingPoints(double extent);
  void Prepare();
  void ClassifyVertexes();
  void Sweep();

  int32_t CompareEdges(const TNode* a, const TNode* a2, const TNode* b, const TNode* b2) const;
  int32_t CompareChain(const TChain* chain, const TNode* scan) const;
  // The parameter along scan->other where it crosses the last edge of `chain`, if it does.
  std::optional<double> CrossingWith(const TNode* scan, const TNode* other, const TChain* chain) const;
  // Splits the new edge scan->other at its first crossing with an active chain: every
  // chain (Linear) or the two given neighbours (Ordered).
  void SplitAtCrossing(TNode* scan, TNode* other, TChain* above, TChain* below);
  // Splits the last edges of two chains that have just become neighbours where they cross.
  void SplitNeighbours(TChain* upper, TChain* lower);
  void Split(TNode* scan, TNode* other, TChain* chain, double t);
  TUpDown FindUpDownChain(const TNode* scan) const;
  TUpDown FindUpDownLinear(const TNode* scan) const;
  void NewPair(TNode* scan, int32_t position);
  void ProcessStart(TNode* scan);
  void ProcessSlope(TNode* scan, bool forward);
  void ProcessFin(TNode* scan);
  void TriangulatePair(const TChain* a, const TChain* b);
  void Emit(const TNode* a, const TNode* b, const TNode* c);

  int32_t ContourCount = 0;
  std::vector<TNode*> XSorted;
  std::vector<TNode*> YSorted;
  TDxStablePool<TNode> Nodes;
  // Crossing points: what the result refers to, and where they lie before the
  // tie-breaking shifts, centred, in double, for crossings found later on their edges.
  struct TCrossingPoint {
    TXYZ Point;
    double X = 0.0;
    double Y = 0.0;
  };
  std::deque<TCrossingPoint> CrossingPoints;
  TDxRankedList Active;
  std::vector<const TXYZ*> Output;
  double SweepX = 0.0;
  size_t Current = 0;
  TXYZ Centre;
  double TouchTolerance = 0.0;  // unshifted points this close to an edge lie on it

  TDxStablePool<TChain> Chains;
  std::vector<TNode*> Stack;  // working stack of TriangulatePair
  bool Sorted = true;         // the sorted lists are sorted once, when Proceed starts
  TSearch Search;
  TPath First;
  TPath Taken = TPath::Sweep;
  std::vector<TDxEarClipper::TRing> Contours;  // as added, until the run starts
  TDxEarClipper Clipper;
};

// Triangulates one outline: 3 points per triangle, empty when nothing fills.
TXYZArray Tesselate(const TXYZArray& Points);

}  // namespace vellmar
