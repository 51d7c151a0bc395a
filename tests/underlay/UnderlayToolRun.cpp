#include "UnderlayToolRun.h"

#include <sys/wait.h>

#include <cstdio>

namespace vellmar::test {

TToolRun RunUnderlayTool(const std::string& arguments) {
  const std::string command = std::string(VELLMAR_UNDERLAY_TOOL) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace vellmar::test
