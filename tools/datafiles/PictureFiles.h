#pragma once
// Drawing the pictures that vellmar-datafiles writes: a picture painted pixel by pixel
// from a colour function, and writing one with a read-back check.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/imaging/Bitmap.h"

namespace vellmar {

// The colour the textures show as transparent.
constexpr uint32_t kClear = 0xFFFFFF;

// A 24-bit picture whose every pixel is colour at its centre, given as fractions u
// (across the picture, left to right) and v (top to bottom).
TBitmap Paint(int32_t width, int32_t height, const std::function<uint32_t(double u, double v)>& colour);

// Writes the picture (making its folder) and reads it back; a picture that does not
// read back the same fails with EVellmarError.
void WritePicture(const TBitmap& picture, const std::filesystem::path& path);

}  // namespace vellmar
