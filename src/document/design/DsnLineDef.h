#pragma once
// One patterned line of a street's line library: a band of a given width, shifted off
// the line, painted with an optional start cap, a repeated middle picture and an
// optional end cap. A definition owns its three bitmaps and the three triangle
// collections (each with its own texture of the part's picture) its bands are added to;
// the library owns its definitions.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/Ident.h"
#include "platform/imaging/Bitmap.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

class TStream;

enum class TLinePart : uint8_t { Start, Repeat, Finish };

class TDsnLineDef {
 public:
  static constexpr TIdent kListIdent{"DSNLNLST"};
  static constexpr int kParts = 3;

  // Unnamed, period 1, width 0.2, no shift, no bitmaps; the collections opaque black.
  TDsnLineDef();

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // Length of one repetition of the middle picture, in world units.
  float Period() const { return period_; }
  void SetPeriod(float period) { period_ = period; }
  float Width() const { return width_; }
  void SetWidth(float width) { width_ = width; }
  // Shift of the band's centre to the right of the line.
  float Disp() const { return disp_; }
  void SetDisp(float disp) { disp_ = disp; }

  // The part's bitmap, nullptr while it has none.
  const TBitmap* Bitmap(TLinePart part) const { return bitmaps_[Index(part)].get(); }
  // Also gives the part's collection a texture of the picture: clamped at the edges for
  // the caps; for the repeated picture wrapped along the band and clamped across it.
  void SetBitmap(TLinePart part, TBitmap bitmap);

  TDxTriangleCollection& Collection(TLinePart part) { return *collections_[Index(part)]; }

  // Reading: nothing without "DSNLNDEF"; then, each when present, "DEFNAME ",
  // "DEFPERID", "DEFWIDTH", "DEFDISP ", "DEFBMP  " (the repeat bitmap), "DEFBMPST",
  // "DEFBMPRP", "DEFBMPFN".
  void LoadFromStream(TStream& stream);
  // Writing: the header and the four values; with a start or finish bitmap the three
  // part chunks of the bitmaps that exist, otherwise "DEFBMP  " for a lone repeat bitmap.
  void SaveToStream(TStream& stream) const;

 private:
  static size_t Index(TLinePart part) { return static_cast<size_t>(part); }

  std::string name_;
  float period_ = 1.0f;
  float width_ = 0.2f;
  float disp_ = 0.0f;
  std::array<std::unique_ptr<TBitmap>, kParts> bitmaps_;
  std::array<std::unique_ptr<TDxTriangleCollection>, kParts> collections_;
};

}  // namespace vellmar
