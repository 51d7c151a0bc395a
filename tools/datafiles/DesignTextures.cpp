#include "DesignTextures.h"

#include <cmath>
#include <cstdint>

#include "PictureFiles.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

constexpr uint32_t kInk = 0x000000;

// The stand-in block, 1.5 by 3 units on the plan: a dashed magenta frame round a
// diamond with a question mark's dot under it - plainly a placeholder, never a symbol.
// Its anchor is the top-left corner, which carries a filled square.
TBitmap DefaultBlock() {
  constexpr uint32_t mark = 0xC0208C;
  constexpr int32_t width = 32, height = 64;
  return Paint(width, height, [&](double u, double v) {
    const double x = u * width, y = v * height;
    if (x < 6 && y < 6) return mark;  // the anchor
    const bool frame = x < 2 || y < 2 || x > width - 2 || y > height - 2;
    if (frame) return std::fmod(x + y, 8.0) < 5 ? mark : kClear;
    const double dx = std::fabs(x - width / 2.0), dy = std::fabs(y - height * 0.4);
    const double diamond = dx / 10 + dy / 16;
    if (diamond > 0.8 && diamond < 1.0) return mark;
    if (std::hypot(x - width / 2.0, y - height * 0.8) < 3) return mark;
    return kClear;
  });
}

// One period of a band's pattern along u, the same in every row across it.
TBitmap Band(bool (*painted)(double u)) {
  return Paint(64, 8, [&](double u, double) { return painted(u) ? kInk : kClear; });
}

// A dash over three quarters of the period.
bool Dash(double u) {
  return u < 0.75;
}

// A long dash over half the period and a dot of a tenth between equal gaps.
bool DashDot(double u) {
  return u < 0.5 || (u >= 0.7 && u < 0.8);
}

}  // namespace

void WriteDesignTextures(const std::filesystem::path& dataFiles) {
  const std::filesystem::path folder = dataFiles / "Текстуры";
  WritePicture(DefaultBlock(), folder / "DefaultBlock.bmp");
  WritePicture(Band(Dash), folder / "LnStyle_Dash.bmp");
  WritePicture(Band(DashDot), folder / "LnStyle_Dash_Dot.bmp");
}

}  // namespace vellmar
