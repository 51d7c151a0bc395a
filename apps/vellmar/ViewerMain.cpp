// vellmar: the street-plan viewer.
//   vellmar [FILE.pln...]
//   vellmar --screenshot OUT.png [--size WxH] [FILE.pln...]
// The streets open when the viewer last closed open again (unless the settings say
// otherwise); street files given on the command line open after them as if chosen in the
// open dialog; without any, the viewer starts on one empty street. With --screenshot the window is drawn once
// at the given size (default 1280x800), written as a PNG, and the program ends.

#include <cstdio>

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include "platform/files/DirectoryProvider.h"
#include "shell/MainForm.h"
#include "shell/StreetOpener.h"
#include "shell/Translation.h"
#include "underlay/AllKinds.h"

namespace {

struct TOptions {
  QStringList Files;
  QString Screenshot;
  QSize Size{1280, 800};
};

bool Parse(const QStringList& args, TOptions& options) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if ((arg == QLatin1String("--screenshot") || arg == QLatin1String("--size")) && i + 1 == args.size()) return false;
    if (arg == QLatin1String("--screenshot")) {
      options.Screenshot = args[++i];
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
  return true;
}

// Waits for the first frame drawn after everything opened, then saves the window.
void SaveScreenshotWhenDrawn(vellmar::TMainForm& form, const QString& path) {
  auto* poll = new QTimer(&form);
  QObject::connect(poll, &QTimer::timeout, &form, [&form, path, poll] {
    if (form.FrameCount() == 0 || form.NeedsRedraw() || form.Opener().Busy()) return;
    poll->stop();
    const bool saved = form.grab().save(path, "PNG");
    if (!saved) std::fprintf(stderr, "vellmar: cannot write %s\n", qPrintable(path));
    QApplication::exit(saved ? 0 : 1);
  });
  poll->start(100);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  TOptions options;
  if (!Parse(QApplication::arguments().mid(1), options)) {
    std::fprintf(stderr, "usage: vellmar [FILE.pln...]\n       vellmar --screenshot OUT.png [--size WxH] [FILE.pln...]\n");
    return 2;
  }
  vellmar::RegisterAllKinds();
  const vellmar::TTranslation translation;
  vellmar::TMainForm form;
  if (!options.Screenshot.isEmpty()) {
    form.resize(options.Size);
    // Nobody is there to choose a data directory; what is missing stays missing.
    vellmar::DirectoryProvider().SetAsker({});
    SaveScreenshotWhenDrawn(form, options.Screenshot);
  }
  form.show();
  // A picture of the command line's files only, never of the last session.
  if (options.Screenshot.isEmpty()) form.RestoreSession();
  if (!options.Files.isEmpty()) form.OpenFilesInBackground(options.Files);
  return QApplication::exec();
}
