#include "export/QuantitiesPages.h"

#include <cairo.h>

#include <string>
#include <vector>

#include "export/Quantities.h"
#include "platform/text/Numbers.h"
#include "render/PdfDocument.h"

namespace vellmar {

namespace {

// Millimetres on an A4 page.
constexpr double kLeft = 20.0, kTop = 20.0, kBottom = 277.0, kLineStep = 5.5, kTextSize = 3.5;
constexpr double kColumns[] = {0.0, 70.0, 95.0, 130.0};  // name, count, length, area
constexpr const char* kFace = "Liberation Sans";

struct TLine {
  bool Heading = false;
  std::string Cells[4];
};

std::string Fixed(double value, int decimals) { return FormatFixed(value + 0.0, decimals); }

std::vector<TLine> Lines(const TQuantities& q) {
  std::vector<TLine> lines;
  lines.push_back({true, {"Разметка", "шт.", "длина, м", "площадь, м²"}});
  for (const TMarkingQuantity& m : q.Markings) {
    lines.push_back({false, {m.Type, std::to_string(m.Count), Fixed(m.Length, 2), Fixed(m.Area, 2)}});
  }
  lines.push_back({true, {"Знаки", "шт.", "ПК, м", "смещение, м"}});
  for (const TSignQuantity& s : q.Signs) {
    lines.push_back({false, {s.Number, std::to_string(s.Places.size()), "", ""}});
    for (const TSignPlace& p : s.Places) {
      const std::string side = p.Side == "right" ? " справа" : p.Side == "left" ? " слева" : "";
      lines.push_back({false, {"   ID " + std::to_string(p.Id), "", p.Station ? Fixed(*p.Station, 2) : "",
                               p.Offset ? Fixed(*p.Offset, 2) + side : ""}});
    }
  }
  lines.push_back({true, {"Покрытия", "шт.", "", "площадь, м²"}});
  for (const TKindQuantity& k : q.Surfaces) lines.push_back({false, {k.Name, std::to_string(k.Count), "", Fixed(k.Amount, 2)}});
  lines.push_back({true, {"Линейные элементы", "шт.", "длина, м", ""}});
  for (const TKindQuantity& k : q.Lines) lines.push_back({false, {k.Name, std::to_string(k.Count), Fixed(k.Amount, 2), ""}});
  return lines;
}

}  // namespace

void AddQuantityPages(TPdfDocument& document, const TQuantities& quantities) {
  const std::vector<TLine> lines = Lines(quantities);
  const TPaper a4{210.0, 297.0, 300, 0.0};
  const size_t perPage = static_cast<size_t>((kBottom - kTop) / kLineStep);
  for (size_t first = 0; first < lines.size(); first += perPage) {
    document.AddPlainPage(a4, [&](cairo_t* cairo) {
      cairo_set_source_rgb(cairo, 0, 0, 0);
      cairo_set_font_size(cairo, kTextSize);
      for (size_t i = first; i < lines.size() && i < first + perPage; ++i) {
        const double y = kTop + static_cast<double>(i - first + 1) * kLineStep;
        cairo_select_font_face(cairo, kFace, CAIRO_FONT_SLANT_NORMAL,
                               lines[i].Heading ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        for (size_t c = 0; c < 4; ++c) {
          cairo_move_to(cairo, kLeft + kColumns[c], y);
          cairo_show_text(cairo, lines[i].Cells[c].c_str());
        }
      }
    });
  }
}

}  // namespace vellmar
