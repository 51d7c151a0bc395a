#pragma once
// Runs the vellmar-underlay program of this build, as a user would from a shell.

#include <string>

namespace vellmar::test {

struct TToolRun {
  int status;          // the exit code; -1 when the program did not exit normally
  std::string output;  // stdout and stderr together
};

// `arguments` are appended to the command line as given (quote paths with Quote).
TToolRun RunUnderlayTool(const std::string& arguments);

}  // namespace vellmar::test
