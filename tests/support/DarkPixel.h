#pragma once
// Whether a pixel read back from a drawing is dark: by the mean of its channels (lines
// antialiased into the white around them), or in every channel (black ink told apart
// from a saturated colour, whose mean is low too: pure red's is 85).

#include <cstdint>

namespace vellmar::test {

// The red, green and blue channels' mean: 0 black, 255 white.
inline int Brightness(uint32_t Argb) {
  return static_cast<int>(((Argb >> 16 & 0xFF) + (Argb >> 8 & 0xFF) + (Argb & 0xFF)) / 3);
}

inline bool Dark(uint32_t Argb) {
  return Brightness(Argb) < 128;
}

inline bool DarkInEveryChannel(uint32_t Rgb, uint32_t Below = 96) {
  return (Rgb >> 16 & 0xFF) < Below && (Rgb >> 8 & 0xFF) < Below && (Rgb & 0xFF) < Below;
}

}  // namespace vellmar::test
