#pragma once
// PNG pictures through libpng's row interface: every colour type and bit depth is
// widened or narrowed to 8-bit B, G, R (16-bit samples are scaled, palettes and grey
// expanded), and transparency is laid over white.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

// None for an interlaced PNG: its rows arrive in seven passes over the whole picture,
// so it can only be read whole.
std::unique_ptr<TPictureRows> OpenPngRows(const std::filesystem::path& path);

// Lays B, G, R, A pixels (straight alpha) over white as B, G, R.
void FlattenOnWhite(const uint8_t* bgra, uint8_t* bgr, int pixels);

}  // namespace vellmar
