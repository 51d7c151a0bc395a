#pragma once
// The kinds a user names on a command line: comma-separated kind indices 0..40 or kind
// idents such as ROADWAY or gazon (any case, without trailing blanks); "all" is every
// kind. Needs the kinds registered.

#include <string_view>

#include "document/KindSet.h"

namespace vellmar {

// Raises "no kind X" for an entry that names no kind and "the kind list has an empty
// entry" for ",," or a list ending in a comma.
TKindSet ParseKindList(std::string_view list);

}  // namespace vellmar
