#include "DemoLabels.h"

#include <string_view>

#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "items/text/TextLabelItem.h"
#include "platform/fonts/FontStyle.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/TextDrawing.h"

namespace vellmar {

namespace {

constexpr int32_t kTextLabel = 21;

struct TDemoLabel {
  std::string_view Text;  // Windows-1251
  std::string_view Font;
  TFontStyle Style;
  int32_t Size;
  uint8_t Align;
  bool Outline;
  uint32_t Color;
  TXYZ Anchor;
  bool Turned = false;
  TXYZ Towards = {};  // the second point, when Turned
};

constexpr uint32_t kInk = MakeColor(5, 5, 5, 255);
constexpr uint32_t kBlue = MakeColor(20, 40, 140, 255);
constexpr uint32_t kRed = MakeColor(150, 20, 20, 255);

// The texts are constants of their own: clang 14 crashes on these literals inside a
// function.
constexpr TDemoLabel kLabels[] = {
    // House names, centred and at their ends.
    {"ТЦ «Северный»"_cp1251, "Arial", kFontBold, 60, kAlignMiddleCentre, false, kBlue, {50, 27, 0}},
    {"Hotel Stroitel"_cp1251, "Times New Roman", kFontItalic | kFontUnderline, 60, kAlignMiddleCentre, false,
     kInk, {225, 28, 0}},
    {"Дом 12, корп. 2"_cp1251, "Times New Roman", kFontBold | kFontItalic, 40, kAlignMiddleLeft, false, kInk,
     {24, -27, 0}},
    {"Школа № 5"_cp1251, "Courier New", kFontBold, 50, kAlignMiddleRight, false, kRed, {286, -26, 0}},
    // The side lane between the northern houses, written up the lane.
    {"пер. Речной"_cp1251, "Arial", 0, 40, kAlignBaselineLeft, false, kInk, {131, 21, 0}, true, {131, 35, 0}},
    // Notes on the road, hanging from, standing on and ending at their anchors.
    {"Остановка «Речной вокзал»"_cp1251, "Arial", kFontItalic, 12, kAlignTopLeft, false, kInk, {110, 17.6f, 0}},
    {"Stop line"_cp1251, "Courier New", 0, 12, kAlignTopCentre, false, kRed, {143, -11.3f, 0}},
    {"Газон"_cp1251, "Times New Roman", kFontItalic, 14, kAlignTopRight, false, kInk, {258, 13.6f, 0}},
    {"ПК 1+50"_cp1251, "Courier New", kFontBold, 16, kAlignBaselineCentre, false, kBlue, {150, 0.6f, 0}},
    {"Avenue of Builders"_cp1251, "Arial", kFontBold | kFontItalic, 16, kAlignBaselineRight, false, kInk,
     {296, -16.2f, 0}},
    // The avenue's name in outline across the southern carriageway.
    {"СТРОИТЕЛЕЙ"_cp1251, "Arial", kFontBold, 80, kAlignMiddleCentre, true, kRed, {230, -7.5f, 0}},
};

}  // namespace

void AddDemoLabels(TStreetStructure& street) {
  TItemList& list = street.ItemList(kTextLabel);
  for (const TDemoLabel& demo : kLabels) {
    auto& label = dynamic_cast<TTextLabelItem&>(*list.NewItem());
    label.Points().InsertNew(0, demo.Anchor);
    if (demo.Turned) label.Points().InsertNew(1, demo.Towards);
    label.SetText(std::string(demo.Text));
    label.SetFontName(std::string(demo.Font));
    label.SetFontStyle(demo.Style);
    label.SetSize(demo.Size);
    label.SetAlign(demo.Align);
    label.SetOutline(demo.Outline);
    label.SetColor(demo.Color);
  }
}

}  // namespace vellmar
