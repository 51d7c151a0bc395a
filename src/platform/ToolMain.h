#pragma once
// The frame every command-line program runs in: a usage error exits 2 with its message
// and the usage text, any other failure exits 1 with its message; both go to stderr,
// prefixed with the program's name.

#include <functional>
#include <string>
#include <vector>

namespace vellmar {

// Thrown by a program's argument parsing; `what` says what was wrong with the call.
struct TUsageError {
  std::string what;
};

using TToolBody = std::function<int(const std::vector<std::string>& args)>;

// Runs body with the arguments after the program name and returns the exit code.
int RunTool(const char* name, const char* usage, int argc, char** argv, const TToolBody& body);

}  // namespace vellmar
