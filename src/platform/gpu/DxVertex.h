#pragma once
// The one vertex record the renderer hands to the device (flexible vertex format
// XYZ | DIFFUSE | TEX1) and the ARGB colour packing used with it.

#include <cstdint>

namespace vellmar {

struct TDxVertex {
  float X = 0.0f;
  float Y = 0.0f;
  float Z = 0.0f;
  uint32_t Color = 0;  // ARGB, alpha in the top byte
  float U = 0.0f;
  float V = 0.0f;
};
static_assert(sizeof(TDxVertex) == 24, "TDxVertex is the 24-byte XYZ|DIFFUSE|TEX1 record");

// A<<24 | R<<16 | G<<8 | B.
constexpr uint32_t MakeColor(uint8_t R, uint8_t G, uint8_t B, uint8_t A) {
  return uint32_t{A} << 24 | uint32_t{R} << 16 | uint32_t{G} << 8 | uint32_t{B};
}

}  // namespace vellmar
