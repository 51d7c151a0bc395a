#include "items/FieldNames.h"

#include <array>
#include <utility>

#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

using TPair = std::pair<std::string_view, std::string_view>;

constexpr std::array kNames = {
    TPair{"Имя_группы"_cp1251, "Group"},       TPair{"Примечание"_cp1251, "Comment"},
    TPair{"Примечание2"_cp1251, "Comment 2"},  TPair{"Знак"_cp1251, "Sign"},
    TPair{"Название"_cp1251, "Name"},          TPair{"Опора"_cp1251, "Support"},
    TPair{"Тип_опоры"_cp1251, "Support type"}, TPair{"Текст"_cp1251, "Text"},
    TPair{"Шрифт"_cp1251, "Font"},             TPair{"Блок"_cp1251, "Block"},
    TPair{"Символ"_cp1251, "Symbol"},          TPair{"Шаг_пикетов"_cp1251, "Station step"},
    TPair{"Слева"_cp1251, "Left side"},        TPair{"Справа"_cp1251, "Right side"},
    TPair{"Тип_разметки"_cp1251, "Marking type"}, TPair{"Зеркально"_cp1251, "Mirrored"},
};

// Names followed by a number.
constexpr std::array kNumbered = {
    TPair{"Знак_"_cp1251, "Sign "},
    TPair{"Название_"_cp1251, "Name "},
    TPair{"Статус_"_cp1251, "Status "},
    TPair{"Секция_"_cp1251, "Section "},
};

constexpr std::array kValues = {TPair{"Да"_cp1251, "Yes"}, TPair{"Нет"_cp1251, "No"}};

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string FieldName(std::string_view name, TLanguage language) {
  if (language == TLanguage::Russian) return std::string(name);
  for (const auto& [russian, english] : kNames) {
    if (name == russian) return std::string(english);
  }
  for (const auto& [russian, english] : kNumbered) {
    if (name.starts_with(russian) && AllDigits(name.substr(russian.size()))) {
      return std::string(english) + std::string(name.substr(russian.size()));
    }
  }
  return std::string(name);
}

std::string FieldValue(std::string_view value, TLanguage language) {
  if (language == TLanguage::Russian) return std::string(value);
  for (const auto& [russian, english] : kValues) {
    if (value == russian) return std::string(english);
  }
  return std::string(value);
}

}  // namespace vellmar
