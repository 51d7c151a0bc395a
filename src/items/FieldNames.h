#pragma once
// The items' field names (and their yes/no values) in the user's language. Items name
// their fields in Windows-1251 Russian, which exports keep as column names; only what
// the viewer and vellmar-info show is put into English. Numbered fields ("Знак_2") keep
// their number ("Sign 2"); a name not known here is returned as it is.

#include <string>
#include <string_view>

#include "platform/text/Language.h"

namespace vellmar {

std::string FieldName(std::string_view name, TLanguage language);
// "Да" and "Нет" as "Yes" and "No" in English; any other value as it is.
std::string FieldValue(std::string_view value, TLanguage language);

}  // namespace vellmar
