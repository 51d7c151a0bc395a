#pragma once
// Helpers for the tests that draw through OpenGL on a headless context: making the
// context (or saying why none can be made) and comparing pixels. Every GL test asks for
// its context here, so that where nothing may be missing (Prerequisite.h) a context that
// cannot be made fails the test, whatever the test does next: its own skip no longer
// hides the failure.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "support/Prerequisite.h"

namespace vellmar::test {

// The context, or nullptr with the reason in Why (a failure of the running test too,
// where nothing may be missing).
inline std::unique_ptr<HeadlessGlContext> TryHeadlessContext(uint32_t Width, uint32_t Height,
                                                             std::string& Why) {
  try {
    return std::make_unique<HeadlessGlContext>(Width, Height);
  } catch (const EVellmarError& error) {
    Why = error.what();
    if (MissingIsFailure())
      ADD_FAILURE() << "no headless OpenGL context: " << Why << " (" << kMissingFailsHere << ")";
    return nullptr;
  }
}

// A framebuffer read back top row first, addressed by screen pixel.
struct TPixels {
  uint32_t Width = 0;
  std::vector<uint32_t> Argb;
  uint32_t At(uint32_t X, uint32_t Y) const { return Argb.at(size_t{Y} * Width + X); }
};

inline std::string Hex(uint32_t Argb) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += digits[Argb >> shift & 0xF];
  return text;
}

// Equal colour channels (red, green, blue; alpha too when WithAlpha) within Tolerance.
inline testing::AssertionResult ColorNear(uint32_t Actual, uint32_t Expected, int Tolerance = 2,
                                          bool WithAlpha = false) {
  for (int shift = 0; shift < (WithAlpha ? 32 : 24); shift += 8) {
    const int a = static_cast<int>(Actual >> shift & 0xFF);
    const int e = static_cast<int>(Expected >> shift & 0xFF);
    if (std::abs(a - e) > Tolerance)
      return testing::AssertionFailure() << "colour " << Hex(Actual) << " is not near " << Hex(Expected);
  }
  return testing::AssertionSuccess();
}

}  // namespace vellmar::test
