// vellmar-datafiles: writes the road-marking libraries the viewer reads from its data
// root - the line-marking library "Default.LnRazmet" with one texture per marking
// type, the arrow library "ArrowRazmet.std", and the textures of the kilometre plate,
// the road barrier and the tram track - so that a fresh checkout has
// plausible libraries of the standard's common markings.
//   vellmar-datafiles DIR          writes DIR/DataFiles/Разметка/...
//   vellmar-datafiles --check DIR  writes to a scratch folder and fails unless DIR
//                                  holds exactly those files
// Every written library is read back through the library readers; a file they do
// not accept whole fails the run.

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/LnParam.h"
#include "geometry/Planar.h"
#include "items/ItemKinds.h"
#include "items/road/ArrowLibrary.h"
#include "platform/Error.h"
#include "platform/imaging/Bitmap.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "RoadTextures.h"
#include "SignLibrary.h"
#include "SymbolFiles.h"
#include "DesignTextures.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

// A painted part of a marking texture: across the band from V0 to V1, along one
// period from U0 to U1 (fractions).
struct TStripe {
  double V0, V1, U0, U1;
};

struct TMarking {
  const char* Name;
  const char* Description;  // UTF-8
  double Period;            // metres
  double Width;             // metres across the band, centred on the line
  bool Yellow;
  std::vector<TStripe> Stripes;
};

const std::vector<TMarking>& Markings() {
  static const std::vector<TMarking> markings = {
      {"1.1", "Сплошная линия", 1, 0.1, false, {{0, 1, 0, 1}}},
      {"1.2", "Край проезжей части", 1, 0.2, false, {{0, 1, 0, 1}}},
      {"1.3", "Двойная сплошная", 1, 0.3, false, {{0, 1.0 / 3, 0, 1}, {2.0 / 3, 1, 0, 1}}},
      {"1.4", "Запрет остановки", 1, 0.1, true, {{0, 1, 0, 1}}},
      {"1.5", "Прерывистая 3:9", 12, 0.1, false, {{0, 1, 0, 0.25}}},
      {"1.6", "Линия приближения 6:2", 8, 0.1, false, {{0, 1, 0, 0.75}}},
      {"1.7", "Прерывистая короткая 0,5:0,5", 1, 0.1, false, {{0, 1, 0, 0.5}}},
      {"1.8", "Полоса разгона 1:3", 4, 0.4, false, {{0, 1, 0, 0.25}}},
      {"1.9", "Реверсивная полоса", 8, 0.3, false, {{0, 1.0 / 3, 0, 0.75}, {2.0 / 3, 1, 0, 0.75}}},
      {"1.10", "Запрет стоянки", 2, 0.1, true, {{0, 1, 0, 0.5}}},
      {"1.11", "Сплошная с прерывистой", 12, 0.3, false, {{0, 1.0 / 3, 0, 1}, {2.0 / 3, 1, 0, 0.25}}},
      {"1.12", "Стоп-линия", 1, 0.4, false, {{0, 1, 0, 1}}},
      {"1.13", "Уступи дорогу", 0.9, 0.6, false, {{0, 1, 0, 2.0 / 3}}},
  };
  return markings;
}

struct TArrow {
  const char* Name;  // UTF-8
  const char* Gost;
  bool MirrorY;
  TXYZArray Outline;  // normal size, metres; the large one is half as big again
};

// Arrows 5 m long with a shaft 0.15 m wide; turning arms leave the shaft to the
// right (-y) and are mirrored for the left-hand variants.
const std::vector<TArrow>& Arrows() {
  static const TXYZArray straight = {{0, -0.075f},  {3.5f, -0.075f}, {3.5f, -0.35f}, {5, 0},
                                     {3.5f, 0.35f}, {3.5f, 0.075f},  {0, 0.075f}};
  static const TXYZArray right = {{0, -0.075f},  {2.35f, -0.075f}, {2.35f, -0.9f},
                                  {2.1f, -0.9f}, {2.425f, -1.6f},  {2.75f, -0.9f},
                                  {2.5f, -0.9f}, {2.5f, 0.075f},   {0, 0.075f}};
  static const TXYZArray straightRight = {{0, -0.075f},    {2.35f, -0.075f}, {2.35f, -0.9f}, {2.1f, -0.9f},
                                          {2.425f, -1.6f}, {2.75f, -0.9f},   {2.5f, -0.9f},  {2.5f, -0.075f},
                                          {3.5f, -0.075f}, {3.5f, -0.35f},   {5, 0},         {3.5f, 0.35f},
                                          {3.5f, 0.075f},  {0, 0.075f}};
  static const std::vector<TArrow> arrows = {
      {"Прямо", "1.18", false, straight},
      {"Направо", "1.18", false, right},
      {"Налево", "1.18", true, right},
      {"Прямо и направо", "1.18", false, straightRight},
      {"Прямо и налево", "1.18", true, straightRight},
  };
  return arrows;
}

constexpr double kBigScale = 1.5;
constexpr int32_t kTextureWidth = 64;
constexpr int32_t kTextureHeight = 24;

std::string Line(const std::string& key, const std::string& value) {
  return key + "=" + value + "\r\n";
}

std::string TextureName(const TMarking& marking) {
  return std::string(marking.Name) + ".bmp";
}

// Black paint on white: white is the texture's transparent colour, so only the paint
// shows; yellow markings tint the black.
TBitmap Texture(const TMarking& marking) {
  TBitmap bitmap(kTextureWidth, kTextureHeight, TPixelFormat::pf1bit);
  bitmap.SetPalette({0x000000, 0xFFFFFF});
  for (int32_t y = 0; y < kTextureHeight; ++y) {
    for (int32_t x = 0; x < kTextureWidth; ++x) {
      const double u = (x + 0.5) / kTextureWidth, v = (y + 0.5) / kTextureHeight;
      const bool painted = std::any_of(marking.Stripes.begin(), marking.Stripes.end(), [&](const TStripe& s) {
        return v >= s.V0 && v < s.V1 && u >= s.U0 && u < s.U1;
      });
      bitmap.SetPixel(x, y, painted ? 0x000000 : 0xFFFFFF);
    }
  }
  return bitmap;
}

double PaintedShare(const TMarking& marking) {
  double share = 0;
  for (const TStripe& s : marking.Stripes) share += (s.V1 - s.V0) * (s.U1 - s.U0);
  return share;
}

// The pieces of a library file are appended one by one: GCC 12 at -O3 warns falsely
// (-Wrestrict) about a literal joined to a string with operator+.
std::string Heading(const std::string& comment) {
  std::string text = "; ";
  text += comment;
  text += "\r\n";
  return text;
}

std::string Section(const std::string& name) {
  std::string text = "[";
  text += name;
  text += "]\r\n";
  return text;
}

std::string LineLibrary() {
  std::string text = Heading(Utf8ToCp1251("Линии разметки"));
  for (const TMarking& m : Markings()) {
    const bool dashed =
        std::any_of(m.Stripes.begin(), m.Stripes.end(), [](const TStripe& s) { return s.U1 < 1; });
    for (const std::string& piece :
         {Section(m.Name), Line("TextureFile", TextureName(m)), Line("Period", FormatGeneral(m.Period)),
          Line("Disp1", FormatGeneral(m.Width / 2)), Line("Disp2", FormatGeneral(-m.Width / 2)),
          Line("Description", Utf8ToCp1251(m.Description)),
          Line("SqCoeff", FormatGeneral(m.Width * PaintedShare(m), 6)), Line("FullPeriods", dashed ? "1" : "0"),
          Line("Yellow", m.Yellow ? "1" : "0"), Line("Plastic", "0"), Line("CountItems", "0")}) {
      text += piece;
    }
    text += "\r\n";
  }
  return text;
}

std::string OutlineText(const TXYZArray& outline, double scale) {
  std::string text;
  for (const TXYZ& p : outline)
    text += FormatGeneral(std::nearbyint(p.x * scale * 1000) / 1000) + "&" +
            FormatGeneral(std::nearbyint(p.y * scale * 1000) / 1000) + "#";
  return text;
}

std::string ArrowLibraryText() {
  std::string text = Heading(Utf8ToCp1251("Стрелки разметки"));
  for (const TArrow& a : Arrows()) {
    for (const std::string& piece :
         {Section(Utf8ToCp1251(a.Name)), Line("LineLoop1", OutlineText(a.Outline, 1)),
          Line("LineLoop2", OutlineText(a.Outline, kBigScale)), Line("MirrorY", a.MirrorY ? "1" : "0"),
          Line("DescriptionLow", Utf8ToCp1251("Длина 5 м")), Line("DescriptionHigh", Utf8ToCp1251("Длина 7,5 м")),
          Line("GostSubName", a.Gost)}) {
      text += piece;
    }
    text += "\r\n";
  }
  return text;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw EVellmarError("vellmar-datafiles: " + what);
}

double OutlineArea(const TXYZArray& points) {
  double area = 0;
  for (std::size_t i = 1; i + 1 < points.size(); ++i) area += SignedArea(points[0], points[i], points[i + 1]);
  return std::abs(area);
}

// Reads the written libraries back the way the viewer does.
void Verify(const fs::path& folder) {
  const TLnParams params = LoadLnParamsFromIni(folder / "Default.LnRazmet");
  Check(params.size() == Markings().size(), "Default.LnRazmet reads back with another number of markings");
  for (const LnParam& param : params) {
    TBitmap texture;
    texture.LoadFromFile(folder / std::string(ShortStringText(param.TextureFile)));
    Check(param.Period > 0 && param.Disp1 > param.Disp2,
          std::string(ShortStringText(param.Name)) + " reads back wrong");
  }
  const TArrowLibrary arrows = TArrowLibrary::LoadFromFile(folder / "ArrowRazmet.std");
  Check(arrows.Count() == static_cast<int32_t>(Arrows().size()),
        "ArrowRazmet.std reads back with another count");
  for (int32_t i = 0; i < arrows.Count(); ++i) {
    for (const TArrowOutline* outline : {&arrows.Type(i).Normal, &arrows.Type(i).Big}) {
      Check(std::abs(outline->Area - OutlineArea(outline->Points)) < 1e-4 * outline->Area,
            "arrow " + std::to_string(i) + " does not fill its outline");
    }
  }
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  Check(static_cast<bool>(out), "cannot write " + path.string());
}

fs::path Write(const fs::path& root) {
  const fs::path folder = root / "DataFiles" / "Разметка";
  fs::create_directories(folder);
  WriteText(folder / "Default.LnRazmet", LineLibrary());
  WriteText(folder / "ArrowRazmet.std", ArrowLibraryText());
  for (const TMarking& m : Markings()) Texture(m).SaveToFile(folder / TextureName(m));
  Verify(folder);
  WriteRoadTextures(root / "DataFiles");
  WriteDesignTextures(root / "DataFiles");
  WriteMarkingFont(root / "DataFiles");
  WriteSignDuplicates(root / "DataFiles");
  WriteFurnitureTextures(root / "DataFiles");
  WriteSignLibrary(root / "DataFiles");
  WriteTrafficLightPictures(root / "DataFiles");
  return folder;
}

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every written file must be in the committed tree with the same bytes.
void CompareWith(const fs::path& committed) {
  const fs::path scratch = fs::temp_directory_path() / ("vellmar-datafiles-" + std::to_string(::getpid()));
  Write(scratch);
  bool same = true;
  for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
    if (entry.is_symlink()) {
      // A folder that leads to another (the sign library's default folder); relative()
      // would follow the link.
      const fs::path other = committed / entry.path().lexically_relative(scratch);
      std::error_code ec;
      if (!fs::is_symlink(other) || fs::read_symlink(other, ec) != fs::read_symlink(entry.path())) {
        std::cerr << "stale: " << other.string() << "\n";
        same = false;
      }
      continue;
    }
    if (!entry.is_regular_file()) continue;
    const fs::path other = committed / fs::relative(entry.path(), scratch);
    if (FileText(entry.path()) != FileText(other)) {
      std::cerr << "stale: " << other.string() << "\n";
      same = false;
    }
  }
  fs::remove_all(scratch);
  Check(same, "the committed data files differ from what this program writes; run it again");
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    // The symbol libraries are street files.
    vellmar::RegisterAllItemKinds();
    // An option it does not know (--help) is no folder to write into.
    if (args.size() == 1 && !args[0].starts_with('-')) {
      std::cout << vellmar::Write(args[0]).string() << "\n";
      return 0;
    }
    if (args.size() == 2 && args[0] == "--check") {
      vellmar::CompareWith(args[1]);
      return 0;
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: vellmar-datafiles DIR | vellmar-datafiles --check DIR\n";
  return 2;
}
