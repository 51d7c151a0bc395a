#pragma once
// Windows-1251, the code page of every text in the core: conversion to and from
// UTF-8 at the edges (Qt, file names, fonts), compile-time literals written in UTF-8
// source, and case-insensitive comparison as Windows does it for Cyrillic names.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text/Utf8.h"

namespace vellmar {

// Code points of the bytes 0x80..0xFF; the lower half is ASCII. 0x98 has no
// character in the code page; like Windows we give it U+0098, so every byte round
// trips through UTF-8.
inline constexpr std::array<char16_t, 128> kCp1251HighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

constexpr char32_t Cp1251ToUnicode(unsigned char byte) {
  return byte < 0x80 ? char32_t{byte} : char32_t{kCp1251HighHalf[byte - 0x80]};
}

namespace cp1251_detail {

struct TReverseEntry {
  char32_t CodePoint;
  unsigned char Byte;
};

// The high half sorted by code point, for a binary search from Unicode to bytes.
inline constexpr std::array<TReverseEntry, 128> kReverse = [] {
  std::array<TReverseEntry, 128> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = {kCp1251HighHalf[i], static_cast<unsigned char>(0x80 + i)};
  }
  std::sort(table.begin(), table.end(),
            [](const TReverseEntry& a, const TReverseEntry& b) { return a.CodePoint < b.CodePoint; });
  return table;
}();

}  // namespace cp1251_detail

// The byte of a code point, or -1 when the code page has none.
constexpr int UnicodeToCp1251(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  const auto& table = cp1251_detail::kReverse;
  const auto it =
      std::lower_bound(table.begin(), table.end(), cp,
                       [](const cp1251_detail::TReverseEntry& e, char32_t c) { return e.CodePoint < c; });
  return it != table.end() && it->CodePoint == cp ? it->Byte : -1;
}

// Every byte maps to a code point, so this never fails.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Characters the code page lacks, and malformed UTF-8 bytes, become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// 1251 bytes of a UTF-8 literal, converted at compile time; a character outside the
// code page is a compile error. Keep it in a variable: View() of a temporary would
// dangle, so it is refused.
template <std::size_t N>
class TCp1251Text {
 public:
  constexpr std::string_view View() const& { return {bytes_.data(), size_}; }
  std::string_view View() const&& = delete;
  std::string Str() const { return std::string(bytes_.data(), size_); }
  constexpr std::size_t Size() const { return size_; }

  constexpr void Append(char byte) { bytes_[size_++] = byte; }

 private:
  std::array<char, N> bytes_{};
  std::size_t size_ = 0;
};

template <std::size_t N>
consteval TCp1251Text<N> Cp1251(const char (&utf8)[N]) {
  TCp1251Text<N> out;
  const std::string_view text(utf8, N - 1);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t cp = DecodeUtf8(text, pos);
    const int byte = cp == kInvalidCodePoint ? -1 : UnicodeToCp1251(cp);
    if (byte < 0) throw "Cp1251: the literal has a character outside Windows-1251";
    out.Append(static_cast<char>(byte));
  }
  return out;
}

// A UTF-8 string literal as a class template argument, for operator""_cp1251.
template <std::size_t N>
struct TUtf8Literal {
  consteval TUtf8Literal(const char (&s)[N]) { std::copy_n(s, N, Text); }
  char Text[N]{};
};

template <TUtf8Literal Source>
inline constexpr auto kCp1251Literal = Cp1251(Source.Text);

// "Проезжая часть"_cp1251 is a view of 1251 bytes in static storage, made at
// compile time: what kind display names and fixed messages return.
template <TUtf8Literal Source>
constexpr std::string_view operator""_cp1251() {
  return kCp1251Literal<Source>.View();
}

namespace cp1251_detail {

inline constexpr std::array<unsigned char, 256> kUpper = [] {
  std::array<unsigned char, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b) {
    const int upper = UnicodeToCp1251(UnicodeUpper(Cp1251ToUnicode(static_cast<unsigned char>(b))));
    table[b] = static_cast<unsigned char>(upper >= 0 ? upper : static_cast<int>(b));
  }
  return table;
}();

}  // namespace cp1251_detail

// Upper case of one byte: ASCII and every Cyrillic letter of the code page
// (ё → Ё, ў → Ў, ґ → Ґ and so on); other bytes are unchanged.
constexpr char Cp1251Upper(char byte) {
  return static_cast<char>(cp1251_detail::kUpper[static_cast<unsigned char>(byte)]);
}

std::string Cp1251ToUpper(std::string_view text);

// Case-insensitive equality and ordering of 1251 texts. The ordering compares the
// upper-cased bytes, which is alphabetical for А..Я but puts Ё before А.
bool Cp1251EqualsNoCase(std::string_view a, std::string_view b);
int Cp1251CompareNoCase(std::string_view a, std::string_view b);

}  // namespace vellmar
