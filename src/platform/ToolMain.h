#pragma once
// The frame every command-line program runs in: a usage error exits 2 with its message
// and the usage text, any other failure exits 1 with its message; both go to stderr,
// prefixed with the program's name; --help or -h prints the usage text, --version alone
// the program's name and version. Every warning the core raises is printed once to
// stderr as "warning: ..." (UTF-8) and the program goes on; with --strict (taken from
// the arguments before the body sees them) a run that warned exits 3.

#include <functional>
#include <string>
#include <vector>

namespace vellmar {

inline constexpr const char* kStrictOption = "--strict";
inline constexpr int kWarningsExitCode = 3;
// The line RunTool adds to every program's usage text.
inline constexpr const char* kStrictUsage = "  --strict      exit with code 3 when anything was only warned about\n";

// Thrown by a program's argument parsing; `what` says what was wrong with the call.
struct TUsageError {
  std::string what;
};

using TToolBody = std::function<int(const std::vector<std::string>& args)>;

// Runs body with the arguments after the program name and returns the exit code.
int RunTool(const char* name, const char* usage, int argc, char** argv, const TToolBody& body);

// The version every program states (--version, the package's).
const char* ProgramVersion();

// Runs read, which reads the input file the user named as path, and words its failures
// for them: "<path>: <the system's reason>" when the file cannot be read at all,
// "<path>: the file is damaged (<the reader's own text>)" when its content is refused.
void ReadInput(const std::string& path, const std::function<void()>& read);

}  // namespace vellmar
