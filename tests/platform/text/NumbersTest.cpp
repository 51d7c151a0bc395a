#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <random>
#include <string>

#include "support/TestSupport.h"

namespace vellmar {
namespace {

std::string Printf(const char* format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof(buffer), format, value);
  return buffer;
}

TEST(Numbers, GeneralFormatMatchesPrintfG15) {
  EXPECT_EQ(FormatGeneral(1e21), "1e+21");
  EXPECT_EQ(FormatGeneral(0.1), "0.1");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(-0.0), "-0");
  EXPECT_EQ(FormatGeneral(0.0), "0");
  EXPECT_EQ(FormatGeneral(42.0), "42");
  EXPECT_EQ(FormatGeneral(-7.0), "-7");
  EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneral(1e15), "1e+15");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::max()), "1.79769313486232e+308");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::denorm_min()), "4.94065645841247e-324");
  EXPECT_EQ(FormatGeneral(1e-5), "1e-05");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(2.5, 1), "2");  // halves of the shortest digits go to even, as printf
  EXPECT_EQ(FormatGeneral(0.1f), "0.100000001490116");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity()), "inf");

  // Any value: the same text as the C library in the "C" locale.
  std::mt19937_64 random(12345);
  for (int i = 0; i < 2000; ++i) {
    const std::uint64_t bits = random();
    const double value = std::bit_cast<double>(bits);
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(FormatGeneral(value), Printf("%.15g", value)) << bits;
    const double scaled = std::ldexp(static_cast<double>(bits >> 11), -static_cast<int>(bits % 80));
    ASSERT_EQ(FormatGeneral(scaled), Printf("%.15g", scaled)) << bits;
  }
}

TEST(Numbers, FixedFormatsMatchPrintf) {
  EXPECT_EQ(FormatFixedWidth(3.0, 2, 0), " 3");
  EXPECT_EQ(FormatFixedWidth(12.5, 2, 0), "12");
  EXPECT_EQ(FormatFixedWidth(0.5, 2, 0), " 0");
  EXPECT_EQ(FormatFixedWidth(-0.4, 2, 0), "-0");
  EXPECT_EQ(FormatFixedWidth(123.0, 2, 0), "123");
  EXPECT_EQ(FormatFixedWidth(1.25, 6, 1), "   1.2");
  EXPECT_EQ(FormatFixed(1.005, 2), "1.00");  // 1.00499999... in binary
  EXPECT_EQ(FormatFixed(2.675, 2), "2.67");
  EXPECT_EQ(FormatFixed(-1.5, 3), "-1.500");
  EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 2).size(), 309u + 3u);
  for (const double value : {0.125, 1.0 / 3.0, -2.5, 1234.5678, 1e-7, 9.995}) {
    for (const int decimals : {0, 1, 2, 3, 6}) {
      const std::string format = "%." + std::to_string(decimals) + "f";
      EXPECT_EQ(FormatFixed(value, decimals), Printf(format.c_str(), value)) << value << " " << decimals;
    }
  }
}

TEST(Numbers, ParsingAcceptsBlanksAndPlusButOnlyWholeFiniteNumbers) {
  EXPECT_EQ(ParseDouble("1.5"), 1.5);
  EXPECT_EQ(ParseDouble("  -2.25e2\r\n"), -225.0);
  EXPECT_EQ(ParseDouble("+3"), 3.0);
  EXPECT_EQ(ParseDouble(".5"), 0.5);
  EXPECT_EQ(ParseDouble("0.1"), 0.1);
  EXPECT_EQ(ParseDouble("4.94065645841247e-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(ParseDouble("1,5"), std::nullopt);
  EXPECT_EQ(ParseDouble("1.5x"), std::nullopt);
  EXPECT_EQ(ParseDouble("1 5"), std::nullopt);
  EXPECT_EQ(ParseDouble(""), std::nullopt);
  EXPECT_EQ(ParseDouble("   "), std::nullopt);
  EXPECT_EQ(ParseDouble("+"), std::nullopt);
  EXPECT_EQ(ParseDouble("+-1"), std::nullopt);
  EXPECT_EQ(ParseDouble("inf"), std::nullopt);
  EXPECT_EQ(ParseDouble("nan"), std::nullopt);
  EXPECT_EQ(ParseDouble("1e999"), std::nullopt);
  EXPECT_EQ(ParseDouble("0x10"), std::nullopt);

  EXPECT_EQ(ParseInt32(" 42 "), 42);
  EXPECT_EQ(ParseInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt32("1.0"), std::nullopt);
  EXPECT_EQ(ParseInt32("12abc"), std::nullopt);
  EXPECT_EQ(ParseInt32(""), std::nullopt);

  // What is written is read back exactly.
  for (const double value : {0.1, 1.0 / 3.0, -123.456, 6.02214076e23, 1e-300}) {
    EXPECT_EQ(ParseDouble(FormatGeneral(value, 17)), value);
  }
}

TEST(Numbers, RoundingHalvesGoToEvenAndTruncationTowardZero) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
  EXPECT_TRUE(std::signbit(RoundHalfEven(-0.5)));
  EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(2.4999999999999996), 2.0);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0.0);
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0);  // 2^52 + 1 is already whole
  EXPECT_EQ(RoundHalfEven(-3.7), -4.0);
  // The same as the hardware's default rounding for a spread of values.
  for (int i = -1000; i <= 1000; ++i) {
    const double value = i * 0.25 + (i % 3) * 1e-9;
    EXPECT_EQ(RoundHalfEven(value), std::nearbyint(value)) << value;
  }

  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(TruncToInt32(2.9), 2);
  EXPECT_EQ(TruncToInt32(-2.9), -2);
  // Out of range values saturate instead of being undefined.
  EXPECT_EQ(RoundToInt32(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(TruncToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(TruncToInt32(std::nan("")), 0);
}

// Qt puts the user's locale into the process; a German or Russian one uses ",".
class CommaLocale : public ::testing::Test {
 protected:
  void TearDown() override {
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }

  void ExpectDotFormatting() {
    EXPECT_EQ(FormatGeneral(1.5), "1.5");
    EXPECT_EQ(FormatGeneral(1234567.25), "1234567.25");
    EXPECT_EQ(FormatFixed(0.25, 2), "0.25");
    EXPECT_EQ(FormatFixedWidth(2.0, 4, 1), " 2.0");
    EXPECT_EQ(ParseDouble("1.5"), 1.5);
    EXPECT_EQ(ParseDouble("1,5"), std::nullopt);
  }
};

struct CommaPunctuation : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST_F(CommaLocale, GlobalCppLocaleWithCommaDoesNotChangeNumbers) {
  std::locale::global(std::locale(std::locale::classic(), new CommaPunctuation));
  ASSERT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
  ExpectDotFormatting();
}

TEST_F(CommaLocale, ProcessLocaleWithCommaDoesNotChangeNumbers) {
  bool active = false;
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      active = true;
      break;
    }
  }
  // Without an installed comma locale, compile one into a scratch folder when the
  // system has the locale sources.
  test::TempDir locales;
  if (!active && std::system("command -v localedef >/dev/null 2>&1") == 0) {
    const std::string command =
        "localedef -i ru_RU -f UTF-8 '" + (locales / "ru_RU.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
      setenv("LOCPATH", locales.Path().c_str(), 1);
      active = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    }
  }
  if (!active) GTEST_SKIP() << "no comma locale available";
  ASSERT_EQ(Printf("%.1f", 1.5), "1,5");  // the C library does see the comma
  ExpectDotFormatting();
}

}  // namespace
}  // namespace vellmar
