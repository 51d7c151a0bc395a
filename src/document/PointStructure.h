#pragma once
// The street's shared point table. The table owns every point record (they come from
// a pool of fixed-size blocks, so their addresses stay put); point lists only refer to
// records and register themselves as the records' users.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "document/PointUsers.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TPointList;
class TStream;
class TStreetStructure;

// One shared vertex of the street.
struct TPointRecord {
  TXYZ Position;
  int32_t ID = 0;
  // Point lists that reference this point, once per reference (not owned).
  TPointUsers Users;
};

// Min X, min Y, max X, max Y.
using TPointBounds = std::array<float, 4>;

class TPointStructure {
 public:
  TPointStructure() = default;
  ~TPointStructure() = default;
  TPointStructure(const TPointStructure&) = delete;
  TPointStructure& operator=(const TPointStructure&) = delete;

  // The owning street; may be given once.
  void SetStreet(TStreetStructure* street);
  TStreetStructure* Street() const { return street_; }

  TPointRecord* NewPoint(const TXYZ& position);
  // The record with this ID (the first stored one should a damaged file repeat an ID),
  // or nullptr.
  TPointRecord* FindByID(int32_t id) const;
  int32_t Count() const { return static_cast<int32_t>(points_.size()); }
  TPointRecord* Items(int32_t index) const { return points_.at(static_cast<std::size_t>(index)); }
  int32_t LastID() const { return lastID_; }

  // Frees an unused record; a record that a point list still uses is refused.
  void Delete(int32_t index);
  void Clear();
  // Drops every record that no point list uses, keeping the order (and IDs) of the rest.
  void Compact();
  TPointBounds GetBounds();
  // A point has moved: the bounds are recomputed on the next request.
  void PositionsChanged() { boundsValid_ = false; }
  // The table is about to go with every point list that uses it: a list freed from now
  // on need not give up its uses of records that go right after it.
  void BeginDiscard() { discarding_ = true; }
  bool Discarding() const { return discarding_; }

  // Appends the points of a "PNTSTRCT" chunk to the table.
  void LoadFromStream(TStream& stream);
  // Writes the table as it stands; the street compacts it first.
  void SaveToStream(TStream& stream) const;

 private:
  TPointRecord* Allocate();
  void Release(TPointRecord* record);
  void PointsReordered();

  // Records are handed out from blocks of kBlockRecords in order; a block is never moved
  // or freed before the table is cleared.
  static constexpr std::size_t kBlockRecords = 4096;
  std::vector<std::unique_ptr<TPointRecord[]>> blocks_;
  std::size_t usedInLastBlock_ = kBlockRecords;
  std::vector<TPointRecord*> free_;
  std::vector<TPointRecord*> points_;
  TStreetStructure* street_ = nullptr;
  bool boundsValid_ = false;
  bool discarding_ = false;
  int32_t lastID_ = 0;
  TPointBounds bounds_{};
  // Points are normally in ascending ID order and found by binary search over them;
  // a table loaded from a stream whose IDs do not ascend is searched through this
  // index (sorted by ID, ties in table order), rebuilt on demand.
  bool ascending_ = true;
  mutable bool indexValid_ = false;
  mutable std::vector<TPointRecord*> byID_;
};

}  // namespace vellmar
