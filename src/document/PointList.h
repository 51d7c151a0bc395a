#pragma once
// An item's vertices: references to records of the street's shared point table, plus the
// polyline derived from them (densified along arcs or smoothed, with stations and left
// offset vectors), cached until a vertex changes. The list does not own its records; it
// registers as their user so that a change of a shared point reaches every list using it.
// It is owned by its item.

#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;
class TPointStructure;
class TStream;
struct TPointRecord;

// Where a point lies relative to a polyline.
struct TPolylineLocation {
  double Parameter = 0.0;  // polyline-segment index + fraction
  double Offset = 0.0;     // signed distance, positive to the left
  double Station = 0.0;    // length along the polyline
};

// A crossing of a segment A-B with a polyline.
struct TPolylineCrossing {
  double Parameter = 0.0;  // on the polyline
  double Fraction = 0.0;   // along A-B
};

class TPointList {
 public:
  // owner may be nullptr for a list that belongs to no item (an open line of no kind).
  TPointList(TAbstractItem* owner, TPointStructure& table);
  ~TPointList();
  TPointList(const TPointList&) = delete;
  TPointList& operator=(const TPointList&) = delete;

  TAbstractItem* Owner() const { return owner_; }
  TPointStructure& Table() const { return table_; }

  int32_t Count() const { return static_cast<int32_t>(vertices_.size()); }
  TXYZ GetVertex(int32_t i) const;
  TXYZArray GetVertices() const;
  TPointRecord* VertexRecord(int32_t i) const;
  int32_t IndexOf(const TPointRecord* record) const;

  void InsertByID(int32_t i, int32_t id);
  void InsertNew(int32_t i, const TXYZ& position);
  // Inserts before vertex i (appends when i = Count); refused without effect when the
  // record is exactly at the position of the neighbour it would follow or precede.
  void Insert(int32_t i, TPointRecord* record);
  void SetVertex(int32_t i, const TXYZ& position);
  void Delete(int32_t i);

  bool Modified() const { return modified_; }
  void SetModified(bool flag);
  void VertexChanged(int32_t i);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool smooth);

  void EnsurePolyline();
  const TXYZArray& Polyline();
  const std::vector<int32_t>& VertexIndex();
  const std::vector<float>& Stations();
  const TXYZArray& Offsets();

  TXYZ PointAt(double parameter);
  double AngleAt(double parameter);
  double StationAt(double parameter);
  double ParamAtStation(double station);
  double ParamOfPoint(const TXYZ& point);
  // Nothing when there is no polyline segment.
  std::optional<TPolylineLocation> Locate(const TXYZ& point);
  TXYZ OffsetPointAt(double offset, double parameter);
  TXYZArray OffsetPolyline(double offset);
  double SegmentAngle(int32_t i);
  // The first crossing of A-B with the polyline beyond minParameter; when there is none,
  // the last crossing found (if any) comes back with found = false.
  bool Intersect(const TXYZ& a, const TXYZ& b, double minParameter, TPolylineCrossing& crossing);

  bool IsFreeOpenLine() const;

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  bool OwnerIsClosed() const;
  bool OwnerIsArc() const;
  // Marks the list stale and its kind for rebuilding, without notifying the owner.
  void Invalidate();
  void NotifyOwnerChanged();
  void BuildStraight();
  void BuildSmooth();
  void AppendSegmentPath(int32_t i);
  // Stations and offsets are worked out on first use after the polyline changed: most
  // lists are only drawn, which needs neither.
  void EnsureMeasures();
  void Measure();

  TAbstractItem* owner_;
  TPointStructure& table_;
  std::vector<TPointRecord*> vertices_;
  bool modified_ = false;
  TXYZArray polyline_;
  std::vector<int32_t> vertexIndex_;
  std::vector<float> stations_;
  TXYZArray offsets_;
  bool polylineValid_ = false;
  bool measuresValid_ = false;
  bool smooth_ = false;
};

}  // namespace vellmar
