#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace vellmar {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

// Compile-time conversion has to match the runtime table byte for byte.
static_assert("Проезжая часть"_cp1251 == "\xCF\xF0\xEE\xE5\xE7\xE6\xE0\xFF \xF7\xE0\xF1\xF2\xFC");
static_assert("Ёё№"_cp1251 == "\xA8\xB8\xB9");
static_assert(""_cp1251.empty());
static_assert(Cp1251Upper('\xE0') == '\xC0' && Cp1251Upper('\xB8') == '\xA8' && Cp1251Upper('z') == 'Z');

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
  const std::string bytes = AllBytes();
  const std::string utf8 = Cp1251ToUtf8(bytes);
  EXPECT_EQ(Utf8ToCp1251(utf8), bytes);
}

TEST(Cp1251, TableAgreesWithTheSystemConverter) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1251 converter in the C library";
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;  // unassigned: the system converter refuses it
    char in[1] = {static_cast<char>(b)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof(out);
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1)) << b;
    EXPECT_EQ(Cp1251ToUtf8(std::string(1, static_cast<char>(b))), std::string(out, outPtr)) << "byte " << b;
  }
  iconv_close(cd);
  // The gap keeps a private code point of its own, so documents keep the byte.
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
}

TEST(Cp1251, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("é日x"), "??x");
  EXPECT_EQ(Utf8ToCp1251("😀"), "?");
  EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");     // truncated two-byte sequence
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");  // overlong "/"
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"
                         "b"),
            "???b");                                    // surrogate
  EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
  EXPECT_EQ(Utf8ToCp1251(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1251, LiteralHelperEqualsRuntimeConversion) {
  static constexpr auto kLetters = Cp1251(
      "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
      "ЂЃЉЊЌЋЏђѓљњќћџЎўЈҐЄЇІіґєїјЅѕ№«»—–…€‰‹›‘’‚“”„†‡•™°±µ¶·©®¤¦§¬\u00A0\u00AD");
  const char* utf8 =
      "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
      "ЂЃЉЊЌЋЏђѓљњќћџЎўЈҐЄЇІіґєїјЅѕ№«»—–…€‰‹›‘’‚“”„†‡•™°±µ¶·©®¤¦§¬\u00A0\u00AD";
  EXPECT_EQ(kLetters.View(), Utf8ToCp1251(utf8));
  EXPECT_EQ(kLetters.Size(), 128u - 1u);  // every high byte but the unassigned one
  EXPECT_EQ(Cp1251ToUtf8(kLetters.View()), utf8);
}

TEST(Cp1251, UpperCaseCoversEveryCyrillicLetterAndNothingElse) {
  int changed = 0;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const char upper = Cp1251Upper(c);
    EXPECT_EQ(Cp1251Upper(upper), upper) << b;
    if (upper == c) continue;
    ++changed;
    // The byte's upper case must be the upper-case letter of the same character.
    EXPECT_EQ(Cp1251ToUnicode(static_cast<unsigned char>(upper)),
              UnicodeUpper(Cp1251ToUnicode(static_cast<unsigned char>(b))))
        << b;
  }
  // a..z, а..я, ё and the fifteen letters of the other Cyrillic alphabets.
  EXPECT_EQ(changed, 26 + 32 + 15);
  EXPECT_EQ(Cp1251ToUpper("ёжик ґ ў џ abc µ 1.24"_cp1251), "ЁЖИК Ґ Ў Џ ABC µ 1.24"_cp1251);
}

TEST(Cp1251, ComparisonIgnoresCaseOfCyrillicAndLatin) {
  EXPECT_TRUE(Cp1251EqualsNoCase("Разметка"_cp1251, "РАЗМЕТКА"_cp1251));
  EXPECT_TRUE(Cp1251EqualsNoCase("ZnakRoadCopy.pln", "znakroadcopy.PLN"));
  EXPECT_TRUE(Cp1251EqualsNoCase("Ёлка"_cp1251, "ёЛКА"_cp1251));
  EXPECT_FALSE(Cp1251EqualsNoCase("Ёлка"_cp1251, "Елка"_cp1251));
  EXPECT_FALSE(Cp1251EqualsNoCase("СТОП"_cp1251, "СТОП "_cp1251));
  EXPECT_LT(Cp1251CompareNoCase("абв"_cp1251, "АБГ"_cp1251), 0);
  EXPECT_GT(Cp1251CompareNoCase("я"_cp1251, "А"_cp1251), 0);
  EXPECT_LT(Cp1251CompareNoCase("аб"_cp1251, "АБВ"_cp1251), 0);
  EXPECT_EQ(Cp1251CompareNoCase("", ""), 0);
}

TEST(Utf8, NoCaseEqualityFoldsCyrillicGreekAndLatin) {
  EXPECT_TRUE(Utf8EqualsNoCase("Разметка/Default.LnRazmet", "РАЗМЕТКА/default.lnrazmet"));
  EXPECT_TRUE(Utf8EqualsNoCase("ÉTÉ ΣΟΦΊΑ ёЖ", "été σοφία ЁЖ"));
  EXPECT_FALSE(Utf8EqualsNoCase("Знаки", "Знак"));
  EXPECT_FALSE(Utf8EqualsNoCase("a", "b"));
  // Broken bytes are matched exactly, never folded into letters.
  EXPECT_TRUE(Utf8EqualsNoCase("x\xFFy", "X\xFFY"));
  EXPECT_FALSE(Utf8EqualsNoCase("x\xFF", "x\xFE"));
  EXPECT_FALSE(Utf8EqualsNoCase("\xD0", "\xD0\x90"));
}

}  // namespace
}  // namespace vellmar
