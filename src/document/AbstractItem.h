#pragma once
// The base of every plan element. An item belongs to its street's item list of its kind
// (which owns it); the item owns its point list and its one-slot reference list. The
// virtual interface keeps a fixed slot order; class-level slots answer from the kind's
// registry entry, which is the one place a kind states them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/ConnectedItems.h"
#include "document/Ident.h"
#include "document/PointList.h"
#include "geometry/Matrix44.h"
#include "geometry/XYZ.h"
#include "render/DxPrimCollection.h"

namespace vellmar {

class TStream;
class TStreetStructure;
struct TItemKind;

// The primitives an item added to one of its kind's collections.
struct TKindPrimitives {
  TDxPrimCollection* Collection = nullptr;  // owned by the street
  TDxPrimRange Prims;
};

// A 32-bit set of drawing modes handed down to collections and immediate drawing.
using TModeSet = uint32_t;

class TAbstractItem {
 public:
  // Slot 0: Create. Kinds are made through their registry factory.
  TAbstractItem(TStreetStructure& street, const TItemKind& kind);
  virtual ~TAbstractItem();
  TAbstractItem(const TAbstractItem&) = delete;
  TAbstractItem& operator=(const TAbstractItem&) = delete;

  // Slot 1 (class level): see TItemKind::InitKindCollections.
  void InitKindCollections() const;
  // Slot 2: adds the item's geometry to its kind's collections; the base draws nothing.
  virtual void BuildPrimitives() {}
  // Slot 3: once the whole street is loaded and its references resolved.
  virtual void AfterLoad() {}
  // Slot 4: the point list has just become modified.
  virtual void PointsChanged() {}
  // Slots 5 to 8 (class level).
  virtual uint8_t Category() const;
  virtual int32_t KindIndex() const;
  virtual std::string_view DisplayName() const;
  virtual TIdent Ident() const;
  // Slot 9: true when the point is within maxDistance of the item; distance is set then.
  // The base tests the distance to its polyline (or its single vertex).
  virtual bool HitTest(const TXYZ& point, float& distance, float maxDistance);
  // Slots 10 and 11: the "ITEM    " chunk; kinds call these first, then their own chunks.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  // Slots 12 and 13: property captions and their values, one per line, in the same order.
  virtual void GetPropertyNames(std::vector<std::string>& lines) const;
  virtual void GetPropertyValues(std::vector<std::string>& lines) const;
  // Slots 14 to 17 (class level).
  virtual int32_t MinPointCount() const;
  virtual int32_t MaxPointCount() const;
  virtual bool IsClosed() const;
  virtual bool IsAnnotationKind() const;
  // Slot 18: per-frame drawing after the kind's collections; the base draws nothing.
  virtual void DrawImmediate(const TDxDrawParams& params, TModeSet modes);
  // Slot 19: immediate drawing outside the retained collections; the base draws nothing.
  virtual void DrawDirect(const TDxDrawParams& params);
  // Slot 20: the defaults of a newly placed item; the base has none.
  virtual void InitDefaults() {}
  // Slot 21 has no counterpart here: there is no CAD automation object on this platform.
  // Slot 22: SVG elements of the item through the view matrix; the base writes its
  // polyline as one <polyline>.
  virtual void ExportSvg(std::vector<std::string>& lines, const TMatrix44& view);
  // Slot 23: the vertices through a matrix.
  virtual void GetTransformedPoints(const TMatrix44& matrix, TXYZArray& points) const;

  const TItemKind& Kind() const { return kind_; }
  TStreetStructure& Street() const { return street_; }
  int32_t ID() const { return id_; }
  void SetID(int32_t id);
  TPointList& Points() { return points_; }
  const TPointList& Points() const { return points_; }
  bool Invalid() const { return invalid_; }
  void SetInvalid(bool invalid) { invalid_ = invalid; }
  bool Active() const { return active_; }
  const std::string& GroupName() const { return groupName_; }
  void SetGroupName(const std::string& name);
  const std::string& Comment() const { return comment_; }
  void SetComment(const std::string& comment) { comment_ = comment; }
  const std::string& Comment2() const { return comment2_; }
  void SetComment2(const std::string& comment) { comment2_ = comment; }
  TConnectedItems& References() { return references_; }
  bool IsReferenced() const { return isReferenced_; }
  void SetReferenced() { isReferenced_ = true; }
  // References[0] when set, else the street's main axis.
  TAbstractItem* ReferenceAxis() const;

  // Asks the street to rebuild this item's kind before the next frame.
  void KindNeedsRebuild() const;
  // Re-records the item's primitives in its kind's collections when its points changed:
  // the old ones are marked deleted, BuildPrimitives adds the new ones (an inactive item
  // adds none), and the point list is no longer modified.
  void Rebuild();
  const std::vector<TKindPrimitives>& KindPrimitives() const { return kindPrimitives_; }

 private:
  bool OwnsCollection(const TDxPrimCollection* collection) const;

  TStreetStructure& street_;
  const TItemKind& kind_;
  int32_t id_ = 0;
  TPointList points_;
  std::string comment2_;
  bool invalid_ = false;
  bool active_ = true;
  std::vector<TKindPrimitives> kindPrimitives_;
  std::string groupName_;
  std::string comment_;
  TConnectedItems references_;
  bool isReferenced_ = false;
};

}  // namespace vellmar
