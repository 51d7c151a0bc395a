#pragma once
// The 8-byte ident that opens every chunk of a street file ("STREET  ", "ITEM    ").
// Written in code as a literal, whose length and characters are checked at compile
// time: a missing pad blank would otherwise only show as a file nobody can read.
// Idents are capitals in the main, but a few chunks of the axis ("LfSideNm") mix cases.

#include <array>
#include <string>
#include <string_view>

namespace vellmar {

class TIdent {
 public:
  static constexpr std::size_t kLength = 8;

  constexpr TIdent() = default;
  // Exactly 8 characters of letters, digits, underscores or blanks.
  consteval TIdent(const char (&text)[kLength + 1]) {  // NOLINT: literals convert implicitly
    for (std::size_t i = 0; i < kLength; ++i) {
      const char c = text[i];
      const bool valid =
          (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == ' ';
      if (!valid) throw "an ident holds letters, digits, underscores and blanks only";
      bytes_[i] = c;
    }
  }
  // Whatever 8 bytes a stream held, unchecked.
  static TIdent FromBytes(const std::array<char, kLength>& bytes) {
    TIdent ident;
    ident.bytes_ = bytes;
    return ident;
  }

  const std::array<char, kLength>& Bytes() const { return bytes_; }
  std::string_view View() const { return {bytes_.data(), kLength}; }
  std::string Text() const { return std::string(View()); }
  friend constexpr bool operator==(const TIdent&, const TIdent&) = default;

 private:
  std::array<char, kLength> bytes_{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
};

}  // namespace vellmar
