#pragma once
// Drawing a sign picture every frame: its texture comes from the program's metafile
// texture cache while a screen pixel is no larger than the picture's scale in world
// units; smaller on screen the picture is a dark rectangle, which costs no texture.
// Nothing here owns anything: the textures belong to the cache.

#include <cstdint>
#include <span>

#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TdxRenderer;
class TMetafile;
class TStreetStructure;
class TTextureSurface;

// World units per picture unit: the street's sign scale ("ZnakScale" / 100) over 150.
double SignUnitSize(TStreetStructure& street);

// A picture scale of 0 counts as 1.
inline float PictureScale(float scale) { return scale == 0.0f ? 1.0f : scale; }

// The picture's texture for this frame, or nullptr when it shows as a rectangle. hint is
// the holder's cache position.
TTextureSurface* SignPictureTexture(TdxRenderer& renderer, const TMetafile& picture, float scale,
                                    int32_t& hint);

// Draws the vertices (a triangle list, or a fan) with the texture, or untextured without
// one, and leaves no texture bound.
void DrawSignPicture(TdxRenderer& renderer, TTextureSurface* texture, std::span<const TDxVertex> vertices,
                     bool fan);

}  // namespace vellmar
