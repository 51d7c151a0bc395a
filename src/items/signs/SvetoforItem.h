#pragma once
// A traffic-light installation: an optional support picture at the item's point and
// signal heads placed at offsets from it, each turned by its own angle. Pictures are
// found by name in the program's two traffic-light libraries. The item owns its heads;
// it is owned by its kind's item list like every item.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/PointItem.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TSvetoforItem;
class TSvetoforPictureLib;

// One signal head of a traffic light.
class TSvetoforSubItem {
 public:
  explicit TSvetoforSubItem(TSvetoforItem& owner) : owner_(owner) {}

  TSvetoforItem& Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Stores the name and finds its picture in the owner's head library; -1 when the
  // library has no picture of that name (the name is still kept and saved).
  void SetName(std::string name);
  // Position in the head library, -1 none.
  int32_t LibIndex() const { return libIndex_; }
  // From the item's point.
  const TXYZ& Offset() const { return offset_; }
  void SetOffset(const TXYZ& offset);
  // Radians.
  float Rotation() const { return rotation_; }
  void SetRotation(float rotation);

 private:
  TSvetoforItem& owner_;
  std::string name_;
  int32_t libIndex_ = -1;
  TXYZ offset_;
  float rotation_ = 0.0f;
};

class TSvetoforItem : public TPointItem {
 public:
  static constexpr int32_t kKindIndex = 29;
  // One picture pixel in world units.
  static constexpr double kPixelSize = 0.025;

  TSvetoforItem(TStreetStructure& street, const TItemKind& kind) : TPointItem(street, kind) {}

  // The program's libraries' collections (MakeKindCollections).
  static void InitKindCollections(TStreetStructure& street);
  // Replaces the kind's collections: [0] lines from the point to each head; then one
  // textured triangle collection per support picture, then one per head picture.
  static void MakeKindCollections(TStreetStructure& street, const TSvetoforPictureLib& supports,
                                  const TSvetoforPictureLib& heads);
  // The lines to the heads, the support picture when the point is the item's own, and
  // each head's picture turned by its rotation, every picture pixel kPixelSize wide.
  void BuildPrimitives() override;

  // After the point item, each optional: "ANC_NAME", "SUBCOUNT", then per head
  // "SVETNAME", "SVETDPOS", "SVETFROT". Without heads the item is Invalid.
  void LoadFromStream(TStream& stream) override;
  // All of them, always.
  void SaveToStream(TStream& stream) const override;

  // The libraries names are looked up in; by default the program's (SvetoforSupports,
  // SvetoforHeads), read when first needed. The libraries must outlive the item. The
  // street's traffic-light collections are made anew for them, so every traffic light of
  // the street must use the same libraries.
  void UseLibraries(const TSvetoforPictureLib& supports, const TSvetoforPictureLib& heads);
  const TSvetoforPictureLib& Supports() const;
  const TSvetoforPictureLib& Heads() const;

  // The support's picture and each head's.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;
  const std::string& SupportName() const { return supportName_; }
  // Stores the name and finds its picture in the support library; -1 when there is none.
  void SetSupport(std::string name);
  // Position in the support library, -1 none.
  int32_t SupportIndex() const { return supportIndex_; }

  int32_t HeadCount() const { return static_cast<int32_t>(heads_.size()); }
  TSvetoforSubItem& Head(int32_t index) const;
  // A new head at the end, with no picture.
  TSvetoforSubItem& AddHead();
  void DeleteHead(int32_t index);

 private:
  std::vector<std::unique_ptr<TSvetoforSubItem>> heads_;
  std::string supportName_;
  int32_t supportIndex_ = -1;
  const TSvetoforPictureLib* supports_ = nullptr;
  const TSvetoforPictureLib* headPictures_ = nullptr;
};

}  // namespace vellmar
