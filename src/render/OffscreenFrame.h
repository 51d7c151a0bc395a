#pragma once
// One frame drawn without a display: a headless OpenGL context and a display renderer
// of the given size, made for the frame and released after it. The foundation of the
// command-line renderer and of the pixel tests.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/imaging/Bitmap.h"
#include "render/DxRenderer.h"

namespace vellmar {

// A picture read back: 0xAARRGGBB words (bytes B, G, R, A), top row first.
struct TOffscreenFrame {
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(uint32_t X, uint32_t Y) const { return Pixels[size_t{Y} * Width + X]; }
  // The picture as a 32-bit bitmap, alpha in the fourth byte.
  TBitmap ToBitmap() const;
};

// The frame as the viewer starts it (white tint, cleared to opaque white, identity
// matrices), then Draw, then the frame's end. Raises EVellmarError when no context or
// device can be made; errors raised by Draw pass through after the context is released.
// KeepsVertices: the renderer's (TdxRenderer::KeepsVertices), for a frame that is the
// last its collections are drawn in before they are built again or freed (a tool that
// draws one picture): they keep no copy of the vertices the frame's device holds.
TOffscreenFrame RenderOffscreenFrame(uint32_t Width, uint32_t Height,
                                     const std::function<void(TdxRenderer&)>& Draw, bool KeepsVertices = false);

// RenderOffscreenFrame written to Path as an opaque PNG; the old file stays whole when
// writing fails.
void RenderOffscreenPng(uint32_t Width, uint32_t Height, const std::function<void(TdxRenderer&)>& Draw,
                        const std::filesystem::path& Path, bool KeepsVertices = false);

}  // namespace vellmar
