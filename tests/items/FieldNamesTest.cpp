#include <gtest/gtest.h>

#include <string>

#include "items/FieldNames.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

TEST(FieldNames, EnglishKeepsNumbersAndLeavesUnknownNamesAlone) {
  struct TCase {
    const char* Name;  // UTF-8
    const char* English;
  };
  const TCase cases[] = {
      {"ID", "ID"},
      {"Имя_группы", "Group"},
      {"Примечание2", "Comment 2"},
      {"Тип_разметки", "Marking type"},
      {"Знак_1", "Sign 1"},
      {"Название_12", "Name 12"},
      {"Секция_3", "Section 3"},
      {"Знак_", "Знак_"},      // no number: not a numbered field
      {"Знак_1а", "Знак_1а"},  // nor with letters after it
      {"Неизвестное", "Неизвестное"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string name = Utf8ToCp1251(c.Name);
    EXPECT_EQ(Cp1251ToUtf8(FieldName(name, TLanguage::English)), c.English);
    EXPECT_EQ(FieldName(name, TLanguage::Russian), name);
  }
  EXPECT_EQ(FieldValue(Utf8ToCp1251("Да"), TLanguage::English), "Yes");
  EXPECT_EQ(FieldValue(Utf8ToCp1251("Нет"), TLanguage::English), "No");
  EXPECT_EQ(FieldValue(Utf8ToCp1251("Нет"), TLanguage::Russian), Utf8ToCp1251("Нет"));
  EXPECT_EQ(FieldValue(Utf8ToCp1251("Да, но"), TLanguage::English), Utf8ToCp1251("Да, но"));
}

}  // namespace
}  // namespace vellmar
