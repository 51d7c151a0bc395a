#include "platform/text/Utf8.h"

namespace vellmar {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool Utf8EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char rawA = a[i];
    const char rawB = b[j];
    const char32_t ca = DecodeUtf8(a, i);
    const char32_t cb = DecodeUtf8(b, j);
    if (ca == kInvalidCodePoint || cb == kInvalidCodePoint) {
      if (ca != cb || rawA != rawB) return false;
    } else if (UnicodeUpper(ca) != UnicodeUpper(cb)) {
      return false;
    }
  }
  return i == a.size() && j == b.size();
}

}  // namespace vellmar
