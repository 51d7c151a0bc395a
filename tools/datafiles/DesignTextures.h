#pragma once
// The pictures of the design kinds that vellmar-datafiles writes into "Текстуры": the
// block drawn for a name the street's block library lacks ("DefaultBlock.bmp") and the
// dashed and dash-dot bands of design lines ("LnStyle_Dash.bmp",
// "LnStyle_Dash_Dot.bmp"). Painted black on white: white is transparent, and the line's
// colour is added to the black.

#include <filesystem>

namespace vellmar {

// Writes the three pictures below dataFiles (the "DataFiles" folder) and reads each back.
void WriteDesignTextures(const std::filesystem::path& dataFiles);

}  // namespace vellmar
