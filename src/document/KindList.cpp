#include "document/KindList.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "document/KindRegistry.h"
#include "platform/Error.h"
#include "platform/text/Numbers.h"

namespace vellmar {

namespace {

int32_t KindOf(std::string_view entry) {
  if (const std::optional<int32_t> index = ParseInt32(entry)) {
    if (*index < 0 || *index >= kKindCount) throw EVellmarError("no kind " + std::string(entry));
    return *index;
  }
  std::string upper(entry);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    std::string ident = TKindRegistry::Kind(kind).Ident.Text();
    while (!ident.empty() && ident.back() == ' ') ident.pop_back();
    if (ident == upper) return kind;
  }
  throw EVellmarError("no kind " + std::string(entry));
}

}  // namespace

TKindSet ParseKindList(std::string_view list) {
  if (list == "all") return TKindRegistry::AllKinds();
  TKindSet kinds;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(',', start), list.size());
    const std::string_view entry = list.substr(start, end - start);
    if (entry.empty()) throw EVellmarError("the kind list has an empty entry");
    kinds.Include(KindOf(entry));
    start = end + 1;
  }
  return kinds;
}

}  // namespace vellmar
