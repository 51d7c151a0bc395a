#pragma once
// What the window benchmarks share: a display (without one the program runs itself again
// under a virtual X server) and prompts that nobody has to answer.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "shell/ui/ShellPrompts.h"

namespace vellmar::bench {

// Returns only when there is a display to use; otherwise replaces the process, and
// returns false only when even that failed.
inline bool EnsureDisplay(int argc, char** argv) {
  if (std::getenv("DISPLAY") || std::getenv("VELLMAR_BENCH_XVFB")) return true;
  setenv("VELLMAR_BENCH_XVFB", "1", 1);
  std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                             const_cast<char*>("-screen 0 1600x1000x24")};
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  execvp("xvfb-run", args.data());
  std::perror("xvfb-run");
  return false;
}

// Messages go to the error stream, questions are declined, no dialog opens.
class TQuietPrompts final : public IShellPrompts {
 public:
  void ShowMessage(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
  void ShowError(const QString& text, const QString& details) override {
    std::fprintf(stderr, "error: %s (%s)\n", qPrintable(text), qPrintable(details));
  }
  TAnswer AskYesNoCancel(const QString&) override { return TAnswer::No; }
  QStringList ChooseStreetFiles(const QString&) override { return {}; }
  QString ChooseSaveName(const QString&) override { return {}; }
  QString ChooseDirectory(const QString&, const QString&) override { return {}; }
  bool EditDataDirectories(const QString&) override { return false; }
};

}  // namespace vellmar::bench
