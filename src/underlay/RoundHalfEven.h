#pragma once
// Rounding to the nearest integer, halves to even, exactly as std::nearbyint does in
// the default rounding mode, without its library call: for |value| < 2^51 the sum
// with ±2^52 has no fraction bits left, so the addition itself does the rounding.
// The tile encoder and the pyramid's averages round every sample with it.

#include <cmath>

namespace vellmar {

inline double RoundHalfEven(double value) {
  // The sign is copied rather than tested: coefficient signs are random, and a branch
  // on them would mispredict half the time.
  const double noFraction = std::copysign(4503599627370496.0, value);  // ±2^52
  return (value + noFraction) - noFraction;
}

}  // namespace vellmar
