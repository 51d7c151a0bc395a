#pragma once
// UTF-8 decoding and encoding, and the simple upper-case mapping used to compare
// names the way Windows file systems do (Latin, Greek and Cyrillic letters).

#include <cstddef>
#include <string>
#include <string_view>

namespace vellmar {

// Returned by DecodeUtf8 for a malformed or truncated sequence.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point starting at text[pos] and moves pos past it. A malformed
// sequence (overlong, surrogate, above U+10FFFF, truncated) yields kInvalidCodePoint
// and moves pos by one byte, so that a caller can go on with the next byte.
constexpr char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
    smallest = 0x10000;
  } else {
    ++pos;
    return kInvalidCodePoint;
  }
  if (text.size() - pos < length) {
    ++pos;
    return kInvalidCodePoint;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kInvalidCodePoint;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kInvalidCodePoint;
  }
  pos += length;
  return cp;
}

// Appends the UTF-8 form of a valid code point.
void AppendUtf8(std::string& out, char32_t cp);

// Simple (one to one) upper-case mapping for Latin-1, Latin Extended-A, Greek and
// Cyrillic; every other code point maps to itself.
constexpr char32_t UnicodeUpper(char32_t cp) {
  const auto pairEvenUpper = [](char32_t c) { return (c & 1) != 0 ? c - 1 : c; };
  const auto pairOddUpper = [](char32_t c) { return (c & 1) == 0 ? c - 1 : c; };
  if (cp < 0x80) return cp >= U'a' && cp <= U'z' ? cp - 0x20 : cp;
  if (cp == 0xB5) return 0x39C;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  if ((cp >= 0x100 && cp <= 0x12F) || (cp >= 0x132 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) {
    return pairEvenUpper(cp);
  }
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return pairOddUpper(cp);
  if (cp == 0x3AC) return 0x386;
  if (cp >= 0x3AD && cp <= 0x3AF) return cp - 37;
  if (cp == 0x3C2) return 0x3A3;
  if (cp >= 0x3B1 && cp <= 0x3CB) return cp - 0x20;
  if (cp == 0x3CC) return 0x38C;
  if (cp == 0x3CD || cp == 0x3CE) return cp - 63;
  if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
  if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
  if ((cp >= 0x460 && cp <= 0x481) || (cp >= 0x48A && cp <= 0x4BF) || (cp >= 0x4D0 && cp <= 0x52F)) {
    return pairEvenUpper(cp);
  }
  if (cp >= 0x4C1 && cp <= 0x4CE) return pairOddUpper(cp);
  if (cp == 0x4CF) return 0x4C0;
  return cp;
}

// True when two UTF-8 texts are equal under UnicodeUpper; malformed bytes must match
// exactly.
bool Utf8EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vellmar
