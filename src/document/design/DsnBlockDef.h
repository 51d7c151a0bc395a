#pragma once
// One picture of a street's block library: a bitmap with its size on the plan and the
// pixel that sits on the placed point. A definition owns its bitmap and the texture made
// from it; the library owns its definitions (see DsnBlockDefList.h).

#include <cstdint>
#include <memory>
#include <string>

#include "document/Ident.h"
#include "platform/imaging/Bitmap.h"
#include "render/TextureSurface.h"

namespace vellmar {

class TStream;

class TDsnBlockDef {
 public:
  static constexpr TIdent kListIdent{"BLOCKLST"};

  // An unnamed definition of no size holding a 24-bit 16 x 16 bitmap, anchored at (0, 0).
  TDsnBlockDef();

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // Size of the picture on the plan, in world units.
  float Width() const { return width_; }
  void SetWidth(float width) { width_ = width; }
  float Height() const { return height_; }
  void SetHeight(float height) { height_ = height; }
  // The bitmap pixel, counted from the top-left corner, that sits on the item's point.
  int32_t AnchorX() const { return anchorX_; }
  int32_t AnchorY() const { return anchorY_; }
  void SetAnchor(int32_t x, int32_t y) {
    anchorX_ = x;
    anchorY_ = y;
  }

  const TBitmap& Bitmap() const { return bitmap_; }
  // Changing the picture makes the texture stale; it is rebuilt on its next use.
  TBitmap& EditBitmap();
  void SetBitmap(TBitmap bitmap);

  // The picture as a texture, made on first use after every change of the bitmap: 32 bits
  // per pixel, white transparent, filtered anisotropically, its colour added to the
  // vertex colour. A cache, so the program's const default block has one too.
  TTextureSurface& GetTexture() const;

  // Reading: without "BLOCKDEF" nothing is read and the defaults stay; otherwise the
  // name, then "BLOCKBMP", "BLOCKWID", "BLOCKHEI", "BLOCKANC", each when present.
  void LoadFromStream(TStream& stream);
  // Writing: all five chunks; an unchanged bitmap is the BMP image it was read from.
  void SaveToStream(TStream& stream) const;

 private:
  float height_ = 0.0f;
  float width_ = 0.0f;
  std::string name_;
  TBitmap bitmap_;
  mutable std::unique_ptr<TTextureSurface> texture_;
  mutable bool textureValid_ = false;
  int32_t anchorX_ = 0;
  int32_t anchorY_ = 0;
};

}  // namespace vellmar
