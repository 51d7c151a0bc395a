#pragma once
// What the program calls each item kind in the user's language: the registry's display
// name (Windows-1251, also the form stored in settings and files) in Russian, a name of
// its own in English. Only for showing: kind sets are stored by their display names.

#include <cstdint>
#include <string_view>

#include "platform/text/Language.h"

namespace vellmar {

// The English name of the kind index 0..40; empty for any other index.
std::string_view KindEnglishName(int32_t index);
// The registry's display name in Russian, the English name otherwise; the kind must be
// registered.
std::string_view KindName(int32_t index, TLanguage language);

}  // namespace vellmar
