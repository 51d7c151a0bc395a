#pragma once
// JPEG pictures through libjpeg-turbo's scanline interface: rows are decoded as they
// are asked for. Any warning the decoder gives (a truncated or corrupt stream, which
// it would otherwise fill with grey) is taken as damage and raises.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

std::unique_ptr<TPictureRows> OpenJpegRows(const std::filesystem::path& path);

}  // namespace vellmar
