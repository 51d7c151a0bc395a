// The marking font: tall narrow letters of the road-marking standard's proportions
// (1.6 m high, 0.6 m wide), each drawn as straight strokes with chamfered corners.

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "SymbolFiles.h"
#include "document/StreetStructure.h"
#include "items/design/DesignFigureItem.h"
#include "items/road/MarkingFont.h"
#include "items/road/SymbolGlyphs.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

constexpr int32_t kFigureKind = 7;
constexpr int32_t kReferencePointKind = 25;

using TStroke = std::vector<TXYZ>;
using TStrokes = std::vector<TStroke>;

constexpr float W = 0.6f, H = 1.6f, C = 0.15f, M = 0.8f;

TStroke Loop() {
  return {{C, 0}, {W - C, 0}, {W, C}, {W, H - C}, {W - C, H}, {C, H}, {0, H - C}, {0, C}, {C, 0}};
}

// The characters by their UTF-8 text; several share a shape (Cyrillic and Latin "А").
const std::vector<std::pair<std::string, TStrokes>>& Letters() {
  const TStroke b1 = {{0, 0}, {0, H}, {W - C, H}, {W, H - C}, {W, M + C}, {W - C, M}, {0, M}};
  const TStroke b2 = {{W - C, M}, {W, M - C}, {W, C}, {W - C, 0}, {0, 0}};
  const TStrokes a = {{{0, 0}, {W / 2, H}, {W, 0}}, {{0.12f, 0.5f}, {W - 0.12f, 0.5f}}};
  const TStrokes c = {{{W, C}, {W - C, 0}, {C, 0}, {0, C}, {0, H - C}, {C, H}, {W - C, H}, {W, H - C}}};
  const TStrokes e = {{{W, H}, {0, H}, {0, 0}, {W, 0}}, {{0, M}, {W * 0.8f, M}}};
  const TStrokes h = {{{0, 0}, {0, H}}, {{W, 0}, {W, H}}, {{0, M}, {W, M}}};
  const TStrokes k = {{{0, 0}, {0, H}}, {{W, H}, {0, 0.6f}}, {{0.2f, 0.85f}, {W, 0}}};
  const TStrokes m = {{{0, 0}, {0, H}, {W / 2, M}, {W, H}, {W, 0}}};
  const TStrokes o = {Loop()};
  const TStrokes p = {{{0, 0}, {0, H}, {W - C, H}, {W, H - C}, {W, M + C}, {W - C, M}, {0, M}}};
  const TStrokes t = {{{0, H}, {W, H}}, {{W / 2, H}, {W / 2, 0}}};
  const TStrokes x = {{{0, 0}, {W, H}}, {{0, H}, {W, 0}}};
  const TStrokes s = {{{W, H - C}, {W - C, H}, {C, H}, {0, H - C}, {0, M + C}, {C, M}, {W - C, M}, {W, M - C},
                       {W, C}, {W - C, 0}, {C, 0}, {0, C}}};
  const TStrokes u = {{{0, H}, {0, C}, {C, 0}, {W - C, 0}, {W, C}, {W, H}}};
  const TStrokes three = {{{0, H - C}, {C, H}, {W - C, H}, {W, H - C}, {W, M + C}, {W - C, M}, {0.2f, M}},
                          {{W - C, M}, {W, M - C}, {W, C}, {W - C, 0}, {C, 0}, {0, C}}};
  const TStrokes six = {{{W, H - C}, {W - C, H}, {C, H}, {0, H - C}, {0, C}, {C, 0}, {W - C, 0}, {W, C},
                         {W, M - C}, {W - C, M}, {0, M}}};
  TStrokes nine;
  for (const TStroke& stroke : six) {
    TStroke turned;
    for (const TXYZ& q : stroke) turned.push_back({W - q.x, H - q.y, 0});
    nine.push_back(turned);
  }
  static const std::vector<std::pair<std::string, TStrokes>> letters = {
      {"А", a}, {"A", a},
      {"Б", {{{W, H}, {0, H}, {0, 0}, {W - C, 0}, {W, C}, {W, M - C}, {W - C, M}, {0, M}}}},
      {"В", {b1, b2}}, {"B", {b1, b2}},
      {"Г", {{{W, H}, {0, H}, {0, 0}}}},
      {"Д", {{{0, -0.2f}, {0, 0}, {W, 0}, {W, -0.2f}}, {{0.08f, 0}, {0.2f, H}, {W - 0.08f, H}, {W - 0.08f, 0}}}},
      {"Е", e}, {"E", e},
      {"З", three},
      {"И", {{{0, H}, {0, 0}, {W, H}, {W, 0}}}},
      {"К", k}, {"K", k},
      {"Л", {{{0, 0}, {0.2f, H}, {W, H}, {W, 0}}}},
      {"М", m}, {"M", m},
      {"Н", h}, {"H", h},
      {"О", o}, {"O", o},
      {"П", {{{0, 0}, {0, H}, {W, H}, {W, 0}}}},
      {"Р", p}, {"P", p},
      {"С", c}, {"C", c},
      {"Т", t}, {"T", t},
      {"У", {{{0, H}, {W / 2, 0.55f}}, {{W, H}, {0.1f, 0}}}},
      {"Х", x}, {"X", x},
      {"Ц", {{{0, H}, {0, 0}, {W, 0}, {W, H}}, {{W, 0}, {W, -0.2f}}}},
      {"Ч", {{{0, H}, {0, M + C}, {C, M}, {W, M}}, {{W, H}, {W, 0}}}},
      {"Ш", {{{0, H}, {0, 0}, {W, 0}, {W, H}}, {{W / 2, 0}, {W / 2, H}}}},
      {"Ь", {{{0, H}, {0, 0}, {W - C, 0}, {W, C}, {W, M - C}, {W - C, M}, {0, M}}}},
      {"Я", {{{W, 0}, {W, H}, {C, H}, {0, H - C}, {0, M + C}, {C, M}, {W, M}}, {{W, M}, {0, 0}}}},
      {"S", s}, {"U", u},
      {"0", {Loop(), {{C, 0.3f}, {W - C, H - 0.3f}}}},
      {"1", {{{0.08f, 1.25f}, {0.4f, H}, {0.4f, 0}}}},
      {"2", {{{0, H - C}, {C, H}, {W - C, H}, {W, H - C}, {W, 0.95f}, {0, 0}, {W, 0}}}},
      {"3", three},
      {"4", {{{0.45f, 0}, {0.45f, H}, {0, 0.5f}, {W, 0.5f}}}},
      {"5", {{{W, H}, {0, H}, {0, 0.9f}, {W - C, 0.9f}, {W, 0.9f - C}, {W, C}, {W - C, 0}, {C, 0}, {0, C}}}},
      {"6", six},
      {"7", {{{0, H}, {W, H}, {0.15f, 0}}}},
      {"8", {{{C, M}, {W - C, M}, {W, M + C}, {W, H - C}, {W - C, H}, {C, H}, {0, H - C}, {0, M + C}, {C, M}},
             {{C, 0}, {W - C, 0}, {W, C}, {W, M - C}, {W - C, M}, {C, M}, {0, M - C}, {0, C}, {C, 0}}}},
      {"9", nine},
  };
  return letters;
}

const TStrokes* FindLetter(char code) {
  for (const auto& [text, strokes] : Letters()) {
    const std::string encoded = Utf8ToCp1251(text);
    if (encoded.size() == 1 && encoded[0] == code) return &strokes;
  }
  return nullptr;
}

TAbstractItem& NewItem(TStreetStructure& street, int32_t kind, const TXYZArray& points, std::string_view group) {
  TAbstractItem& item = *street.ItemList(kind).NewItem();
  for (const TXYZ& q : points) item.Points().InsertNew(item.Points().Count(), q);
  item.SetGroupName(std::string(group));
  return item;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw EVellmarError("vellmar-datafiles: " + what);
}

}  // namespace

void AddStrokeFigure(TStreetStructure& street, const TXYZ& a, const TXYZ& b, double strokeWidth,
                     std::string_view group) {
  const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
  if (length == 0.0) return;
  const double ux = dx / length * strokeWidth / 2, uy = dy / length * strokeWidth / 2;
  const auto at = [](double x, double y) { return TXYZ{static_cast<float>(x), static_cast<float>(y), 0}; };
  const TXYZArray quad = {at(a.x - ux + uy, a.y - uy - ux), at(b.x + ux + uy, b.y + uy - ux),
                          at(b.x + ux - uy, b.y + uy + ux), at(a.x - ux - uy, a.y - uy + ux)};
  dynamic_cast<TDesignFigureItem&>(NewItem(street, kFigureKind, quad, group)).SetFillColor(kSymbolInk);
}

void AddGroupAnchor(TStreetStructure& street, const TXYZ& at, std::string_view group) {
  NewItem(street, kReferencePointKind, {at}, group);
}

bool AddLetterFigures(TStreetStructure& street, char code, double scale, const TXYZ& offset,
                      std::string_view group) {
  const TStrokes* strokes = FindLetter(code);
  if (strokes == nullptr) return false;
  const auto place = [&](const TXYZ& q) {
    return TXYZ{static_cast<float>(offset.x + q.x * scale), static_cast<float>(offset.y + q.y * scale), 0};
  };
  for (const TStroke& stroke : *strokes) {
    for (size_t i = 1; i < stroke.size(); ++i)
      AddStrokeFigure(street, place(stroke[i - 1]), place(stroke[i]), kStrokeWidth * scale, group);
  }
  return true;
}

void WriteMarkingFont(const fs::path& dataFiles) {
  const fs::path file = dataFiles / "Разметка" / "RazmetFont.pln";
  TStreetStructure street;
  street.SetStreetName(Utf8ToCp1251("Шрифт разметки"));
  // The letters side by side, 1 m apart, each with its anchor at its bottom left.
  std::map<char, bool> written;
  float column = 0;
  for (const auto& [text, strokes] : Letters()) {
    const std::string group = Utf8ToCp1251(text);
    if (written[group[0]]) continue;
    written[group[0]] = true;
    const TXYZ origin{column, 0, 0};
    AddLetterFigures(street, group[0], 1.0, origin, group);
    AddGroupAnchor(street, origin, group);
    street.GroupNames().SetValue(group, "ON");
    column += 1.0f;
  }
  street.SaveToFile(file);

  const TMarkingFont font = TMarkingFont::LoadFromFile(file);
  for (const auto& [text, strokes] : Letters()) {
    const auto code = static_cast<unsigned char>(Utf8ToCp1251(text)[0]);
    Check(!font.IsPlaceholder(code) && !font.Glyph(code).Triangles.empty(),
          "RazmetFont.pln reads back without the letter " + text);
  }
}

}  // namespace vellmar
