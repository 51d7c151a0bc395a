#pragma once
// Where dark drawing landed in a picture read back from the GPU: "ink" is a pixel whose
// blue channel is below half, the box the smallest rectangle holding all of it.

#include <algorithm>
#include <cstdint>

#include "render/OffscreenFrame.h"

namespace vellmar::test {

inline bool Ink(uint32_t Argb) { return (Argb & 0xFF) < 128; }

// Inclusive pixel bounds; Right < Left when nothing is inked.
struct TInkBox {
  int Left = 1 << 20;
  int Top = 1 << 20;
  int Right = -1;
  int Bottom = -1;
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  double CentreX() const { return (Left + Right + 1) / 2.0; }
  double CentreY() const { return (Top + Bottom + 1) / 2.0; }
};

inline TInkBox InkBox(const TOffscreenFrame& Frame) {
  TInkBox box;
  for (uint32_t y = 0; y < Frame.Height; ++y)
    for (uint32_t x = 0; x < Frame.Width; ++x)
      if (Ink(Frame.At(x, y))) {
        box.Left = std::min(box.Left, static_cast<int>(x));
        box.Right = std::max(box.Right, static_cast<int>(x));
        box.Top = std::min(box.Top, static_cast<int>(y));
        box.Bottom = std::max(box.Bottom, static_cast<int>(y));
      }
  return box;
}

}  // namespace vellmar::test
