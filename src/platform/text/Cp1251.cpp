#include "platform/text/Cp1251.h"

namespace vellmar {

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (const char c : cp1251) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    const int byte = cp == kInvalidCodePoint ? -1 : UnicodeToCp1251(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

std::string Cp1251ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Cp1251Upper(c);
  return out;
}

bool Cp1251EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Cp1251CompareNoCase(a, b) == 0;
}

int Cp1251CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ua = static_cast<unsigned char>(Cp1251Upper(a[i]));
    const auto ub = static_cast<unsigned char>(Cp1251Upper(b[i]));
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace vellmar
