#pragma once
// BMP pictures read a band of rows at a time: BMP rows are stored plain, bottom-up or
// top-down, so any band is one run of bytes in the file. Each band is decoded by the
// bitmap's own BMP reader, so every pixel kind it knows is imported the same way.

#include <filesystem>
#include <memory>

#include "underlay/PictureRows.h"

namespace vellmar {

std::unique_ptr<TPictureRows> OpenBmpRows(const std::filesystem::path& path);

}  // namespace vellmar
