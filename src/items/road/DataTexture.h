#pragma once
// Textures of the road kinds, read from the program's data files. A missing or
// unreadable file must not stop drawing: the surface stays empty (what it textures is
// drawn untextured) and one warning per file and run says so.

#include <string_view>

namespace vellmar {

class TDxPrimCollection;
class TTextureSurface;

// Loads the data file named the Windows way ("\DataFiles\Текстуры\RoadWall.bmp", 1251
// bytes) into surface.
void LoadDataTexture(TTextureSurface& surface, std::string_view cp1251Path);
// A surface of the collection's own with the data file in it.
TTextureSurface& LoadDataTexture(TDxPrimCollection& collection, std::string_view cp1251Path);

}  // namespace vellmar
