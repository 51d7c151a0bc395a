#pragma once
// One tile of one level of an underlay picture, laid on the plan between the underlay's
// four corners. The shell owns the texture its tile is decoded into, held only while the
// tile is drawn at a sensible size; the corners and the underlay file belong to the
// underlay item and are handed in on every draw.

#include <array>
#include <memory>

#include "geometry/XYZ.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TSubLayerFile;
class TTextureSurface;
struct TDxDrawParams;

// The corners of an underlay picture: bottom-left, top-left, top-right, bottom-right.
using TSubLayerCorners = std::array<TXYZ, 4>;

class TTexShell {
 public:
  // level is 1, 2, 4 or 8; column and row place the tile in that level's grid.
  TTexShell(int level, int column, int row);
  ~TTexShell();
  TTexShell(TTexShell&&) noexcept;
  TTexShell& operator=(TTexShell&&) noexcept;

  int Level() const { return level_; }
  int Column() const { return column_; }
  int Row() const { return row_; }
  bool HasTexture() const { return texture_ != nullptr; }
  // The tile's data could not be decoded; it is drawn as its outline from then on.
  bool Damaged() const { return damaged_; }
  // The corners moved: the quad is recomputed on the next draw (the texture stays).
  void InvalidateQuad() { quadValid_ = false; }
  bool QuadValid() const { return quadValid_; }
  // Two triangles V0 V1 V2, V0 V2 V3 with texture coordinates (0,0) (0,1) (1,1) (1,0).
  const std::array<TDxVertex, 6>& Vertices() const { return vertices_; }

  // Draws the tile when it is inside the view radius and its diagonal measures between
  // 128 and 256 pixels (or more, at level 1), decoding it on first need; otherwise its
  // texture is dropped. Damaged tile data is reported once and the tile drawn as its
  // outline, so that one bad tile cannot stop the frame.
  void Draw(const TDxDrawParams& params, const TSubLayerCorners& corners, TSubLayerFile& file);

 private:
  void UpdateQuad(const TSubLayerCorners& corners, const TSubLayerFile& file);
  // Whether the tile should hold a texture in this view.
  bool Wanted(const TDxDrawParams& params) const;
  void Decode(TSubLayerFile& file);

  int level_;
  int column_;
  int row_;
  bool quadValid_ = false;
  // The file has no data for the tile (its table is short): nothing to draw.
  bool absent_ = false;
  bool damaged_ = false;
  std::unique_ptr<TTextureSurface> texture_;
  std::array<TDxVertex, 6> vertices_{};
};

}  // namespace vellmar
