#pragma once
// The road-symbol files that vellmar-datafiles writes: the marking font
// ("Разметка/RazmetFont.pln"), the sign duplicates ("Знаки/ZnakRoadCopy.pln") and the
// textures of the point furniture ("Текстуры/Kolod.bmp", "Reshet.bmp",
// "CalcAreaTex.bmp"). Each is read back the way the viewer reads it; a file that does
// not read back whole fails with EVellmarError.

#include <filesystem>
#include <string_view>

#include "geometry/XYZ.h"

namespace vellmar {

class TStreetStructure;

// Letters are drawn as strokes of this width (metres, at 1.6 m letter height).
inline constexpr double kStrokeWidth = 0.13;
// The letter cell the strokes are drawn in: 0.6 wide, 1.6 high, origin bottom left.
inline constexpr double kLetterWidth = 0.6;

// Adds the strokes of a character (Windows-1251) as design figures of the group
// named group, scaled by scale and moved by offset; false when the font has no such
// character.
bool AddLetterFigures(TStreetStructure& street, char code, double scale, const TXYZ& offset,
                      std::string_view group);
// Adds a stroke from a to b, strokeWidth wide with squared ends reaching half the
// width beyond its points, as a design figure of the group.
void AddStrokeFigure(TStreetStructure& street, const TXYZ& a, const TXYZ& b, double strokeWidth,
                     std::string_view group);
// Adds a reference-point item of the group at at.
void AddGroupAnchor(TStreetStructure& street, const TXYZ& at, std::string_view group);

void WriteMarkingFont(const std::filesystem::path& dataFiles);
void WriteSignDuplicates(const std::filesystem::path& dataFiles);
void WriteFurnitureTextures(const std::filesystem::path& dataFiles);

}  // namespace vellmar
