#pragma once
// One fill pattern of a street's figure library: a picture that repeats every PeriodX
// by PeriodY world units. A definition owns its bitmap and the triangle collection (with
// its own texture of the picture) the figures filled with it are added to; the library
// owns its definitions.

#include <cstdint>
#include <memory>
#include <string>

#include "document/Ident.h"
#include "platform/imaging/Bitmap.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

class TStream;

class TDsnFigDef {
 public:
  static constexpr TIdent kListIdent{"DSNFGLST"};

  // Unnamed, periods 1 by 1, a 24-bit 16 x 16 bitmap; the collection opaque red.
  TDsnFigDef();

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  float PeriodX() const { return periodX_; }
  void SetPeriodX(float period) { periodX_ = period; }
  float PeriodY() const { return periodY_; }
  void SetPeriodY(float period) { periodY_ = period; }

  const TBitmap& Bitmap() const { return bitmap_; }
  // Also gives the collection a texture of the picture in 32 bits per pixel, its colour
  // added to the vertex colour.
  void SetBitmap(TBitmap bitmap);

  TDxTriangleCollection& Collection() { return *collection_; }

  // Reading: nothing without "DSNFGDEF"; then "DEFNAME ", "DEFPERDX", "DEFPERDY",
  // "DEFBMP  ", each when present. Writing: all of them.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  std::string name_;
  float periodX_ = 1.0f;
  float periodY_ = 1.0f;
  TBitmap bitmap_;
  std::unique_ptr<TDxTriangleCollection> collection_;
};

}  // namespace vellmar
