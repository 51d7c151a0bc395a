#pragma once
// PNG pictures through libpng's row interface: every colour type and bit depth is
// widened or narrowed to 8-bit B, G, R (16-bit samples are scaled, palettes and grey
// expanded), the file's gamma is brought to the sRGB screen's, and transparency is laid
// over white. Interlaced pictures are decoded whole first, up to a gigabyte.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

std::unique_ptr<TPictureRows> OpenPngRows(const std::filesystem::path& path);

// Lays B, G, R, A pixels (straight alpha) over white as B, G, R.
void FlattenOnWhite(const uint8_t* bgra, uint8_t* bgr, int pixels);

}  // namespace vellmar
