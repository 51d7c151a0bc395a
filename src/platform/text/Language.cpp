#include "platform/text/Language.h"

#include <cstdlib>

namespace vellmar {

TLanguage LanguageOfLocaleName(std::string_view name) {
  const bool russian = name.size() >= 2 && (name[0] == 'r' || name[0] == 'R') && (name[1] == 'u' || name[1] == 'U') &&
                       (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@' || name[2] == '-');
  return russian ? TLanguage::Russian : TLanguage::English;
}

TLanguage EnvironmentLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageOfLocaleName(value);
  }
  return TLanguage::English;
}

}  // namespace vellmar
