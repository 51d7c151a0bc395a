#pragma once
// Runs a program as its users run it, through the shell, and keeps its exit code and
// both of its outputs, for the tests of the command-line tools.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/TestSupport.h"

namespace vellmar::test {

struct TToolRun {
  int Status = -1;
  std::string Output;  // stdout
  std::string Errors;  // stderr
};

// tool and arguments are shell words as given; stderr goes through a file in scratch.
inline TToolRun RunTool(const std::string& tool, const std::string& arguments, const TempDir& scratch) {
  const std::filesystem::path errors = scratch / "stderr.txt";
  const std::string command = tool + " " + arguments + " 2>'" + errors.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  TToolRun run;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.Output.append(buffer, n);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errors, std::ios::binary);
  run.Errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}

}  // namespace vellmar::test
