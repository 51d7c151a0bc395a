#pragma once
// The language the program speaks to its user: Russian (the texts as the code writes
// them, Windows-1251 in the core) or English (plain ASCII, the same bytes in 1251 and
// UTF-8). Any locale but a Russian one gets English. Texts stored in street files are
// never translated, only what the program says about them.

#include <string_view>

namespace vellmar {

enum class TLanguage { Russian, English };

// "ru", "ru_RU.UTF-8", "ru_UA" are Russian; anything else, "C" and empty too, is English.
TLanguage LanguageOfLocaleName(std::string_view name);
// The language of the environment's messages locale: the first of LC_ALL, LC_MESSAGES
// and LANG that is set and not empty decides.
TLanguage EnvironmentLanguage();

}  // namespace vellmar
