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
      // The road-number face comes with no system; a condensed sans stands in for it.
      {"Road", 0, "DejaVuSansCondensed.ttf", false},
      {"ROAD", kFontBold, "DejaVuSansCondensed-Bold.ttf", false},
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

// Whatever the family lacks is made up: a face file without "Bold" in its name must be
// emboldened for a bold request, one without "Italic" or "Oblique" slanted for an
// italic one. (Which DejaVu faces are installed varies: the basic set has no italic
// serif, the extra set no bold maths face.)
TEST(FontMatch, MissingStylesAreMadeUp) {
  int checked = 0;
  for (const char* family : {"DejaVu Serif", "DejaVu Math TeX Gyre", "Liberation Sans"}) {
    const TFontMatch match = MatchFont(family, kFontBold | kFontItalic);
    if (match.Substitute) continue;
    SCOPED_TRACE(match.File.string());
    const std::string file = match.File.filename().string();
    const bool bold = file.find("Bold") != std::string::npos;
    const bool italic = file.find("Italic") != std::string::npos || file.find("Oblique") != std::string::npos;
    EXPECT_EQ(match.SyntheticBold, !bold);
    EXPECT_EQ(match.SyntheticItalic, !italic);
    checked += !bold || !italic;
  }
  if (checked == 0) GTEST_SKIP() << "every face tried has its own bold italic here";
}

}  // namespace
}  // namespace vellmar
