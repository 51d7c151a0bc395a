#include "AppStart.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <QString>
#include <QtGlobal>

#include "platform/ToolMain.h"

namespace vellmar {

namespace {

const char* startingName = nullptr;
QtMessageHandler previousHandler = nullptr;

// Set while the QApplication is being made: a display named but not answering (an X
// server gone, a socket without a server) ends in qFatal there. Its lines about platform
// plugins become this program's one line.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool platform = context.category && std::string_view(context.category).starts_with("qt.qpa");
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s: cannot open a window: the display does not answer\n", startingName);
    std::fflush(stderr);
    std::_Exit(1);
  }
  if (platform) return;
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

void WindowProgramStarted() {
  qInstallMessageHandler(previousHandler);
}

const char* MissingDisplay(int argc, char** argv) {
  std::string_view platform = Set("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0) platform = argv[i + 1];
  }
  // "wayland;xcb" tries each in turn; the first decides nothing alone.
  const bool any = platform.empty();
  const bool x = any || platform.find("xcb") != std::string_view::npos;
  const bool wayland = any || platform.find("wayland") != std::string_view::npos;
  if (!x && !wayland) return nullptr;  // offscreen, VNC, framebuffers: they need no display
  if ((x && Set("DISPLAY")) || (wayland && Set("WAYLAND_DISPLAY"))) return nullptr;
  if (x && wayland) return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  return x ? "no display (DISPLAY is not set)" : "no display (WAYLAND_DISPLAY is not set)";
}

std::optional<int> StartWindowProgram(const TAppStart& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(app.Help, stdout);
      return 0;
    }
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s %s\n", app.Name, ProgramVersion());
    return 0;
  }
  if (const char* missing = MissingDisplay(argc, argv)) {
    std::fprintf(stderr, "%s: cannot open a window: %s\n", app.Name, missing);
    return 1;
  }
  startingName = app.Name;
  previousHandler = qInstallMessageHandler(StartupMessages);
  return std::nullopt;
}

}  // namespace vellmar
