#pragma once
// A street's view as a picture of any size, drawn as the viewer draws it: the command-
// line renderer and the viewer's image export give the same pixels.

#include <cstdint>
#include <filesystem>
#include <optional>

#include "document/KindSet.h"
#include "document/ViewState.h"

namespace vellmar {

class TdxRenderer;
class TStreetStructure;

// The view's frame on a begun frame of the renderer, whatever its size: a picture
// taller than wide reaches as far up and down as it shows.
void DrawViewPicture(TdxRenderer& Renderer, TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds);

// The picture files a view is written as.
enum class TPictureFormat { Png, Jpeg };
// By the name's extension, in any case: .png, .jpg or .jpeg; nothing for any other.
std::optional<TPictureFormat> PictureFormatOf(const std::filesystem::path& Path);

// The picture drawn headless and written as an opaque PNG (the old file stays whole
// when writing fails); EVellmarError without a usable OpenGL context. Last: the street
// is drawn for this picture only (a tool that then exits), so its collections hand
// their vertices to the picture's device and hold them but once.
void SaveViewPng(TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds, uint32_t Width,
                 uint32_t Height, const std::filesystem::path& Path, bool Last = false);
// The same in either format (a JPEG at quality 92).
void SaveViewPicture(TStreetStructure& Street, const TViewState& View, const TKindSet& Kinds, uint32_t Width,
                     uint32_t Height, const std::filesystem::path& Path, TPictureFormat Format, bool Last = false);

}  // namespace vellmar
