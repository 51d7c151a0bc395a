#include "RoadTextures.h"

#include <cmath>
#include <cstdint>

#include "PictureFiles.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

// The kilometre plate: the left half of the picture is the plate's left end, the right
// half its right end, and the column between them is stretched over the plate's middle.
// A dark blue field for the white numbers, a light rim, rounded corners.
TBitmap KilometrePlate() {
  constexpr uint32_t field = 0x1F3F8F;
  constexpr uint32_t rim = 0xF2F2F2;
  return Paint(32, 32, [&](double u, double v) {
    // Distance from the plate's edge in plate units (the picture is 2 by 2 units).
    const double x = 2 * std::min(u, 1 - u), y = 2 * std::min(v, 1 - v);
    const double corner = 0.35;
    if (x < corner && y < corner && std::hypot(corner - x, corner - y) > corner) return kClear;
    return x < 0.12 || y < 0.12 ? rim : field;
  });
}

// The road barrier along one repeat of 9.6 m: the upper half is the double-sided
// barrier (a beam on either side of the posts), the lower half the one-sided one (the
// beam on the traffic side, the posts behind it). Posts stand every 2.4 m.
TBitmap RoadWall() {
  constexpr uint32_t beam = 0x707478;
  constexpr uint32_t beamEdge = 0x3A3C40;
  constexpr uint32_t post = 0x202020;
  constexpr double postLength = 0.2 / 2.4;  // of the spacing
  return Paint(96, 24, [&](double u, double v) {
    const double along = std::fmod(u * 4 + 0.5, 1.0);  // posts at the middle of each quarter
    const bool atPost = std::fabs(along - 0.5) < postLength / 2;
    const double h = v < 0.5 ? v * 2 : (v - 0.5) * 2;  // across the half, 0 to 1 over 1.2 m
    if (v < 0.5) {
      // Beams 0.2 m wide, 0.3 m either side of the posts, which stand on the line.
      for (const double centre : {0.25, 0.75}) {
        if (std::fabs(h - centre) < 1.0 / 12) return std::fabs(h - centre) < 1.0 / 24 ? beam : beamEdge;
      }
      if (atPost && std::fabs(h - 0.5) < 1.0 / 12) return post;
      if (atPost && std::fabs(h - 0.5) < 0.25) return beamEdge;  // the spacer to the beams
      return kClear;
    }
    // One-sided: the band lies 0.3 m off the line towards the traffic, whose side is
    // the half's first edge; the beam faces the traffic, the posts stand behind it.
    if (std::fabs(h - 0.38) < 1.0 / 12) return std::fabs(h - 0.38) < 1.0 / 24 ? beam : beamEdge;
    if (atPost && std::fabs(h - 0.58) < 1.0 / 12) return post;
    if (atPost && h > 0.38 && h < 0.58) return beamEdge;
    return kClear;
  });
}

// One metre of tram track across a band 2 m wide: a sleeper across the band and the two
// rails at the standard 1.4 m gauge (0.15 and 0.85 of the band).
TBitmap Tramway() {
  constexpr uint32_t rail = 0x2E2E2E;
  constexpr uint32_t sleeper = 0x8C6A48;
  return Paint(32, 64, [&](double u, double v) {
    for (const double at : {0.15, 0.85}) {
      if (std::fabs(v - at) < 0.018) return rail;
    }
    if (std::fabs(u - 0.5) < 0.125 && std::fabs(v - 0.5) < 0.45) return sleeper;
    return kClear;
  });
}

}  // namespace

void WriteRoadTextures(const fs::path& dataFiles) {
  WritePicture(KilometrePlate(), dataFiles / "Знаки" / "KM.bmp");
  WritePicture(RoadWall(), dataFiles / "Текстуры" / "RoadWall.bmp");
  WritePicture(Tramway(), dataFiles / "Текстуры" / "Tramway.bmp");
}

}  // namespace vellmar
