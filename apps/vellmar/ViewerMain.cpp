// vellmar: the street-plan viewer.
//   vellmar [FILE.pln...]
//   vellmar --screenshot OUT.png [--size WxH] [--view X,Y,W | --action NAME | --click X,Y]... [FILE.pln...]
// The streets open when the viewer last closed open again (unless the settings say
// otherwise); street files given on the command line open after them as if chosen in the
// open dialog; without any, the viewer starts on one empty street. With --screenshot the window is drawn once
// at the given size (default 1280x800), written as a PNG, and the program ends; messages
// go to the standard error, a file that cannot be opened ends it with code 1 and no
// picture, and the settings file is left as it was. Once the
// files are open the steps run first, in order, each drawn before the next: --view
// centres the plan on the world point X,Y (metres) with W metres across, --action
// triggers the window's action or view button of that name (layersPanelToggle shows the
// layers panel, Identify and Measure are mouse modes), --click clicks the plan at the world point X,Y
// in the mouse mode of the moment.

#include <cstdio>
#include <optional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QStringList>

#include "AppStart.h"
#include "kinds/AllKinds.h"
#include "platform/files/DirectoryProvider.h"
#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/ui/Translation.h"
#include "shell/window/MainForm.h"
#include "shell/window/ScreenshotRun.h"

namespace {

constexpr const char* kUsage =
    "usage: vellmar [FILE.pln...]\n"
    "       vellmar --screenshot OUT.png [--size WxH] [--view X,Y,W | --action NAME | --click X,Y]...\n"
    "                [FILE.pln...]\n";

constexpr vellmar::TAppStart kApp{
    "vellmar",
    "usage: vellmar [FILE.pln...]\n"
    "       vellmar --screenshot OUT.png [--size WxH] [--view X,Y,W | --action NAME | --click X,Y]...\n"
    "                [FILE.pln...]\n"
    "Opens street plans (*.pln) in tabs of one window, after the streets that were open when\n"
    "it last closed; without files and without a last session, one empty street.\n"
    "  --screenshot OUT.png  draw the window once, write it as a PNG and end\n"
    "  --size WxH            the window's size for the picture, default 1280x800\n"
    "  --view X,Y,W          before the picture: centre on the point X,Y, W metres across\n"
    "  --action NAME         before the picture: trigger the window's action or button NAME\n"
    "  --click X,Y           before the picture: click the plan at the point X,Y\n"
    "  --help                this text\n"
    "  --version             the program's version\n"
    "Settings live in ~/.config/vellmar/vellmar.ini. A window needs a display (DISPLAY or\n"
    "WAYLAND_DISPLAY); without one the viewer says so and exits with code 1.\n"};

// "X,Y" or "X,Y,W" as numbers; empty when the text is not that many numbers.
std::vector<double> Numbers(const QString& text, qsizetype count) {
  const QStringList fields = text.split(QLatin1Char(','));
  std::vector<double> numbers;
  for (const QString& field : fields) {
    bool ok = false;
    numbers.push_back(field.toDouble(&ok));
    if (!ok) return {};
  }
  return fields.size() == count ? numbers : std::vector<double>{};
}

struct TOptions {
  QStringList Files;
  QString Screenshot;
  QSize Size{1280, 800};
  std::vector<vellmar::TScreenshotStep> Steps;
};

bool Parse(const QStringList& args, TOptions& options) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool valued = arg == QLatin1String("--screenshot") || arg == QLatin1String("--size") ||
                        arg == QLatin1String("--action") || arg == QLatin1String("--click") ||
                        arg == QLatin1String("--view");
    if (valued && i + 1 == args.size()) return false;
    if (arg == QLatin1String("--screenshot")) {
      options.Screenshot = args[++i];
    } else if (arg == QLatin1String("--action")) {
      options.Steps.push_back({vellmar::TScreenshotStep::kAction, args[++i], {}});
    } else if (arg == QLatin1String("--click")) {
      const std::vector<double> xy = Numbers(args[++i], 2);
      if (xy.empty()) return false;
      options.Steps.push_back({vellmar::TScreenshotStep::kClick, QString(), {xy[0], xy[1]}});
    } else if (arg == QLatin1String("--view")) {
      const std::vector<double> xyw = Numbers(args[++i], 3);
      if (xyw.empty() || !(xyw[2] > 0.0)) return false;
      options.Steps.push_back({vellmar::TScreenshotStep::kView, QString(), {xyw[0], xyw[1]}, xyw[2]});
    } else if (arg == QLatin1String("--size")) {
      const QStringList sides = args[++i].split(QLatin1Char('x'));
      bool okW = false, okH = false;
      if (sides.size() == 2) options.Size = {sides[0].toInt(&okW), sides[1].toInt(&okH)};
      if (!okW || !okH || options.Size.width() < 640 || options.Size.height() < 480) return false;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return false;
    } else {
      options.Files << arg;
    }
  }
  // Steps are for the picture only.
  return options.Steps.empty() || !options.Screenshot.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> done = vellmar::StartWindowProgram(kApp, argc, argv)) return *done;
  QApplication application(argc, argv);
  vellmar::WindowProgramStarted();
  TOptions options;
  if (!Parse(QApplication::arguments().mid(1), options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  vellmar::RegisterAllKinds();
  const vellmar::TTranslation translation;
  const bool screenshot = !options.Screenshot.isEmpty();
  // A picture leaves the user's settings as they were, and tells what goes wrong on the
  // standard error instead of in message boxes nobody sees.
  if (screenshot) vellmar::SetSettingsWritable(false);
  vellmar::TMainForm form(screenshot ? std::make_unique<vellmar::TConsolePrompts>() : nullptr);
  if (screenshot) {
    form.resize(options.Size);
    // Nobody is there to choose a data directory; what is missing stays missing.
    vellmar::DirectoryProvider().SetAsker({});
    new vellmar::TScreenshotRun(form, options.Screenshot, options.Files, options.Steps,
                                [](int code) { QApplication::exit(code); });
  }
  form.show();
  // A picture of the command line's files only, never of the last session.
  if (!screenshot) form.RestoreSession();
  if (!options.Files.isEmpty()) form.OpenFilesInBackground(options.Files);
  return QApplication::exec();
}
