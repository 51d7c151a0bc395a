#include <gtest/gtest.h>

#include <set>
#include <string>

#include "document/KindNames.h"
#include "document/KindRegistry.h"

namespace vellmar {
namespace {

TEST(KindNames, EveryKindHasItsOwnEnglishNameAndRussianIsTheDisplayName) {
  RegisterItemKinds();
  std::set<std::string> seen;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    SCOPED_TRACE(kind);
    const std::string_view english = KindName(kind, TLanguage::English);
    EXPECT_FALSE(english.empty());
    // Plain ASCII: the same bytes in the core's 1251 and in UTF-8.
    for (const char c : english) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
    EXPECT_TRUE(seen.insert(std::string(english)).second) << english << " twice";
    EXPECT_EQ(KindName(kind, TLanguage::Russian), TKindRegistry::Kind(kind).DisplayName);
  }
  EXPECT_EQ(KindName(2, TLanguage::English), "Carriageway");
  EXPECT_EQ(KindName(22, TLanguage::English), "Road sign");
  EXPECT_TRUE(KindEnglishName(-1).empty());
  EXPECT_TRUE(KindEnglishName(kKindCount).empty());
}

}  // namespace
}  // namespace vellmar
