#pragma once
// The one exception type of the system. Its message is the fixed text that names
// the class and the operation ("TItemList.LoadFromStream: ident ITEMLIST not found");
// callers that report errors show what().

#include <stdexcept>
#include <string>

namespace vellmar {

class EVellmarError : public std::runtime_error {
public:
  explicit EVellmarError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vellmar
