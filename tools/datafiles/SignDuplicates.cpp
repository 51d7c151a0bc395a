// The sign duplicates painted on the carriageway, in millimetres: each sign 1.5 m wide
// and 2.4 m long (drawn upright, x across, y along the approach), over the frame of its
// group: the ring of the prohibitory signs "3.*", the square of the information signs
// "5.*" and the triangle of the warning signs "1.*".

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "SymbolFiles.h"
#include "document/StreetStructure.h"
#include "items/road/SignDuplicates.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

constexpr double kFrameStroke = 100;  // mm of the drawing below
constexpr double kFigureStroke = 70;
// The signs below are drawn 1 m by 1.6 m and painted half as large again.
constexpr double kPainted = 1.5;

using TPath = std::vector<TXYZ>;

TXYZ Mm(double x, double y) {
  return TXYZ{static_cast<float>(x), static_cast<float>(y), 0};
}

// A point of the drawing painted at its size beside origin.
TXYZ Painted(const TXYZ& origin, double x, double y) {
  return Mm(origin.x + kPainted * x, origin.y + kPainted * y);
}

void AddPath(TStreetStructure& street, const TPath& path, double stroke, const TXYZ& origin, const std::string& group) {
  for (size_t i = 1; i < path.size(); ++i) {
    AddStrokeFigure(street, Painted(origin, path[i - 1].x, path[i - 1].y), Painted(origin, path[i].x, path[i].y),
                    kPainted * stroke, group);
  }
}

TPath Ellipse(double rx, double ry, double cy) {
  TPath ring;
  for (int i = 0; i <= 40; ++i) {
    const double a = 2 * std::numbers::pi * i / 40;
    ring.push_back(Mm(rx * std::cos(a), cy + ry * std::sin(a)));
  }
  return ring;
}

// A walking figure 700 mm tall standing at (x, y), facing +x; mirrored with -1.
std::vector<TPath> Walker(double x, double y, double size, double facing) {
  const auto at = [&](double dx, double dy) { return Mm(x + facing * dx * size, y + dy * size); };
  return {{at(-0.03, 1.0), at(0.03, 1.0), at(0.03, 0.92), at(-0.03, 0.92), at(-0.03, 1.0)},
          {at(0, 0.85), at(0.04, 0.45)},
          {at(0.04, 0.45), at(0.2, 0)},
          {at(0.04, 0.45), at(-0.15, 0.02)},
          {at(-0.18, 0.55), at(0.02, 0.78), at(0.2, 0.58)}};
}

struct TSign {
  std::string Name;  // UTF-8
  std::vector<TPath> Strokes;
  double Stroke;
  std::string Text;  // letters drawn in the marking font's strokes, centred
  double TextHeight;
};

std::vector<TSign> Frames() {
  const double h = 1600, hw = 450;
  return {
      {"3.*", {Ellipse(hw, 750, h / 2)}, kFrameStroke, "", 0},
      {"5.*", {{Mm(-hw, 50), Mm(hw, 50), Mm(hw, h - 50), Mm(-hw, h - 50), Mm(-hw, 50)}}, kFrameStroke, "", 0},
      {"1.*", {{Mm(-hw, 100), Mm(hw, 100), Mm(0, h - 60), Mm(-hw, 100)}}, kFrameStroke, "", 0},
  };
}

std::vector<TSign> Signs() {
  std::vector<TSign> signs;
  for (int speed = 20; speed <= 90; speed += 10) signs.push_back({"3.24-" + std::to_string(speed), {}, 0, std::to_string(speed), 650});
  std::vector<TPath> crossing = Walker(0, 450, 700, 1);
  crossing.push_back({Mm(-380, 250), Mm(380, 250), Mm(0, 1350), Mm(-380, 250)});
  std::vector<TPath> mirrored = Walker(0, 450, 700, -1);
  mirrored.push_back(crossing.back());
  signs.push_back({"5.19.1", crossing, kFigureStroke, "", 0});
  signs.push_back({"5.19.2", mirrored, kFigureStroke, "", 0});
  std::vector<TPath> children = Walker(-110, 330, 560, 1);
  for (const TPath& path : Walker(130, 330, 420, 1)) children.push_back(path);
  signs.push_back({"1.23", children, kFigureStroke, "", 0});
  signs.push_back({"5.14", {}, 0, "А", 700});
  return signs;
}

void AddSign(TStreetStructure& street, const TSign& sign, const TXYZ& origin) {
  const std::string group = Utf8ToCp1251(sign.Name);
  for (const TPath& path : sign.Strokes) AddPath(street, path, sign.Stroke, origin, group);
  const std::string text = Utf8ToCp1251(sign.Text);
  if (!text.empty()) {
    const double scale = sign.TextHeight / 1.6, gap = 0.15 * scale;
    const double width = static_cast<double>(text.size()) * (kLetterWidth * scale + gap) - gap;
    double x = -width / 2;
    const double y = (1600 - sign.TextHeight) / 2;
    for (const char c : text) {
      if (!AddLetterFigures(street, c, kPainted * scale, Painted(origin, x, y), group))
        throw EVellmarError("vellmar-datafiles: no strokes for a letter of " + sign.Name);
      x += kLetterWidth * scale + gap;
    }
  }
  AddGroupAnchor(street, origin, group);
  street.GroupNames().SetValue(group, "ON");
}

}  // namespace

void WriteSignDuplicates(const fs::path& dataFiles) {
  const fs::path file = dataFiles / "Знаки" / "ZnakRoadCopy.pln";
  fs::create_directories(file.parent_path());
  TStreetStructure street;
  street.SetStreetName(Utf8ToCp1251("Дублирование знаков"));
  // Side by side, 3 m apart, each anchored at the middle of its lower edge.
  std::vector<TSign> all = Frames();
  for (const TSign& sign : Signs()) all.push_back(sign);
  for (size_t i = 0; i < all.size(); ++i) AddSign(street, all[i], Mm(3000.0 * static_cast<double>(i), 0));
  street.SaveToFile(file);

  const TSignDuplicates library = TSignDuplicates::LoadFromFile(file);
  for (const TSign& sign : all) {
    const int32_t index = library.LastIndexOf(Utf8ToCp1251(sign.Name));
    if (index < 0 || library.Entry(index).Glyph.Triangles.empty())
      throw EVellmarError("vellmar-datafiles: ZnakRoadCopy.pln reads back without " + sign.Name);
  }
}

}  // namespace vellmar
