#pragma once
// What the window programs do before Qt is started: answer --help and --version on
// stdout, and refuse in one line, exit code 1, when there is no display to open a window
// on, instead of Qt's abort with its advice about platform plugins.

#include <optional>

namespace vellmar {

// The program's help text, and how it is called in messages.
struct TAppStart {
  const char* Name;
  const char* Help;
};

// The exit code when the program is done before it started (--help, --version, no
// display); nothing when it is to go on and make its QApplication.
std::optional<int> StartWindowProgram(const TAppStart& app, int argc, char** argv);
// Called once the QApplication stands: Qt's messages go where they went before.
void WindowProgramStarted();

// The reason a window cannot be opened under this environment, judged from the platform
// Qt would use (a -platform argument, else QT_QPA_PLATFORM) and the display variables;
// empty when a window can be tried.
const char* MissingDisplay(int argc, char** argv);

}  // namespace vellmar
