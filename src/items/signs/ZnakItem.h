#pragma once
// A road sign: a post from its foot (point 0) through a bend (point 1) to the point the
// plates are mounted at (point 2), with its plates in order. The item owns its plates;
// it is owned by its kind's item list like every item.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/PointItem.h"
#include "items/signs/EmfSubItem.h"

namespace vellmar {

struct TSignLibraries;

class TMatrixShell;

class TZnakItem : public TPointItem {
 public:
  static constexpr int32_t kKindIndex = 22;

  TZnakItem(TStreetStructure& street, const TItemKind& kind) : TPointItem(street, kind) {}

  // [0] triangles: the post's footprint; [1] lines: the post; [2] triangles in the black
  // glyph atlas: the captions.
  static void InitKindCollections(TStreetStructure& street);
  // The post, its footprint when the foot is the sign's own point, and every plate's
  // caption with its status line.
  void BuildPrimitives() override;
  // The plates' pictures, every frame: the texture cache is trimmed as it goes, so a
  // picture's texture is looked up again each time.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;
  // Moves the shell into the plate's frame: at the last point, its X axis along the last
  // segment, shifted by the plate's origin, turned by its orientation, in picture units.
  void PlacePlate(TMatrixShell& shell, const TEmfSubItem& plate);
  // The corners of the plate's picture on the plan, in order round it; nothing for a
  // plate without a picture or without the sign's three points. What the user sees of a
  // sign is mostly its plates, so they count for picking it.
  std::optional<std::array<TXYZ, 4>> PlateOutline(const TEmfSubItem& plate);

  // The post's type, then each plate's number, name from the sign descriptions and
  // status.
  void GetPropertyNames(std::vector<std::string>& lines) const override;
  void GetPropertyValues(std::vector<std::string>& lines) const override;

  // After the point item: "ZNANCKND" (optional), "ZNNEWPNT" (its presence is the point
  // layout), "ZNSUBCNT" (0 plates when absent), then each plate's chunks.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Signs stored in the old point layout get theirs; a sign of two points gets a third.
  void AfterLoad() override;

  // What plates look their pictures up in; by default the program's. They must outlive
  // the item.
  void UseLibraries(const TSignLibraries& libraries) { libraries_ = &libraries; }
  const TSignLibraries& Libraries() const;

  const std::string& SupportType() const { return supportType_; }
  void SetSupportType(std::string type) { supportType_ = std::move(type); }
  bool NewPointLayout() const { return newPointLayout_; }

  int32_t PlateCount() const { return static_cast<int32_t>(plates_.size()); }
  TEmfSubItem& Plate(int32_t index) const;
  // A new plate at the end, without a picture.
  TEmfSubItem& AddPlate();
  void DeletePlate(int32_t index);

 private:
  std::string supportType_;
  bool newPointLayout_ = true;
  std::vector<std::unique_ptr<TEmfSubItem>> plates_;
  const TSignLibraries* libraries_ = nullptr;
};

}  // namespace vellmar
