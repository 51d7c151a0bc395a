#pragma once
// TIFF pictures through libtiff, in strips or in tiles, classic or BigTIFF, with any
// compression libtiff decodes: 8-bit RGB, greyscale (either polarity) and palette
// pictures, with or without alpha, samples interleaved, top row first. Tiled pictures
// are read a row of tiles at a time. Other kinds raise an error that says what the
// file holds.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

std::unique_ptr<TPictureRows> OpenTiffRows(const std::filesystem::path& path);

}  // namespace vellmar
