#include "DemoDesign.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "../datafiles/PictureFiles.h"
#include "document/StreetStructure.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/DsnLineDefList.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/design/DesignLineItem.h"
#include "items/design/KernItem.h"
#include "items/plan/PlanDefineItem.h"
#include "items/text/TextLabelItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/TextDrawing.h"

namespace vellmar {

namespace {

constexpr int32_t kFigureKind = 7;
constexpr int32_t kLineKind = 19;
constexpr int32_t kBlockKind = 20;
constexpr int32_t kTextKind = 21;
constexpr int32_t kKernKind = 33;
constexpr int32_t kPlanKind = 36;
// A park bench seen from above, 2 by 0.7 m: three slats between two dark frames.
TBitmap Bench() {
  return Paint(40, 14, [](double u, double v) -> uint32_t {
    if (u < 0.08 || u > 0.92) return v > 0.1 && v < 0.9 ? 0x303030 : kClear;
    const double slat = std::fmod(v * 3, 1.0);
    return slat > 0.15 && slat < 0.85 ? 0x9C6B3A : 0x5A3A1E;
  });
}

// A round litter bin, 0.6 m across: a dark rim round a grey lid.
TBitmap LitterBin() {
  return Paint(16, 16, [](double u, double v) -> uint32_t {
    const double r = std::hypot(u - 0.5, v - 0.5);
    if (r > 0.5) return kClear;
    return r > 0.38 ? 0x2A2A2A : 0x8A8F94;
  });
}

// A survey mark, 1 m across: a circle with a cross through its centre.
TBitmap SurveyMark() {
  return Paint(16, 16, [](double u, double v) -> uint32_t {
    const double r = std::hypot(u - 0.5, v - 0.5);
    if (std::fabs(r - 0.42) < 0.06) return 0x8B1A1A;
    if (r < 0.42 && (std::fabs(u - 0.5) < 0.04 || std::fabs(v - 0.5) < 0.04)) return 0x8B1A1A;
    return kClear;
  });
}

void AddBlock(TDsnBlockDefList& blocks, std::string_view name, TBitmap picture, float width, float height) {
  TDsnBlockDef& def = blocks.Add();
  def.SetName(std::string(name));
  def.SetAnchor(picture.Width() / 2, picture.Height() / 2);
  def.SetBitmap(std::move(picture));
  def.SetWidth(width);
  def.SetHeight(height);
}

// A clipped hedge 1.2 m wide: round bushes 0.75 m apart, lit from the north-west, the
// ends rounded off. Shapes are worked out in metres: the band is 1.2 m across and a
// pixel 1.5 / 48 m long.
uint32_t HedgeAt(double x, double y, const std::initializer_list<double>& bushes) {
  constexpr double radius = 0.6;
  double nearest = radius * 2;
  double lit = radius * 2;
  for (const double at : bushes) {
    nearest = std::min(nearest, std::hypot(x - at, y));
    lit = std::min(lit, std::hypot(x - at + 0.15, y + 0.15));
  }
  if (nearest > radius) return kClear;
  if (nearest > radius - 0.08) return 0x1B5E20;
  return lit < 0.25 ? 0x4C9A50 : 0x2E7D32;
}

void AddHedge(TDsnLineDefList& lines) {
  constexpr double length = 1.5, across = 1.2;
  constexpr int32_t pixels = 48, height = 40;
  TDsnLineDef& def = lines.Add();
  def.SetName(std::string("Живая изгородь"_cp1251));
  def.SetPeriod(static_cast<float>(length));
  def.SetWidth(static_cast<float>(across));
  const auto part = [&](int32_t width, std::initializer_list<double> bushes) {
    const double metres = length * width / pixels;
    return Paint(width, height, [&](double u, double v) { return HedgeAt(u * metres, (v - 0.5) * across, bushes); });
  };
  def.SetBitmap(TLinePart::Repeat, part(pixels, {-0.375, 0.375, 1.125, 1.875}));
  def.SetBitmap(TLinePart::Start, part(24, {0.6, 1.125}));
  def.SetBitmap(TLinePart::Finish, part(24, {-0.375, 0.15}));
}

// Diagonal hatching every half metre, the lines drawn in the figure's colour.
void AddHatch(TDsnFigDefList& figures) {
  TDsnFigDef& def = figures.Add();
  def.SetName(std::string("Штриховка"_cp1251));
  def.SetPeriodX(0.5f);
  def.SetPeriodY(0.5f);
  def.SetBitmap(Paint(16, 16, [](double u, double v) -> uint32_t {
    return std::fmod(u + v, 1.0) < 0.18 ? 0x000000 : kClear;
  }));
}

TAbstractItem& NewItem(TStreetStructure& street, int32_t kind, std::initializer_list<TXYZ> points) {
  TAbstractItem& item = *street.ItemList(kind).NewItem();
  for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
  return item;
}

// The design items the avenue's own table placed, given their types.
template <typename TItem>
void ForEach(TStreetStructure& street, int32_t kind, const std::function<void(TItem&)>& give) {
  TItemList& list = street.ItemList(kind);
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (auto* item = dynamic_cast<TItem*>(list.Items(i))) give(*item);
  }
}

// ---- the title block -------------------------------------------------------------------

// The stamp is drawn in millimetres and turned a half turn into the landscape sheet's
// bottom-right corner, so it is written here upright about that corner (x to the left
// negative, y up) and turned the other way round.
TXYZ StampPoint(double x, double y) {
  return TXYZ{static_cast<float>(-x), static_cast<float>(-y), 0.0f};
}

void StampLine(TStreetStructure& stamp, double x0, double y0, double x1, double y1, float width) {
  auto& line = dynamic_cast<TDesignLineItem&>(NewItem(stamp, kLineKind, {StampPoint(x0, y0), StampPoint(x1, y1)}));
  line.SetColor(MakeColor(5, 5, 5, 255));
  line.SetWidth(width);
}

void StampText(TStreetStructure& stamp, double x, double y, std::string_view text, int32_t size, uint8_t align,
               uint8_t style = 0) {
  auto& label = dynamic_cast<TTextLabelItem&>(NewItem(stamp, kTextKind, {StampPoint(x, y), StampPoint(x + 1, y)}));
  label.SetText(std::string(text));
  label.SetFontName("Arial");
  label.SetFontStyle(style);
  label.SetSize(size);
  label.SetAlign(align);
  label.SetColor(MakeColor(5, 5, 5, 255));
}

// A title block 185 x 55 mm: a column of signatures on the left, the drawing's name,
// the street, the scale and the sheet on the right.
std::unique_ptr<TStreetStructure> TitleBlock() {
  auto stamp = std::make_unique<TStreetStructure>();
  TStreetStructure& s = *stamp;
  constexpr float bold = 0.7f, thin = 0.0f;
  StampLine(s, -185, 0, -185, 55, bold);
  StampLine(s, -185, 55, 0, 55, bold);
  // The signature column: five rows of 5 mm under a header row.
  StampLine(s, -120, 0, -120, 55, bold);
  for (int row = 1; row <= 5; ++row) StampLine(s, -185, row * 5.0, -120, row * 5.0, row == 5 ? bold : thin);
  StampLine(s, -168, 0, -168, 30, thin);
  StampLine(s, -145, 0, -145, 30, thin);
  StampLine(s, -130, 0, -130, 30, thin);
  const std::string_view roles[] = {"Утв."_cp1251, "Н. контр."_cp1251, "Пров."_cp1251, "Разраб."_cp1251};
  const std::string_view names[] = {"Орлова"_cp1251, "Белов"_cp1251, "Сазонов"_cp1251, "Кириллова"_cp1251};
  for (int row = 0; row < 4; ++row) {
    StampText(s, -183, row * 5.0 + 2.5, roles[row], 40, kAlignMiddleLeft);
    StampText(s, -166, row * 5.0 + 2.5, names[row], 40, kAlignMiddleLeft);
  }
  StampText(s, -152.5, 42, "Проспект Строителей"_cp1251, 52, kAlignMiddleCentre, 1);
  // The right part: the drawing's name over the street's stretch, and the sheet data.
  StampLine(s, -120, 35, 0, 35, bold);
  StampLine(s, -120, 15, 0, 15, bold);
  StampLine(s, -50, 0, -50, 35, bold);
  StampLine(s, -50, 25, 0, 25, thin);
  StampLine(s, -25, 15, -25, 35, thin);
  StampText(s, -60, 45, "План организации дорожного движения"_cp1251, 56, kAlignMiddleCentre, 1);
  StampText(s, -85, 25, "ПК 0+00 — ПК 3+00"_cp1251, 64, kAlignMiddleCentre);
  StampText(s, -85, 7.5, "Площадь Мира — Речной вокзал"_cp1251, 48, kAlignMiddleCentre);
  StampText(s, -37.5, 30, "Масштаб"_cp1251, 40, kAlignMiddleCentre);
  StampText(s, -37.5, 20, "1:500", 56, kAlignMiddleCentre, 1);
  StampText(s, -12.5, 30, "Лист"_cp1251, 40, kAlignMiddleCentre);
  StampText(s, -12.5, 20, "1", 56, kAlignMiddleCentre, 1);
  StampText(s, -25, 7.5, "ООО «Дорпроект»"_cp1251, 56, kAlignMiddleCentre, 1);
  // A stored scale of 0 reads back as a cleared street's scale, so the stamp keeps a
  // view of its own and its sheet saves back byte for byte.
  s.SetView(TXYZ{-92.5f, 27.5f, 0}, 0.01f, 0);
  return stamp;
}

// The sheet over the avenue's straight part: A3 landscape (420 x 297 mm) at 1:500 is
// 210 x 148.5 m, margins of 20 mm on the binding side and 5 mm elsewhere.
void LaySheet(TPlanDefineItem& sheet) {
  sheet.Points().SetVertex(0, {45, -74.25f, 0});
  sheet.Points().SetVertex(1, {46, -74.25f, 0});
  sheet.SetSheetScale(0.002);
  sheet.SetFormat(420, 297);
  sheet.SetIndents(20, 5, 5, 5);
  sheet.SetLandscape(true);
  sheet.SetSheetKinds(TKindRegistry::AllKinds());
  // A landscape sheet puts its bottom-left stamp into the frame's bottom-right corner.
  sheet.SetStamp(TPlanDefineItem::TCorner::BottomLeft, TitleBlock());
}

}  // namespace

void AddDemoDesign(TStreetStructure& street) {
  auto& blocks = dynamic_cast<TDsnBlockDefList&>(*street.Library(TStreetLibrary::TSlot::Blocks));
  AddBlock(blocks, "Скамья"_cp1251, Bench(), 2.0f, 0.7f);
  AddBlock(blocks, "Урна"_cp1251, LitterBin(), 0.6f, 0.6f);
  AddBlock(blocks, "Керн"_cp1251, SurveyMark(), 1.0f, 1.0f);
  AddHedge(dynamic_cast<TDsnLineDefList&>(*street.Library(TStreetLibrary::TSlot::Lines)));
  AddHatch(dynamic_cast<TDsnFigDefList&>(*street.Library(TStreetLibrary::TSlot::Figures)));

  // Litter bins beside the benches and at the crossing.
  auto& bins = dynamic_cast<TDesignBlockItem&>(
      NewItem(street, kBlockKind, {{123.4f, 17, 0}, {126.6f, 17, 0}, {146, 16.5f, 0}, {154, -16.5f, 0}}));
  bins.SetBlockName(std::string("Урна"_cp1251));
  ForEach<TKernItem>(street, kKernKind, [](TKernItem& mark) { mark.SetLabel(std::string("К1"_cp1251)); });
  ForEach<TDesignLineItem>(street, kLineKind, [](TDesignLineItem& hedge) {
    hedge.SetLineDefName(std::string("Живая изгородь"_cp1251));
  });
  ForEach<TDesignFigureItem>(street, kFigureKind, [](TDesignFigureItem& bed) {
    bed.SetPatternName(std::string("Штриховка"_cp1251));
    bed.SetFillColor(MakeColor(40, 120, 40, 255));
  });
  // A playground between the northern houses, hatched like the flower bed.
  auto& playground = dynamic_cast<TDesignFigureItem&>(
      NewItem(street, kFigureKind, {{94, 21, 0}, {126, 21, 0}, {126, 35, 0}, {94, 35, 0}}));
  playground.SetPatternName(std::string("Штриховка"_cp1251));
  playground.SetFillColor(MakeColor(170, 110, 30, 255));
  // The plots' boundaries behind the houses, dashed, and the building line, dash-dot.
  auto& plots = dynamic_cast<TDesignLineItem&>(NewItem(street, kLineKind, {{0, 38, 0}, {300, 38, 0}}));
  plots.SetColor(MakeColor(60, 60, 60, 255));
  plots.SetWidth(0.3f);
  plots.SetStyle(TDesignLineItem::kDashed);
  plots.SetPeriod(3);
  auto& building = dynamic_cast<TDesignLineItem&>(NewItem(street, kLineKind, {{0, -36, 0}, {300, -36, 0}}));
  building.SetColor(MakeColor(200, 30, 30, 255));
  building.SetWidth(0.3f);
  building.SetStyle(TDesignLineItem::kDashDot);
  building.SetPeriod(8);
  ForEach<TPlanDefineItem>(street, kPlanKind, LaySheet);
}

}  // namespace vellmar
