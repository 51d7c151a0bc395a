// The textures of the point furniture: the manhole cover, the drain grate and the
// pattern of calculation areas.

#include <cmath>

#include "PictureFiles.h"
#include "SymbolFiles.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

// A round cast-iron cover filling the square: a rim, a ring of ribs and a chequered
// middle; the corners outside it transparent.
TBitmap ManholeCover() {
  constexpr uint32_t iron = 0x3C3C40, rib = 0x6E6E74, rim = 0x1E1E20;
  return Paint(64, 64, [&](double u, double v) {
    const double x = 2 * u - 1, y = 2 * v - 1, r = std::hypot(x, y);
    if (r > 0.98) return kClear;
    if (r > 0.86) return rim;
    if (r > 0.7) return std::fmod(std::atan2(y, x) * 12 / 3.14159265358979 + 24, 2.0) < 1 ? rib : iron;
    const bool chequer = (static_cast<int>((x + 1) * 6) + static_cast<int>((y + 1) * 6)) % 2 == 0;
    return chequer ? rib : iron;
  });
}

// A grate 1.2 by 0.6 m: a frame and seven slots across it.
TBitmap Grate() {
  constexpr uint32_t frame = 0x2A2A2C, bar = 0x505054, slot = 0x0A0A0A;
  return Paint(64, 32, [&](double u, double v) {
    if (u < 0.06 || u > 0.94 || v < 0.12 || v > 0.88) return frame;
    return std::fmod((u - 0.06) * 7 / 0.88, 1.0) < 0.55 ? slot : bar;
  });
}

// Thin diagonal hatching in the areas' red, transparent between the lines; laid on the
// screen pixel for pixel.
TBitmap AreaPattern() {
  return Paint(16, 16, [](double u, double v) {
    const int d = static_cast<int>(std::lround((u + v) * 16 - 1)) % 8;
    return d == 0 ? 0x963232u : kClear;
  });
}

}  // namespace

void WriteFurnitureTextures(const fs::path& dataFiles) {
  WritePicture(ManholeCover(), dataFiles / "Текстуры" / "Kolod.bmp");
  WritePicture(Grate(), dataFiles / "Текстуры" / "Reshet.bmp");
  WritePicture(AreaPattern(), dataFiles / "Текстуры" / "CalcAreaTex.bmp");
}

}  // namespace vellmar
