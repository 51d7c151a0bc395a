#include "document/PointStructure.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/Stream.h"

namespace vellmar {

namespace {
// ID, then X, Y, Z as doubles.
constexpr size_t kStoredPointSize = 4 + 3 * 8;
// Points are read and written this many at a time, one stream call each block rather
// than four per point; a block stays within the file stream's buffer.
constexpr size_t kPointsPerBlock = 2048;

struct TStoredPoint {
  int32_t ID;
  double X, Y, Z;
};

TStoredPoint DecodePoint(const uint8_t* bytes) {
  TStoredPoint point{};
  std::memcpy(&point.ID, bytes, 4);
  std::memcpy(&point.X, bytes + 4, 8);
  std::memcpy(&point.Y, bytes + 12, 8);
  std::memcpy(&point.Z, bytes + 20, 8);
  return point;
}

// Whether every ID is above the one before it.
bool IDsAscend(const std::vector<TPointRecord*>& points) {
  return std::adjacent_find(points.begin(), points.end(), [](const TPointRecord* a, const TPointRecord* b) {
           return a->ID >= b->ID;
         }) == points.end();
}

void EncodePoint(const TStoredPoint& point, uint8_t* bytes) {
  std::memcpy(bytes, &point.ID, 4);
  std::memcpy(bytes + 4, &point.X, 8);
  std::memcpy(bytes + 12, &point.Y, 8);
  std::memcpy(bytes + 20, &point.Z, 8);
}
}  // namespace

void TPointStructure::SetStreet(TStreetStructure* street) {
  if (street_ != nullptr) throw EVellmarError("TPointStructure : SetStreet - Street<>nil");
  street_ = street;
}

TPointRecord* TPointStructure::Allocate() {
  if (!free_.empty()) {
    TPointRecord* record = free_.back();
    free_.pop_back();
    return record;
  }
  if (usedInLastBlock_ == kBlockRecords) {
    blocks_.push_back(std::make_unique<TPointRecord[]>(kBlockRecords));
    usedInLastBlock_ = 0;
  }
  return &blocks_.back()[usedInLastBlock_++];
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
    // IDs mostly run without gaps from the first one, so the place the ID would have in
    // an unbroken run is tried before the search.
    if (!points_.empty()) {
      const int64_t guess = int64_t{id} - points_.front()->ID;
      if (guess >= 0 && guess < static_cast<int64_t>(points_.size()) &&
          points_[static_cast<size_t>(guess)]->ID == id) {
        return points_[static_cast<size_t>(guess)];
      }
    }
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
  blocks_.clear();
  usedInLastBlock_ = kBlockRecords;
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
  const auto count = static_cast<size_t>(ReadCount(stream, kStoredPointSize));
  // Whether the IDs still ascend is followed while they are read rather than found by
  // visiting every record again afterwards.
  bool ascending = ascending_ || IDsAscend(points_);
  int64_t previousID = points_.empty() ? std::numeric_limits<int64_t>::min() : points_.back()->ID;
  points_.reserve(points_.size() + count);
  std::vector<uint8_t> block(std::min(count, kPointsPerBlock) * kStoredPointSize);
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(count - done, kPointsPerBlock);
    stream.ReadBuffer(block.data(), n * kStoredPointSize, "TPointStructure.LoadFromStream");
    for (size_t k = 0; k < n; ++k) {
      // The stored Z is not used on plans.
      const TStoredPoint stored = DecodePoint(block.data() + k * kStoredPointSize);
      TPointRecord* record = Allocate();
      record->ID = stored.ID;
      record->Position = TXYZ{static_cast<float>(stored.X), static_cast<float>(stored.Y), 0.0f};
      points_.push_back(record);
      lastID_ = std::max(lastID_, stored.ID);
      ascending = ascending && stored.ID > previousID;
      previousID = stored.ID;
    }
    done += n;
  }
  ascending_ = ascending;
  PointsReordered();
}

void TPointStructure::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "PNTSTRCT");
  WriteInt32(stream, Count());
  std::vector<uint8_t> block(std::min(points_.size(), kPointsPerBlock) * kStoredPointSize);
  for (size_t done = 0; done < points_.size();) {
    const size_t n = std::min(points_.size() - done, kPointsPerBlock);
    for (size_t k = 0; k < n; ++k) {
      const TPointRecord& record = *points_[done + k];
      EncodePoint({record.ID, record.Position.x, record.Position.y, record.Position.z},
                  block.data() + k * kStoredPointSize);
    }
    stream.Write(block.data(), n * kStoredPointSize);
    done += n;
  }
}

}  // namespace vellmar
