#include "items/road/StationText.h"

#include <cmath>
#include <cstdint>

#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

namespace {

constexpr std::string_view kPicket = "ПК"_cp1251;
constexpr std::string_view kMetres = " м"_cp1251;
constexpr std::string_view kRight = " справа"_cp1251;
constexpr std::string_view kLeft = " слева"_cp1251;
constexpr std::string_view kEnglishPicket = "Sta";
constexpr double kDefaultStep = 100.0;

double Step(double picketStep) {
  return picketStep > 0.0 && std::isfinite(picketStep) ? picketStep : kDefaultStep;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string PicketText(double station, double picketStep, TLanguage language) {
  // In hundredths, so that 99.996 m shows as the next picket, not as "0+100.00".
  const double step = std::nearbyint(Step(picketStep) * 100.0);
  const double total = std::nearbyint(std::fabs(station) * 100.0);
  const double picket = std::floor(total / step);
  const double rest = total - picket * step;
  std::string metres = FormatFixed(rest / 100.0, 2);
  // As wide as the longest distance past a picket: "1+05.00" with 100 m pickets.
  const size_t width = FormatFixed(std::floor((step - 1.0) / 100.0), 0).size() + 3;
  if (metres.size() < width) metres.insert(0, width - metres.size(), '0');
  const bool before = station < 0.0 && total > 0.0;
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap in "..." + std::string.
  std::string text(language == TLanguage::Russian ? kPicket : kEnglishPicket);
  text += ' ';
  if (before) text += '-';
  text += FormatFixed(picket, 0);
  text += '+';
  text += metres;
  return text;
}

std::string AxisPlaceText(const TAxisPlace& place, double picketStep, TLanguage language) {
  const double offset = std::nearbyint(place.Offset * 100.0) / 100.0;
  std::string text = PicketText(place.Station, picketStep, language) + ", ";
  if (language == TLanguage::English) {
    // The side says which way: no sign before the distance.
    text += FormatFixed(std::fabs(offset), 2) + " m";
    if (offset != 0.0) text += offset > 0.0 ? " right" : " left";
    return text;
  }
  if (offset == 0.0) return text + "0.00" + std::string(kMetres);
  if (offset > 0.0) text += '+';
  text += FormatFixed(offset, 2);
  text += kMetres;
  text += offset > 0.0 ? kRight : kLeft;
  return text;
}

std::optional<double> ParseStation(std::string_view text, double picketStep) {
  text = Trimmed(text);
  if (text.starts_with(kPicket)) text = Trimmed(text.substr(kPicket.size()));
  if (text.starts_with(kEnglishPicket)) text = Trimmed(text.substr(kEnglishPicket.size()));
  bool before = false;
  if (text.starts_with('-')) {
    before = true;
    text = Trimmed(text.substr(1));
  }
  if (text.starts_with('+') || text.starts_with('-') || text.empty()) return std::nullopt;
  double station = 0.0;
  const size_t plus = text.find('+');
  if (plus == std::string_view::npos) {
    const std::optional<double> metres = ParseDouble(text);
    if (!metres) return std::nullopt;
    station = *metres;
  } else {
    const std::optional<int32_t> picket = ParseInt32(text.substr(0, plus));
    const std::string_view after = Trimmed(text.substr(plus + 1));
    const std::optional<double> metres = after.starts_with('-') || after.starts_with('+') ? std::nullopt : ParseDouble(after);
    if (!picket || *picket < 0 || !metres) return std::nullopt;
    station = *picket * Step(picketStep) + *metres;
  }
  return before ? -station : station;
}

}  // namespace vellmar
