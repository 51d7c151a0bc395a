#pragma once
// Text of metafiles: single-byte strings decoded by the code page their font's
// character set stands for, and the UTF-16 strings of the wide records.

#include <cstdint>
#include <span>
#include <string>

namespace vellmar {

inline constexpr uint32_t kEtoOpaque = 2, kEtoClipped = 4;
inline constexpr uint8_t kAnsiCharset = 0, kSymbolCharset = 2, kRussianCharset = 204;

// Bytes of a string written with a font of the character set: Windows-1252 for
// ANSI_CHARSET, the symbol font's private area for SYMBOL_CHARSET, Windows-1251 for
// the Cyrillic and the default character sets (the pictures are made on Russian
// systems) and for every set the player does not know.
std::u32string DecodeCharsetText(std::span<const uint8_t> bytes, uint8_t charset);

// Little-endian UTF-16 code units; unpaired surrogates become U+FFFD.
std::u32string DecodeUtf16(std::span<const uint8_t> bytes);

std::string EncodeUtf8(std::u32string_view text);

}  // namespace vellmar
