#include "platform/ToolMain.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <iostream>
#include <set>
#include <system_error>

#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// Prints each distinct warning once, for as long as the program runs.
class TWarningPrinter {
 public:
  TWarningPrinter() {
    SetWarningSink([this](const std::string& message) {
      if (said_.insert(message).second) std::cerr << "warning: " << Cp1251ToUtf8(message) << "\n";
    });
  }
  ~TWarningPrinter() { SetWarningSink({}); }
  TWarningPrinter(const TWarningPrinter&) = delete;
  TWarningPrinter& operator=(const TWarningPrinter&) = delete;
  bool Any() const { return !said_.empty(); }

 private:
  std::set<std::string> said_;
};

}  // namespace

const char* ProgramVersion() {
  return VELLMAR_VERSION;
}

void ReadInput(const std::string& path, const std::function<void()>& read) {
  // Whether the file opens at all is asked first: a reader's own failure to open it
  // would read as damage.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EVellmarError(path + ": " + std::generic_category().message(errno));
  ::close(fd);
  try {
    read();
  } catch (const EFileError& e) {
    throw EVellmarError(path + ": cannot be read (" + e.what() + ")");
  } catch (const EVellmarError& e) {
    throw EVellmarError(path + ": the file is damaged (" + e.what() + ")");
  }
}

int RunTool(const char* name, const char* usage, int argc, char** argv, const TToolBody& body) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (std::ranges::any_of(args, [](const std::string& a) { return a == "--help" || a == "-h"; })) {
    std::cout << usage << kStrictUsage;
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << name << " " << ProgramVersion() << "\n";
    return 0;
  }
  const bool strict = std::erase(args, std::string(kStrictOption)) > 0;
  TWarningPrinter warnings;
  try {
    const int code = body(args);
    return code == 0 && strict && warnings.Any() ? kWarningsExitCode : code;
  } catch (const TUsageError& e) {
    std::cerr << name << ": " << e.what << "\n" << usage << kStrictUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << name << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace vellmar
