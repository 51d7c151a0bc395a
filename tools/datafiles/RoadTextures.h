#pragma once
// The textures of the road kinds that vellmar-datafiles writes: the kilometre plate
// ("Знаки/KM.bmp"), the road barrier ("Текстуры/RoadWall.bmp") and the tram track
// ("Текстуры/Tramway.bmp"). White is the transparent colour of every texture, so
// the ground between the painted parts shows through.

#include <filesystem>

namespace vellmar {

// Writes the three pictures below dataFiles (the "DataFiles" folder) and reads each
// back; a picture that does not read back the same fails with EVellmarError.
void WriteRoadTextures(const std::filesystem::path& dataFiles);

}  // namespace vellmar
