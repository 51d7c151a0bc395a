#include "platform/text/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/text/Blanks.h"

namespace vellmar {
namespace {

// from_chars refuses a leading "+", which people write in data files.
std::string_view DropPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

std::int32_t SaturateToInt32(double integral) {
  if (std::isnan(integral)) return 0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (integral <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (integral >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(integral);
}

template <typename... Format>
std::string ToChars(double value, Format... format) {
  // Fixed form of 1e308 with its decimals is the longest text this can be asked for.
  char buffer[std::numeric_limits<double>::max_exponent10 + 8 + 512];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, format...);
  return std::string(buffer, result.ptr);
}

int ClampPrecision(int precision) {
  return std::clamp(precision, 0, 500);
}

}  // namespace

std::optional<double> ParseDouble(std::string_view text) {
  text = DropPlus(TrimBlanks(text));
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  text = DropPlus(TrimBlanks(text));
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatGeneral(double value, int significantDigits) {
  return ToChars(value, std::chars_format::general, ClampPrecision(significantDigits));
}

std::string FormatFixed(double value, int decimals) {
  return ToChars(value, std::chars_format::fixed, ClampPrecision(decimals));
}

std::string FormatFixedWidth(double value, int width, int decimals) {
  std::string text = FormatFixed(value, decimals);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) text.insert(0, width - text.size(), ' ');
  return text;
}

double RoundHalfEven(double value) {
  // floor and the difference below are exact in double, so no rounding mode enters.
  const double lower = std::floor(value);
  const double fraction = value - lower;
  double rounded = lower + 1;
  if (fraction < 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) == 0)) rounded = lower;
  // -0.3 rounds to -0, as the hardware rounding does.
  return rounded == 0 ? std::copysign(0.0, value) : rounded;
}

std::int32_t RoundToInt32(double value) {
  return SaturateToInt32(RoundHalfEven(value));
}

std::int32_t TruncToInt32(double value) {
  return SaturateToInt32(std::trunc(value));
}

}  // namespace vellmar
