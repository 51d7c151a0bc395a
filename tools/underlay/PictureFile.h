#pragma once
// Pictures the importer accepts, told apart by their first bytes: JPEG (libjpeg-turbo),
// PNG (libpng), TIFF (libtiff) and BMP are read a few rows at a time, so their height
// is not limited by memory. Interlaced PNG and progressive JPEG can only be decoded
// whole and are refused by name when that would take more than a gigabyte.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

// The picture's rows as B, G, R; transparency is laid over white, the colour the plan
// is drawn on. Unreadable, damaged or unknown files raise, naming the file and format.
std::unique_ptr<TPictureRows> OpenPictureFile(const std::filesystem::path& path);

}  // namespace vellmar
