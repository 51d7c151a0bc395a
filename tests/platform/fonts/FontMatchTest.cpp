// Windows face names resolved to installed files: the faces drawn to the same metrics
// stand in silently, anything else is flagged as a substitute.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fonts/FontMatch.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

struct TMatchCase {
  std::string Name;  // Windows-1251
  TFontStyle Style;
  const char* File;  // the file name the match must have
  bool Substitute;
};

TEST(FontMatch, WindowsFacesResolveToTheirMetricTwins) {
  const std::vector<TMatchCase> cases = {
      {"Arial", 0, "LiberationSans-Regular.ttf", false},
      {"arial", 0, "LiberationSans-Regular.ttf", false},
      {"Arial", kFontBold, "LiberationSans-Bold.ttf", false},
      {"Times New Roman", kFontBold | kFontItalic, "LiberationSerif-BoldItalic.ttf", false},
      {"Times New Roman", kFontItalic | kFontUnderline, "LiberationSerif-Italic.ttf", false},
      {"Courier New", 0, "LiberationMono-Regular.ttf", false},
      {"No Such Face 7", 0, nullptr, true},
      {Utf8ToCp1251("Нет такого шрифта"), 0, nullptr, true},
  };
  for (const TMatchCase& c : cases) {
    SCOPED_TRACE(Cp1251ToUtf8(c.Name) + " style " + std::to_string(c.Style));
    const TFontMatch match = MatchFont(c.Name, c.Style);
    EXPECT_EQ(match.Substitute, c.Substitute);
    EXPECT_TRUE(std::filesystem::exists(match.File)) << match.File;
    if (c.File != nullptr) {
      EXPECT_EQ(match.File.filename(), c.File);
    }
    EXPECT_FALSE(match.SyntheticBold);
    EXPECT_FALSE(match.SyntheticItalic);
    EXPECT_FALSE(match.Family.empty());
  }
}

// The DejaVu maths face comes in one upright regular style only: a bold italic request
// must still come back bold and italic, made from that face.
TEST(FontMatch, MissingStylesAreMadeUp) {
  const TFontMatch match = MatchFont("DejaVu Math TeX Gyre", kFontBold | kFontItalic);
  if (match.Substitute) GTEST_SKIP() << "the DejaVu maths face is not installed here";
  EXPECT_TRUE(match.SyntheticItalic);
  EXPECT_TRUE(match.SyntheticBold);
}

}  // namespace
}  // namespace vellmar
