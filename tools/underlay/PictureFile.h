#pragma once
// Pictures the importer accepts: JPEG (through libjpeg-turbo), PNG and BMP (through
// the bitmap's own readers), told apart by their first bytes.

#include <filesystem>

#include "platform/imaging/Bitmap.h"

namespace vellmar {

// The picture as a 24-bit bitmap; PNG transparency is laid over white, the colour
// the plan is drawn on. Unreadable or unknown files raise.
TBitmap ReadPictureFile(const std::filesystem::path& path);

}  // namespace vellmar
