#pragma once
// One plate of a road sign: a picture from the metafile library (or the plate's own
// metafile), its place on the post, its caption and a few free fields kept for the user.
// The sign owns its plates; a plate owns its picture only when the picture is its own
// (LibIndex -1), otherwise it refers to the library's.

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/XYZ.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

class TStream;
class TZnakItem;
struct TSignLibraries;

// The sign number a picture file name stands for: "G2004_5-19-1_big.emf" gives "5.19.1",
// "1-01.emf" gives "1.1"; a name that leaves nothing gives a single blank.
std::string SignNumber(std::string_view fileName);

class TEmfSubItem {
 public:
  // LibIndex values that are no library position.
  static constexpr int32_t kOwnPicture = -1;
  static constexpr int32_t kMissingPicture = -2;
  // CaptionSide values; any other centres the caption.
  enum TCaptionSide : uint8_t { kBelow = 1, kRight = 3, kLeft = 5, kAbove = 7 };

  explicit TEmfSubItem(TZnakItem& owner) : owner_(owner) {}
  TEmfSubItem(const TEmfSubItem&) = delete;
  TEmfSubItem& operator=(const TEmfSubItem&) = delete;

  TZnakItem& Owner() const { return owner_; }

  // The picture shown; nullptr when the plate has none.
  const TMetafile* Picture() const;
  // Its size in the picture's units, 0 without one.
  int32_t Width() const;
  int32_t Height() const;
  int32_t LibIndex() const { return libIndex_; }
  const std::string& LibName() const { return libName_; }
  // The library's picture of that name, after the owner's translation table when the
  // name is not there; otherwise the missing-sign picture (LibIndex -2, the name kept).
  void SetLibName(std::string name);
  // A picture of the plate's own, unless the library holds the same bytes: then the
  // library's, with its index and name.
  void SetPicture(TMetafile picture);

  float Scale() const { return scale_; }
  void SetScale(float scale);
  // The caption override; empty = derived from the names.
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  // In the post's frame.
  const TXYZ& Origin() const { return origin_; }
  void SetOrigin(const TXYZ& origin);
  uint8_t CaptionSide() const { return captionSide_; }
  void SetCaptionSide(uint8_t side);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name);
  // Degrees.
  float Orientation() const { return orientation_; }
  void SetOrientation(float degrees);
  const std::string& Status() const { return status_; }
  void SetStatus(std::string status);
  // Free fields the viewer keeps and writes back.
  const std::string& ObjectKind() const { return objectKind_; }
  void SetObjectKind(std::string text) { objectKind_ = std::move(text); }
  const std::string& SText() const { return sText_; }
  void SetSText(std::string text) { sText_ = std::move(text); }
  int32_t MainId() const { return mainId_; }
  void SetMainId(int32_t id) { mainId_ = id; }
  float AnchorHeight() const { return anchorHeight_; }
  void SetAnchorHeight(float height) { anchorHeight_ = height; }
  float CustomArea() const { return customArea_; }
  void SetCustomArea(float area) { customArea_ = area; }

  // The plate's position in the texture cache, kept between frames to find its texture
  // without a search.
  int32_t& CacheHint() { return cacheHint_; }

  // Text when set, else the sign number of LibName, else that of FileName, else empty.
  std::string Caption() const;

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  const TSignLibraries& Libraries() const;
  // The caption the names give, as if Text were empty.
  std::string DerivedCaption() const;
  void Changed() const;

  TZnakItem& owner_;
  TMetafile own_;
  const TMetafile* picture_ = nullptr;  // own_, a library entry or the missing-sign picture
  float scale_ = 1.0f;
  std::string text_;
  TXYZ origin_;
  uint8_t captionSide_ = kBelow;
  std::string fileName_;
  float orientation_ = 0.0f;
  int32_t libIndex_ = kOwnPicture;
  std::string libName_;
  std::string objectKind_;
  std::string sText_;
  int32_t mainId_ = 0;
  float anchorHeight_ = 0.0f;
  float customArea_ = 0.0f;
  std::string status_;
  int32_t cacheHint_ = 0;
};

}  // namespace vellmar
