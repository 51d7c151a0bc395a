#pragma once
// The plan sheet: where a paper sheet of a given format and drawing scale lies on the
// plan, with its paper settings and up to four title-block stamps. Each stamp is a whole
// street drawn in millimetres; the item owns its stamps and the metafiles older files
// kept in their place.

#include <array>
#include <cstdint>
#include <memory>

#include "document/KindSet.h"
#include "document/OrientPointItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

class TPlanDefineItem final : public TOrientPointItem {
 public:
  enum class TCorner { TopLeft, TopRight, BottomLeft, BottomRight };
  static constexpr int kCorners = 4;
  // Stamps hold streets that may hold sheets with stamps again; a stream nesting them
  // deeper than this is taken for damage rather than followed down.
  static constexpr int kMaxStampDepth = 8;
  static constexpr int32_t kKind = 36;
  // The paper's edge and inner frame: near black.
  static constexpr uint32_t kFrameColor = MakeColor(5, 5, 5, 255);

  TPlanDefineItem(TStreetStructure& street, const TItemKind& kind);
  ~TPlanDefineItem() override;

  // A near-black line collection for the paper's edge and inner frame, and a triangle
  // collection.
  static void InitKindCollections(TStreetStructure& street);
  // The paper's edge and inner frame, each a closed outline.
  void BuildPrimitives() override;
  // The stamps, each a whole street in millimetres, turned and put into its corner of
  // the inner frame; only when the view can see the sheet.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // Paper length / world length: 0.002 is 1:500.
  double SheetScale() const { return sheetScale_; }
  void SetSheetScale(double scale) { sheetScale_ = scale; }
  int32_t Dpi() const { return dpi_; }
  void SetDpi(int32_t dpi) { dpi_ = dpi; }
  // The item kinds shown on the sheet.
  const TKindSet& SheetKinds() const { return sheetKinds_; }
  void SetSheetKinds(const TKindSet& kinds) { sheetKinds_ = kinds; }
  // Paper size and inner frame margins in millimetres.
  int32_t FormatWidth() const { return formatWidth_; }
  int32_t FormatHeight() const { return formatHeight_; }
  void SetFormat(int32_t width, int32_t height) {
    formatWidth_ = width;
    formatHeight_ = height;
  }
  int32_t IndentLeft() const { return indentLeft_; }
  int32_t IndentRight() const { return indentRight_; }
  int32_t IndentTop() const { return indentTop_; }
  int32_t IndentBottom() const { return indentBottom_; }
  void SetIndents(int32_t left, int32_t right, int32_t top, int32_t bottom);
  bool Landscape() const { return landscape_; }
  void SetLandscape(bool on) { landscape_ = on; }

  // nullptr where the sheet has no stamp.
  TStreetStructure* Stamp(TCorner corner) const { return stamps_[static_cast<size_t>(corner)].get(); }
  void SetStamp(TCorner corner, std::unique_ptr<TStreetStructure> stamp);

  // The stamp and comment pictures of older files: not drawn, but written back in their
  // place so that saving does not lose them. Empty in new items.
  const TMetafile& OldStamp() const { return oldStamp_; }
  const TMetafile& OldComment() const { return oldComment_; }

 private:
  void LoadStamp(TStream& stream, TCorner corner);

  double sheetScale_ = 0.002;
  int32_t dpi_ = 300;
  TKindSet sheetKinds_;
  int32_t formatWidth_ = 210;
  int32_t formatHeight_ = 297;
  int32_t indentLeft_ = 20;
  int32_t indentRight_ = 10;
  int32_t indentTop_ = 10;
  int32_t indentBottom_ = 20;
  bool landscape_ = false;
  std::array<std::unique_ptr<TStreetStructure>, kCorners> stamps_;
  TMetafile oldStamp_;
  TMetafile oldComment_;
};

}  // namespace vellmar
