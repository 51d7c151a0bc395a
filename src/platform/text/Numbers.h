#pragma once
// Numbers in document and data texts: parsed and formatted with "." whatever the
// process locale says (Qt sets it from the user's environment), and the rounding
// rules the file formats were written with.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellmar {

// A decimal number with "." as separator, e.g. " -1.5e3 "; blanks (space, tab, CR,
// LF) around it are allowed, a leading "+" too. Anything else, an infinity, a NaN
// or a value out of double's range gives nullopt.
std::optional<double> ParseDouble(std::string_view text);

// A decimal integer with optional sign and surrounding blanks; nullopt when the
// text is not one or does not fit.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// printf's "%.<digits>g": the shortest of fixed and exponent form with that many
// significant digits, trailing zeros dropped ("0.1", "1e+21", "-0").
std::string FormatGeneral(double value, int significantDigits = 15);

// printf's "%.<decimals>f".
std::string FormatFixed(double value, int decimals);

// printf's "%<width>.<decimals>f": right-aligned in at least width characters.
std::string FormatFixedWidth(double value, int width, int decimals);

// Rounds to the nearest integer, halves to the even one (0.5 → 0, 1.5 → 2,
// -2.5 → -2), independent of the floating-point rounding mode.
double RoundHalfEven(double value);

// The integer of RoundHalfEven and of truncation toward zero, saturated to the
// int32 range; NaN gives 0. (A plain cast of an out-of-range value is undefined.)
std::int32_t RoundToInt32(double value);
std::int32_t TruncToInt32(double value);

}  // namespace vellmar
