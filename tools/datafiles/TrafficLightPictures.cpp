// The traffic-light pictures: signal heads seen on the plan as their housing with the
// lamps, and the supports they hang from. Each picture carries one pure red pixel, the
// marker that says which pixel sits on the anchor point: a head's is the middle of its
// bottom edge (where it meets its arm), a support's is the foot of its pole.

#include <cmath>
#include <string>
#include <vector>

#include "PictureFiles.h"
#include "SignLibrary.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMarker = 0xFF0000;
constexpr uint32_t kHousing = 0x282828, kPole = 0x505050;
constexpr uint32_t kLampRed = 0xDC1E1E, kLampYellow = 0xF0C000, kLampGreen = 0x10A040;

struct TLamp {
  double X, Y, Radius;  // pixels
  uint32_t Colour;
};

struct TPicture {
  const char* File;  // UTF-8
  int32_t Width, Height;
  std::vector<TLamp> Discs;  // drawn in order over the housing
  double HousingLeft, HousingTop, HousingRight, HousingBottom;
  int32_t MarkerX, MarkerY;
};

TBitmap Draw(const TPicture& p) {
  return Paint(p.Width, p.Height, [&](double u, double v) {
    const double x = u * p.Width, y = v * p.Height;
    if (static_cast<int32_t>(x) == p.MarkerX && static_cast<int32_t>(y) == p.MarkerY) return kMarker;
    uint32_t colour = kClear;
    if (x >= p.HousingLeft && x < p.HousingRight && y >= p.HousingTop && y < p.HousingBottom) colour = kHousing;
    for (const TLamp& lamp : p.Discs) {
      if (std::hypot(x - lamp.X, y - lamp.Y) <= lamp.Radius) colour = lamp.Colour;
    }
    return colour;
  });
}

const std::vector<TPicture>& Heads() {
  static const std::vector<TPicture> heads = {
      {"Т_1.bmp", 24, 68, {{12, 12, 8, kLampRed}, {12, 32, 8, kLampYellow}, {12, 52, 8, kLampGreen}}, 1, 1, 23, 64, 12, 67},
      {"Т_1_п.bmp", 44, 68,
       {{12, 12, 8, kLampRed}, {12, 32, 8, kLampYellow}, {12, 52, 8, kLampGreen}, {32, 52, 8, kLampGreen}},
       1, 1, 43, 64, 22, 67},
      {"Т_1_л.bmp", 44, 68,
       {{32, 12, 8, kLampRed}, {32, 32, 8, kLampYellow}, {32, 52, 8, kLampGreen}, {12, 52, 8, kLampGreen}},
       1, 1, 43, 64, 22, 67},
      {"Т_3.bmp", 24, 48, {{12, 12, 8, kLampRed}, {12, 32, 8, kLampGreen}}, 1, 1, 23, 44, 12, 47},
      {"Т_7.bmp", 24, 28, {{12, 12, 8, kLampYellow}}, 1, 1, 23, 24, 12, 27},
  };
  return heads;
}

const std::vector<TPicture>& Supports() {
  static const std::vector<TPicture> supports = {
      {"Стойка.bmp", 17, 17, {{8.5, 8.5, 7.5, kPole}}, 0, 0, 0, 0, 8, 8},
      {"Консоль.bmp", 97, 17, {{8.5, 8.5, 7.5, kPole}}, 8, 6, 96, 11, 8, 8},
  };
  return supports;
}

}  // namespace

void WriteTrafficLightPictures(const fs::path& dataFiles) {
  const fs::path heads = dataFiles / "Светофоры";
  for (const TPicture& p : Heads()) WritePicture(Draw(p), heads / p.File);
  for (const TPicture& p : Supports()) WritePicture(Draw(p), heads / "Опоры" / p.File);
}

}  // namespace vellmar
