#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "items/road/StationText.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

TEST(StationText, PicketsAndOffsetsAsEngineersWriteThem) {
  struct TCase {
    double Station, Offset, Step;
    std::string Text;  // UTF-8
    TLanguage Language = TLanguage::Russian;
  };
  const TCase cases[] = {
      {123.45, 3.2, 100, "Sta 1+23.45, 3.20 m right", TLanguage::English},
      {123.45, -1.5, 100, "Sta 1+23.45, 1.50 m left", TLanguage::English},
      {5, 0.001, 100, "Sta 0+05.00, 0.00 m", TLanguage::English},
      {-12, 1, 100, "Sta -0+12.00, 1.00 m right", TLanguage::English},
      {123.45, 3.2, 100, "ПК 1+23.45, +3.20 м справа"},
      {123.45, -1.5, 100, "ПК 1+23.45, -1.50 м слева"},
      {5, 0.001, 100, "ПК 0+05.00, 0.00 м"},
      {0, 0, 100, "ПК 0+00.00, 0.00 м"},
      {199.996, 0, 100, "ПК 2+00.00, 0.00 м"},  // rounds up into the next picket
      {-12, 1, 100, "ПК -0+12.00, +1.00 м справа"},
      {-0.001, 0, 100, "ПК 0+00.00, 0.00 м"},  // no "-0"
      {1234.5, 0, 1000, "ПК 1+234.50, 0.00 м"},
      {75, 0, 50, "ПК 1+25.00, 0.00 м"},
      {250, 0, 0, "ПК 2+50.00, 0.00 м"},  // a broken step counts as 100 m
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(Cp1251ToUtf8(AxisPlaceText({c.Station, c.Offset}, c.Step, c.Language)), c.Text);
  }
}

TEST(StationText, ReadsWhatAUserTypes) {
  struct TCase {
    std::string Text;  // UTF-8
    double Step;
    std::optional<double> Station;
  };
  const TCase cases[] = {
      {"1+23.45", 100, 123.45},
      {"123.45", 100, 123.45},
      {"0+50", 100, 50},
      {" ПК 2+05 ", 100, 205},
      {"ПК2+05", 100, 205},
      {"Sta 1+23.45", 100, 123.45},
      {"3+10", 50, 160},
      {"-0+12", 100, -12},
      {"-12.5", 100, -12.5},
      {"1 + 23.45", 100, 123.45},
      {"", 100, std::nullopt},
      {"abc", 100, std::nullopt},
      {"1+", 100, std::nullopt},
      {"+5", 100, std::nullopt},
      {"1+-5", 100, std::nullopt},
      {"1.5+5", 100, std::nullopt},
      {"1,5", 100, std::nullopt},
      {"--5", 100, std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    const std::optional<double> station = ParseStation(Utf8ToCp1251(c.Text), c.Step);
    ASSERT_EQ(station.has_value(), c.Station.has_value());
    if (station) {
      EXPECT_NEAR(*station, *c.Station, 1e-9);
    }
  }
}

}  // namespace
}  // namespace vellmar
