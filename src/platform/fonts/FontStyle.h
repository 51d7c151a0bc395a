#pragma once
// The style set of a Windows font as labels store it: one byte of flags.

#include <cstdint>

namespace vellmar {

using TFontStyle = uint8_t;

inline constexpr TFontStyle kFontBold = 1 << 0;
inline constexpr TFontStyle kFontItalic = 1 << 1;
inline constexpr TFontStyle kFontUnderline = 1 << 2;
inline constexpr TFontStyle kFontStrikeOut = 1 << 3;

}  // namespace vellmar
