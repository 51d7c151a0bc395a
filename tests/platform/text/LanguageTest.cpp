#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/text/Language.h"

namespace vellmar {
namespace {

TEST(Language, OnlyARussianLocaleGetsRussian) {
  struct TCase {
    const char* Name;
    TLanguage Language;
  };
  const TCase cases[] = {
      {"ru", TLanguage::Russian},      {"ru_RU.UTF-8", TLanguage::Russian}, {"ru_UA", TLanguage::Russian},
      {"RU_ru", TLanguage::Russian},   {"ru@latin", TLanguage::Russian},    {"en_US.UTF-8", TLanguage::English},
      {"de_DE", TLanguage::English},   {"C", TLanguage::English},           {"", TLanguage::English},
      {"rus", TLanguage::English},     {"POSIX", TLanguage::English},       {"r", TLanguage::English},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LanguageOfLocaleName(c.Name), c.Language);
  }
}

TEST(Language, TheFirstSetVariableOfTheEnvironmentDecides) {
  struct TCase {
    const char *All, *Messages, *Lang;
    TLanguage Language;
  };
  const TCase cases[] = {
      {"", "", "ru_RU.UTF-8", TLanguage::Russian},
      {"", "en_US.UTF-8", "ru_RU.UTF-8", TLanguage::English},
      {"ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", TLanguage::Russian},
      {"", "", "", TLanguage::English},
  };
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string kept[3];
  for (int i = 0; i < 3; ++i) kept[i] = std::getenv(names[i]) ? std::getenv(names[i]) : "";
  for (const TCase& c : cases) {
    const char* values[] = {c.All, c.Messages, c.Lang};
    for (int i = 0; i < 3; ++i) setenv(names[i], values[i], 1);
    EXPECT_EQ(EnvironmentLanguage(), c.Language) << c.All << "|" << c.Messages << "|" << c.Lang;
  }
  for (int i = 0; i < 3; ++i) setenv(names[i], kept[i].c_str(), 1);
}

}  // namespace
}  // namespace vellmar
