#pragma once
// 4x4 single-precision matrices, row-major, used with row vectors: a point is
// (x, y, z, 1) x M, so the translation lives in elements 12, 13, 14.

#include <array>
#include <cstddef>

namespace vellmar {

struct TMatrix44 {
  std::array<float, 16> m{};
  float& operator[](int i) { return m[static_cast<std::size_t>(i)]; }
  float operator[](int i) const { return m[static_cast<std::size_t>(i)]; }
  float& at(int row, int col) { return m[static_cast<std::size_t>(4 * row + col)]; }
  float at(int row, int col) const { return m[static_cast<std::size_t>(4 * row + col)]; }
};
static_assert(sizeof(TMatrix44) == 64, "TMatrix44 is sixteen packed floats");

// The plane a*x + b*y + c*z + d = 0.
struct TPlane {
  float a = 0.0f;
  float b = 0.0f;
  float c = 0.0f;
  float d = 0.0f;
};

}  // namespace vellmar
