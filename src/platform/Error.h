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

// The system refused an operation on a file (open, write, sync, rename); Code() is its
// errno, so that a caller can word the failure for the file the user named.
class EFileError : public EVellmarError {
public:
  EFileError(const std::string& message, int code) : EVellmarError(message), code_(code) {}
  int Code() const { return code_; }

private:
  int code_;
};

}  // namespace vellmar
