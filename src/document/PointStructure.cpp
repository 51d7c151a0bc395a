#include "document/PointStructure.h"

#include <algorithm>
#include <string>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/Stream.h"

namespace vellmar {

namespace {
// ID, then X, Y, Z as doubles.
constexpr size_t kStoredPointSize = 4 + 3 * 8;
}  // namespace

void TPointStructure::SetStreet(TStreetStructure* street) {
  if (street_ != nullptr) throw EVellmarError("TPointStructure : SetStreet - Street<>nil");
  street_ = street;
}

TPointRecord* TPointStructure::Allocate() {
  if (free_.empty()) return &pool_.emplace_back();
  TPointRecord* record = free_.back();
  free_.pop_back();
  return record;
}

void TPointStructure::Release(TPointRecord* record) {
  *record = TPointRecord{};
  free_.push_back(record);
}

void TPointStructure::PointsReordered() {
  boundsValid_ = false;
  indexValid_ = false;
}

TPointRecord* TPointStructure::NewPoint(const TXYZ& position) {
  ++lastID_;
  TPointRecord* record = Allocate();
  record->Position = position;
  record->ID = lastID_;
  // LastID is the highest ID in the table, so appending keeps an ascending table ascending.
  points_.push_back(record);
  PointsReordered();
  return record;
}

TPointRecord* TPointStructure::FindByID(int32_t id) const {
  const auto byID = [](const TPointRecord* record, int32_t value) { return record->ID < value; };
  if (ascending_) {
    auto it = std::lower_bound(points_.begin(), points_.end(), id, byID);
    return it != points_.end() && (*it)->ID == id ? *it : nullptr;
  }
  if (!indexValid_) {
    byID_ = points_;
    std::stable_sort(byID_.begin(), byID_.end(),
                     [](const TPointRecord* a, const TPointRecord* b) { return a->ID < b->ID; });
    indexValid_ = true;
  }
  auto it = std::lower_bound(byID_.begin(), byID_.end(), id, byID);
  return it != byID_.end() && (*it)->ID == id ? *it : nullptr;
}

void TPointStructure::Delete(int32_t index) {
  TPointRecord* record = Items(index);
  // Lists hold their records by address; freeing one still in use would leave them dangling.
  if (!record->Users.empty()) {
    throw EVellmarError("TPointStructure.Delete: point " + std::to_string(record->ID) + " is in use");
  }
  points_.erase(points_.begin() + index);
  Release(record);
  PointsReordered();
}

void TPointStructure::Clear() {
  points_.clear();
  free_.clear();
  pool_.clear();
  byID_.clear();
  lastID_ = 0;
  ascending_ = true;
  PointsReordered();
}

void TPointStructure::Compact() {
  auto kept = std::remove_if(points_.begin(), points_.end(), [this](TPointRecord* record) {
    if (!record->Users.empty()) return false;
    Release(record);
    return true;
  });
  points_.erase(kept, points_.end());
  PointsReordered();
}

TPointBounds TPointStructure::GetBounds() {
  if (!boundsValid_) {
    bounds_ = {};
    if (!points_.empty()) {
      const TXYZ& first = points_.front()->Position;
      bounds_ = {first.x, first.y, first.x, first.y};
      for (const TPointRecord* record : points_) {
        bounds_[0] = std::min(bounds_[0], record->Position.x);
        bounds_[1] = std::min(bounds_[1], record->Position.y);
        bounds_[2] = std::max(bounds_[2], record->Position.x);
        bounds_[3] = std::max(bounds_[3], record->Position.y);
      }
    }
    boundsValid_ = true;
  }
  return bounds_;
}

void TPointStructure::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "PNTSTRCT")) throw EVellmarError("TPointStructure.LoadFromStream: Ident<>PNTSTRCT");
  const int32_t count = ReadCount(stream, kStoredPointSize);
  points_.reserve(points_.size() + static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const int32_t id = ReadInt32(stream);
    const double x = ReadDouble(stream);
    const double y = ReadDouble(stream);
    ReadDouble(stream);  // the stored Z is not used on plans
    TPointRecord* record = Allocate();
    record->ID = id;
    record->Position = TXYZ{static_cast<float>(x), static_cast<float>(y), 0.0f};
    points_.push_back(record);
    lastID_ = std::max(lastID_, id);
  }
  ascending_ =
      std::adjacent_find(points_.begin(), points_.end(), [](const TPointRecord* a, const TPointRecord* b) {
        return a->ID >= b->ID;
      }) == points_.end();
  PointsReordered();
}

void TPointStructure::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "PNTSTRCT");
  WriteInt32(stream, Count());
  for (const TPointRecord* record : points_) {
    WriteInt32(stream, record->ID);
    WriteDouble(stream, record->Position.x);
    WriteDouble(stream, record->Position.y);
    WriteDouble(stream, record->Position.z);
  }
}

}  // namespace vellmar
