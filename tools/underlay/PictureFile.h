#pragma once
// Pictures the importer accepts, told apart by their first bytes: JPEG (libjpeg-turbo),
// PNG (libpng) and TIFF (libtiff) are read a few rows at a time, so their size is not
// limited by memory; BMP and interlaced PNG through the bitmap's own readers, whole.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

// The picture's rows as B, G, R; transparency is laid over white, the colour the plan
// is drawn on. Unreadable, damaged or unknown files raise, naming the file and format.
std::unique_ptr<TPictureRows> OpenPictureFile(const std::filesystem::path& path);

}  // namespace vellmar
