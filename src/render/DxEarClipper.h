#pragma once
// The tessellator's fast paths for what plans and glyphs are mostly made of: a convex
// outline becomes a fan; small outlines that neither cross nor touch themselves or each
// other, with holes one level deep, are joined into one ring through bridges to their
// holes and cut ear by ear. Everything else (crossings, shared points, holes in holes,
// and larger outlines, where the sweep is faster) is declined and left to the sweep,
// which fills any input by the odd rule; on what the clipper accepts both fill the same.
//
// Ownership: the clipper owns its working arrays and keeps their memory from run to
// run; the result refers to the caller's points, which it only reads.

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

class TDxEarClipper {
 public:
  // One closed outline as the caller holds it.
  struct TRing {
    const TXYZ* Points = nullptr;
    size_t Count = 0;
  };
  enum class TResult { Declined, Fan, Ears };

  // Up to this many points in all, outlines are tried for ear clipping. Measured on the
  // real outlines: above it the sweep is faster than cutting ears, also with a Z-order
  // index of the corners to find those inside an ear. Convex outlines are fanned at any
  // size.
  static constexpr size_t EarsUpTo = 64;

  // Appends three point references per triangle to `output`, or leaves it as it was
  // and answers Declined. `fan`: a single convex outline may be fanned; without it the
  // same outline is cut into ears (the tests run both).
  TResult Run(std::span<const TRing> rings, bool fan, std::vector<const TXYZ*>& output);

 private:
  struct TCorner {
    double X = 0.0;
    double Y = 0.0;
    const TXYZ* Point = nullptr;
    uint32_t Prev = 0;
    uint32_t Next = 0;
    bool Gone = false;    // cut off as an ear
    bool Convex = false;  // known convex (small rings, while cutting)
  };
  struct TRingInfo {
    uint32_t First = 0;  // a corner of the ring
    uint32_t Count = 0;
    double Area = 0.0;  // signed, twice the area
    double MinX = 0.0, MaxX = 0.0, MinY = 0.0, MaxY = 0.0;
    int32_t Parent = -1;  // the outline a hole lies in
  };
  struct TEdge {
    double MinX, MaxX, MinY, MaxY;
    uint32_t From;  // the edge runs from this corner to its Next
    uint32_t Ring;
  };

  bool LoadRing(const TRing& ring);
  bool Convex(const TRingInfo& ring) const;
  void Fan(const TRingInfo& ring, std::vector<const TXYZ*>& output) const;
  bool NoEdgesMeet();
  bool EdgesMeet(const TEdge& a, const TEdge& b) const;
  bool Nest();
  bool Inside(double x, double y, const TRingInfo& ring) const;
  void Reverse(TRingInfo& ring);
  bool Bridge(uint32_t outer, const TRingInfo& hole);
  bool LocallyInside(uint32_t corner, double x, double y) const;
  uint32_t Split(uint32_t a, uint32_t b);
  bool IsEar(uint32_t ear);
  bool Blocks(uint32_t p, uint32_t a, uint32_t b, uint32_t c) const;
  void Remove(uint32_t corner);
  // Cuts the ring of `count` corners from `start`.
  bool Clip(uint32_t start, uint32_t count, std::vector<const TXYZ*>& output);

  std::vector<TCorner> Corners;
  std::vector<TRingInfo> Rings;
  std::vector<TEdge> Edges;
  std::vector<uint32_t> Holes;
  std::vector<std::pair<double, uint32_t>> ByMinX;  // edges by their smallest X
  std::vector<uint32_t> Reflex;                     // corners that may stop an ear
};

}  // namespace vellmar
