#include "document/PointList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "platform/Error.h"

namespace vellmar {

namespace {

// Vertices closer than this are one vertex after a load.
constexpr double kDuplicateDistance = 0.001;
// Length of a Bézier control arm as a share of its segment (exactly this, not a third).
constexpr double kControlShare = 0.333;
constexpr int32_t kMinSamples = 4;
constexpr int32_t kMaxSamples = 100;
// Point IDs are read and written this many at a time (stored little-endian, as held).
constexpr size_t kIDsPerBlock = 256;

TXYZ UnitLeftNormal(const TXYZ& from, const TXYZ& to) {
  return SetLengthXYZ(PerpLeft(SubXYZ(from, to)), 1.0);
}

double Lerp(double a, double b, double t) {
  return a + (b - a) * t;
}

}  // namespace

TPointList::TPointList(TAbstractItem* owner, TPointStructure& table) : owner_(owner), table_(table) {}

TPointList::~TPointList() {
  // The records outlive the list (they are freed by the table's Compact or Clear), so
  // they must not keep pointing at it - unless they are going too.
  if (table_.Discarding()) return;
  for (TPointRecord* record : vertices_) record->Users.Remove(this);
}

TXYZ TPointList::GetVertex(int32_t i) const {
  return VertexRecord(i)->Position;
}

TXYZArray TPointList::GetVertices() const {
  TXYZArray result;
  result.reserve(vertices_.size());
  for (const TPointRecord* record : vertices_) result.push_back(record->Position);
  return result;
}

TPointRecord* TPointList::VertexRecord(int32_t i) const {
  if (i < 0 || i >= Count()) {
    throw EVellmarError("TPointList.VertexRecord: index " + std::to_string(i) + " out of range");
  }
  return vertices_[static_cast<size_t>(i)];
}

int32_t TPointList::IndexOf(const TPointRecord* record) const {
  auto it = std::find(vertices_.begin(), vertices_.end(), record);
  return it == vertices_.end() ? -1 : static_cast<int32_t>(it - vertices_.begin());
}

bool TPointList::OwnerIsClosed() const {
  return owner_ != nullptr && owner_->IsClosed();
}

bool TPointList::OwnerIsArc() const {
  return owner_ != nullptr && owner_->KindIndex() == kArcCoordsKind;
}

void TPointList::InsertByID(int32_t i, int32_t id) {
  Insert(i, table_.FindByID(id));
}

void TPointList::InsertNew(int32_t i, const TXYZ& position) {
  Insert(i, table_.NewPoint(position));
}

void TPointList::Insert(int32_t i, TPointRecord* record) {
  if (record == nullptr) return;
  const int32_t count = Count();
  if (i < 0 || i > count) {
    throw EVellmarError("TPointList.Insert: index " + std::to_string(i) + " out of range");
  }
  const int32_t prev = i - 1;
  int32_t next = i == count ? 0 : i;
  // Only a closed line wraps round to vertex 0; an open one has no neighbour there.
  if (next == 0 && !OwnerIsClosed()) next = -1;
  const auto samePlace = [&](int32_t k) {
    return k >= 0 && k < count && XYZEqual(vertices_[static_cast<size_t>(k)]->Position, record->Position);
  };
  if (samePlace(prev) || samePlace(next)) return;
  record->Users.push_back(this);
  vertices_.insert(vertices_.begin() + i, record);
  VertexChanged(i);
}

void TPointList::SetVertex(int32_t i, const TXYZ& position) {
  VertexRecord(i)->Position = position;
  table_.PositionsChanged();
  VertexChanged(i);
}

void TPointList::Delete(int32_t i) {
  TPointRecord* record = VertexRecord(i);
  record->Users.Remove(this);
  vertices_.erase(vertices_.begin() + i);
  // Copied: VertexChanged of another list never edits Users, but the copy keeps the loop
  // independent of that.
  const std::vector<TPointList*> users(record->Users.begin(), record->Users.end());
  for (TPointList* user : users) {
    if (user != this) user->VertexChanged(user->IndexOf(record));
  }
  modified_ = true;
  polylineValid_ = false;
  if (owner_ != nullptr) {
    owner_->KindNeedsRebuild();
    owner_->Street().MarkModified();
  }
}

void TPointList::Invalidate() {
  modified_ = true;
  polylineValid_ = false;
  if (owner_ != nullptr) owner_->KindNeedsRebuild();
}

void TPointList::NotifyOwnerChanged() {
  if (owner_ == nullptr) return;
  owner_->PointsChanged();
  owner_->Street().MarkModified();
  owner_->KindNeedsRebuild();
}

void TPointList::VertexChanged(int32_t i) {
  for (TPointList* user : VertexRecord(i)->Users) {
    if (user != this) user->Invalidate();
  }
  const bool wasModified = modified_;
  polylineValid_ = false;
  modified_ = true;
  if (!wasModified) NotifyOwnerChanged();
}

void TPointList::SetModified(bool flag) {
  if (flag == modified_) return;
  if (!flag) {
    modified_ = false;
    return;
  }
  for (TPointRecord* record : vertices_) {
    for (TPointList* user : record->Users) user->Invalidate();
  }
  Invalidate();
  NotifyOwnerChanged();
}

void TPointList::SetSmooth(bool smooth) {
  if (smooth == smooth_) return;
  smooth_ = smooth;
  SetModified(true);
}

bool TPointList::IsFreeOpenLine() const {
  if (owner_ != nullptr && (owner_->IsAnnotationKind() || owner_->IsClosed())) return false;
  if (Count() < 3) return true;
  for (int32_t i = 1; i + 1 < Count(); ++i) {
    for (const TPointList* user : vertices_[static_cast<size_t>(i)]->Users) {
      if (user == this) continue;
      if (user->owner_ == nullptr || !user->owner_->IsAnnotationKind()) return false;
    }
  }
  return true;
}

// ---- polyline -------------------------------------------------------------------------

void TPointList::EnsurePolyline() {
  // Validity alone decides: an item's rebuild clears Modified, but a list that no rebuild
  // evaluated (a curve's, whose kind draws later or not at all) must still evaluate when a
  // follower reads it.
  if (polylineValid_) return;
  polyline_.clear();
  vertexIndex_.clear();
  if (Count() >= 2) {
    if (OwnerIsArc() || (smooth_ && IsFreeOpenLine())) {
      BuildSmooth();
    } else {
      BuildStraight();
    }
  }
  polylineValid_ = true;
  measuresValid_ = false;
}

void TPointList::EnsureMeasures() {
  EnsurePolyline();
  if (measuresValid_) return;
  stations_.clear();
  offsets_.clear();
  if (polyline_.size() >= 2) Measure();
  measuresValid_ = true;
}

void TPointList::AppendSegmentPath(int32_t i) {
  TPointRecord* from = vertices_[static_cast<size_t>(i)];
  TPointRecord* to = vertices_[static_cast<size_t>((i + 1) % Count())];
  for (TPointList* user : from->Users) {
    if (user == this || user->owner_ == nullptr || user->owner_->KindIndex() != kArcCoordsKind) continue;
    const int32_t a = user->IndexOf(from);
    const int32_t b = user->IndexOf(to);
    if (a < 0 || b < 0 || std::abs(a - b) != 1) continue;
    // The segment runs along the arc: take the arc's own densified points.
    const std::vector<int32_t>& arcIndex = user->VertexIndex();
    const TXYZArray& arc = user->Polyline();
    const int32_t start = arcIndex[static_cast<size_t>(a)];
    const int32_t end = arcIndex[static_cast<size_t>(b)];
    const int32_t step = start <= end ? 1 : -1;
    for (int32_t k = start; k != end; k += step) polyline_.push_back(arc[static_cast<size_t>(k)]);
    return;
  }
  polyline_.push_back(from->Position);
}

void TPointList::BuildStraight() {
  const bool closed = OwnerIsClosed();
  const int32_t segments = closed ? Count() : Count() - 1;
  // One point per vertex unless a segment runs along a curve.
  polyline_.reserve(static_cast<size_t>(segments) + 1);
  vertexIndex_.reserve(static_cast<size_t>(segments) + 1);
  for (int32_t i = 0; i < segments; ++i) {
    vertexIndex_.push_back(static_cast<int32_t>(polyline_.size()));
    AppendSegmentPath(i);
  }
  vertexIndex_.push_back(static_cast<int32_t>(polyline_.size()));
  polyline_.push_back(closed ? GetVertex(0) : GetVertex(Count() - 1));
}

void TPointList::BuildSmooth() {
  const int32_t count = Count();
  const TXYZArray v = GetVertices();
  TXYZArray control(static_cast<size_t>(3 * count - 2));
  const auto at = [&](int32_t k) -> TXYZ& { return control[static_cast<size_t>(k)]; };
  for (int32_t i = 0; i < count; ++i) at(3 * i) = v[static_cast<size_t>(i)];
  if (count == 2) {
    at(1) = LerpXYZ(v[0], v[1], kControlShare);
    at(2) = LerpXYZ(v[0], v[1], 0.667);
  } else {
    for (int32_t i = 1; i + 1 < count; ++i) {
      const TXYZ& prev = v[static_cast<size_t>(i - 1)];
      const TXYZ& vertex = v[static_cast<size_t>(i)];
      const TXYZ& next = v[static_cast<size_t>(i + 1)];
      const TXYZ incoming = SubXYZ(prev, vertex);
      const TXYZ outgoing = SubXYZ(vertex, next);
      const TXYZ tangent = Midpoint(SetLengthXYZ(incoming, 1.0), SetLengthXYZ(outgoing, 1.0));
      at(3 * i - 1) = SubXYZ(SetLengthXYZ(tangent, kControlShare * LengthXYZ(incoming)), vertex);
      at(3 * i + 1) = AddXYZ(vertex, SetLengthXYZ(tangent, kControlShare * LengthXYZ(outgoing)));
    }
    // The end controls mirror their neighbours' across the end segments.
    const TXYZ firstArm = SubXYZ(v[1], at(2));
    at(1) = AddXYZ(v[0], Negate2D(MirrorAcross(firstArm, SubXYZ(v[0], v[1]))));
    const int32_t last = count - 1;
    const TXYZ lastArm = SubXYZ(at(3 * last - 3), at(3 * last - 2));
    at(3 * last - 1) =
        AddXYZ(at(3 * last), Negate2D(MirrorAcross(lastArm, SubXYZ(at(3 * last - 3), at(3 * last)))));
  }

  for (int32_t i = 0; i + 1 < count; ++i) {
    const TXYZ& p0 = at(3 * i);
    const TXYZ& c1 = at(3 * i + 1);
    const TXYZ& c2 = at(3 * i + 2);
    const TXYZ& p1 = at(3 * i + 3);
    // Power form per coordinate: a3 t^3 + a2 t^2 + a1 t + a0.
    const double a3x = double(p1.x) - 3.0 * c2.x + 3.0 * c1.x - p0.x;
    const double a3y = double(p1.y) - 3.0 * c2.y + 3.0 * c1.y - p0.y;
    const double a2x = 3.0 * c2.x - 6.0 * c1.x + 3.0 * p0.x;
    const double a2y = 3.0 * c2.y - 6.0 * c1.y + 3.0 * p0.y;
    const double a1x = 3.0 * c1.x - 3.0 * p0.x;
    const double a1y = 3.0 * c1.y - 3.0 * p0.y;
    // The bend of the segment: the triangle of its derivatives at t = 0, 0.5 and 1.
    const TXYZ d0 = MakeXYZ(a1x, a1y, 0.0);
    const TXYZ dMid = MakeXYZ(a1x + a2x + 0.75 * a3x, a1y + a2y + 0.75 * a3y, 0.0);
    const TXYZ d1 = MakeXYZ(a1x + 2.0 * a2x + 3.0 * a3x, a1y + 2.0 * a2y + 3.0 * a3y, 0.0);
    const double samples = std::nearbyint(AbsArea(d0, dMid, d1) / 0.1) - 1.0;
    // Equal or non-finite vertices give no bend at all (NaN): the fewest samples then.
    const int32_t n = std::isnan(samples)
                          ? kMinSamples
                          : static_cast<int32_t>(std::clamp(samples, double(kMinSamples), double(kMaxSamples)));
    vertexIndex_.push_back(static_cast<int32_t>(polyline_.size()));
    polyline_.push_back(MakeXYZ(p0.x, p0.y, 0.0));
    for (int32_t k = 1; k < n; ++k) {
      const double t = double(k) / n;
      polyline_.push_back(
          MakeXYZ(((a3x * t + a2x) * t + a1x) * t + p0.x, ((a3y * t + a2y) * t + a1y) * t + p0.y, 0.0));
    }
  }
  vertexIndex_.push_back(static_cast<int32_t>(polyline_.size()));
  polyline_.push_back(v.back());
}

void TPointList::Measure() {
  const size_t n = polyline_.size();
  stations_.resize(n);
  stations_[0] = 0.0f;
  for (size_t k = 0; k + 1 < n; ++k) {
    stations_[k + 1] = static_cast<float>(stations_[k] + DistanceXYZ(polyline_[k], polyline_[k + 1]));
  }
  offsets_.resize(n);
  offsets_[0] = UnitLeftNormal(polyline_[0], polyline_[1]);
  for (size_t k = 1; k + 1 < n; ++k)
    offsets_[k] = MiterOffset(polyline_[k - 1], polyline_[k], polyline_[k + 1]);
  offsets_[n - 1] = UnitLeftNormal(polyline_[n - 2], polyline_[n - 1]);
}

const TXYZArray& TPointList::Polyline() {
  EnsurePolyline();
  return polyline_;
}

const std::vector<int32_t>& TPointList::VertexIndex() {
  EnsurePolyline();
  return vertexIndex_;
}

const std::vector<float>& TPointList::Stations() {
  EnsureMeasures();
  return stations_;
}

const TXYZArray& TPointList::Offsets() {
  EnsureMeasures();
  return offsets_;
}

// ---- measuring ------------------------------------------------------------------------

namespace {

// The polyline segment a parameter falls on (clamped), and the unclamped fraction along it.
struct TSegmentAt {
  size_t Segment;
  double Fraction;
};

TSegmentAt SegmentAt(double parameter, size_t points) {
  const double last = double(points) - 2.0;
  // A NaN parameter (from damaged coordinates) stays NaN in the result but must not
  // pick a segment.
  const double segment = std::isnan(parameter) ? 0.0 : std::clamp(std::trunc(parameter), 0.0, last);
  return {static_cast<size_t>(segment), parameter - segment};
}

}  // namespace

TXYZ TPointList::PointAt(double parameter) {
  EnsurePolyline();
  if (polyline_.size() < 2) return TXYZ{};
  const TSegmentAt at = SegmentAt(parameter, polyline_.size());
  return LerpXYZ(polyline_[at.Segment], polyline_[at.Segment + 1], at.Fraction);
}

double TPointList::StationAt(double parameter) {
  EnsureMeasures();
  if (polyline_.size() < 2) return 0.0;
  const TSegmentAt at = SegmentAt(parameter, polyline_.size());
  return Lerp(stations_[at.Segment], stations_[at.Segment + 1], at.Fraction);
}

double TPointList::AngleAt(double parameter) {
  EnsurePolyline();
  if (polyline_.size() < 2) return 0.0;
  const TSegmentAt at = SegmentAt(parameter, polyline_.size());
  return AngleOf(SubXYZ(polyline_[at.Segment], polyline_[at.Segment + 1]));
}

double TPointList::ParamAtStation(double station) {
  EnsureMeasures();
  if (polyline_.size() < 2) return 0.0;
  const size_t last = polyline_.size() - 1;
  size_t i = 0;
  while (i < last && stations_[i] < station) ++i;
  if (i > 0) --i;
  return double(i) + (station - stations_[i]) / (double(stations_[i + 1]) - stations_[i]);
}

std::optional<TPolylineLocation> TPointList::Locate(const TXYZ& point) {
  EnsureMeasures();
  const int32_t nearest = NearestSegment(polyline_, point);
  if (nearest < 0 || static_cast<size_t>(nearest) + 1 >= polyline_.size()) return std::nullopt;
  const size_t a = static_cast<size_t>(nearest);
  const double d = PointLineRelation(point, polyline_[a], polyline_[a + 1]).distance;
  const TXYZ from = AddXYZ(polyline_[a], ScaleXYZ(offsets_[a], d));
  const TXYZ to = AddXYZ(polyline_[a + 1], ScaleXYZ(offsets_[a + 1], d));
  const double f = PointLineRelation(point, from, to).t;
  return TPolylineLocation{double(a) + f, d, Lerp(stations_[a], stations_[a + 1], f)};
}

double TPointList::ParamOfPoint(const TXYZ& point) {
  const std::optional<TPolylineLocation> location = Locate(point);
  return location ? location->Parameter : 0.0;
}

TXYZ TPointList::OffsetPointAt(double offset, double parameter) {
  EnsureMeasures();
  if (polyline_.size() < 2) return TXYZ{};
  const size_t last = polyline_.size() - 1;
  const auto shifted = [&](size_t k) { return AddXYZ(polyline_[k], ScaleXYZ(offsets_[k], offset)); };
  if (parameter < 0.0) {
    return AddXYZ(AddXYZ(polyline_[0], ScaleXYZ(SubXYZ(polyline_[0], polyline_[1]), parameter)),
                  ScaleXYZ(offsets_[0], offset));
  }
  if (parameter > double(last)) {
    return AddXYZ(AddXYZ(polyline_[last],
                         ScaleXYZ(SubXYZ(polyline_[last - 1], polyline_[last]), parameter - double(last))),
                  ScaleXYZ(offsets_[last], offset));
  }
  const TSegmentAt at = SegmentAt(parameter, polyline_.size());
  return LerpXYZ(shifted(at.Segment), shifted(at.Segment + 1), at.Fraction);
}

TXYZArray TPointList::OffsetPolyline(double offset) {
  EnsureMeasures();
  TXYZArray result(polyline_.size());
  for (size_t k = 0; k < polyline_.size(); ++k)
    result[k] = AddXYZ(polyline_[k], ScaleXYZ(offsets_[k], offset));
  return result;
}

double TPointList::SegmentAngle(int32_t i) {
  EnsurePolyline();
  const int32_t count = Count();
  if (count < 2) return 0.0;
  const int32_t from = i == -1 ? count - 1 : i;
  const int32_t to = i == -1 ? 0 : (i + 1) % count;
  return AngleOf(SubXYZ(GetVertex(from), GetVertex(to)));
}

bool TPointList::Intersect(const TXYZ& a, const TXYZ& b, double minParameter, TPolylineCrossing& crossing) {
  EnsurePolyline();
  for (size_t j = 0; j + 1 < polyline_.size(); ++j) {
    const std::optional<TLineCrossing> hit = SegmentIntersect(a, b, polyline_[j], polyline_[j + 1]);
    if (!hit || hit->t < 0.0 || hit->t > 1.0 || hit->u < 0.0 || hit->u > 1.0) continue;
    crossing = TPolylineCrossing{double(j) + hit->u, hit->t};
    if (crossing.Parameter > minParameter) return true;
  }
  return false;
}

// ---- stream ---------------------------------------------------------------------------

void TPointList::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "PNTLIST ")) return;
  if (TestIdent(stream, "PNTLSTSP")) smooth_ = ReadFlag(stream);
  const auto count = static_cast<size_t>(ReadCount(stream, sizeof(int32_t)));
  vertices_.reserve(vertices_.size() + count);
  std::array<int32_t, kIDsPerBlock> ids;
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(count - done, ids.size());
    stream.ReadBuffer(ids.data(), n * sizeof(int32_t), "TPointList.LoadFromStream");
    for (size_t k = 0; k < n; ++k) InsertByID(Count(), ids[k]);
    done += n;
  }
  for (int32_t j = Count() - 2; j >= 0; --j) {
    if (DistanceXYZ(GetVertex(j), GetVertex(j + 1)) < kDuplicateDistance) Delete(j + 1);
  }
}

void TPointList::SaveToStream(TStream& stream) const {
  if (vertices_.empty()) return;
  WriteIdent(stream, "PNTLIST ");
  WriteIdent(stream, "PNTLSTSP");
  WriteFlag(stream, smooth_);
  WriteInt32(stream, Count());
  std::array<int32_t, kIDsPerBlock> ids;
  for (size_t done = 0; done < vertices_.size();) {
    const size_t n = std::min(vertices_.size() - done, ids.size());
    for (size_t k = 0; k < n; ++k) ids[k] = vertices_[done + k]->ID;
    stream.Write(ids.data(), n * sizeof(int32_t));
    done += n;
  }
}

}  // namespace vellmar
