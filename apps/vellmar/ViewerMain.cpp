// vellmar: the street-plan viewer.
//   vellmar [FILE.pln...]
//   vellmar --screenshot OUT.png [--size WxH] [--view X,Y,W | --action NAME | --click X,Y]... [FILE.pln...]
// The streets open when the viewer last closed open again (unless the settings say
// otherwise); street files given on the command line open after them as if chosen in the
// open dialog; without any, the viewer starts on one empty street. With --screenshot the window is drawn once
// at the given size (default 1280x800), written as a PNG, and the program ends. Once the
// files are open the steps run first, in order, each drawn before the next: --view
// centres the plan on the world point X,Y (metres) with W metres across, --action
// triggers the window's action or view button of that name (layersPanelToggle shows the
// layers panel, Identify and Measure are mouse modes), --click clicks the plan at the world point X,Y
// in the mouse mode of the moment.

#include <cstdio>
#include <exception>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include "geometry/Vector.h"
#include "platform/files/DirectoryProvider.h"
#include "shell/files/StreetOpener.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/ui/Translation.h"
#include "shell/window/MainForm.h"
#include "underlay/AllKinds.h"

namespace {

// What to do in the window before its picture is taken.
struct TStep {
  enum TKind { kView, kAction, kClick } Kind;
  QString Action;
  QPointF World;
  double Width = 0.0;  // of a view, metres
};

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
  std::vector<TStep> Steps;
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
      options.Steps.push_back({TStep::kAction, args[++i], {}});
    } else if (arg == QLatin1String("--click")) {
      const std::vector<double> xy = Numbers(args[++i], 2);
      if (xy.empty()) return false;
      options.Steps.push_back({TStep::kClick, QString(), {xy[0], xy[1]}});
    } else if (arg == QLatin1String("--view")) {
      const std::vector<double> xyw = Numbers(args[++i], 3);
      if (xyw.empty() || !(xyw[2] > 0.0)) return false;
      options.Steps.push_back({TStep::kView, QString(), {xyw[0], xyw[1]}, xyw[2]});
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

// A left click on the plan where the world point is shown, the pointer moving there first.
void ClickPlan(vellmar::TMainForm& form, QPointF world) {
  // The view maps pixels to the world affinely: solve for the pixel from three of them.
  vellmar::TMainPlanDrawer& drawer = form.Drawer();
  const vellmar::TXYZ o = drawer.ScreenToWorld(0, 0), ex = drawer.ScreenToWorld(1, 0), ey = drawer.ScreenToWorld(0, 1);
  const double ax = double{ex.x} - o.x, ay = double{ex.y} - o.y, bx = double{ey.x} - o.x, by = double{ey.y} - o.y;
  const double dx = world.x() - o.x, dy = world.y() - o.y, det = ax * by - bx * ay;
  QWidget& surface = form.Surface();
  const QPointF at = QPointF((dx * by - bx * dy) / det, (ax * dy - dx * ay) / det) / surface.devicePixelRatioF();
  const QPointF global = surface.mapToGlobal(at);
  QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  for (QMouseEvent* event : {&move, &press, &release}) QApplication::sendEvent(&surface, event);
}

// Waits for the first frame drawn after everything opened, runs the steps one a frame,
// then saves the window.
void SaveScreenshotWhenDrawn(vellmar::TMainForm& form, const QString& path, std::vector<TStep> steps) {
  auto* poll = new QTimer(&form);
  QObject::connect(poll, &QTimer::timeout, &form, [&form, path, poll, steps, next = size_t{0}]() mutable {
    if (form.FrameCount() == 0 || form.NeedsRedraw() || form.Opener().Busy()) return;
    if (next < steps.size()) {
      const TStep& step = steps[next++];
      if (step.Kind == TStep::kView) {
        // The viewport is 2 / scale world units across.
        form.Drawer().SetView({vellmar::MakeXYZ(step.World.x(), step.World.y(), 0), static_cast<float>(2.0 / step.Width), 0.0f});
      } else if (step.Kind == TStep::kClick) {
        ClickPlan(form, step.World);
      } else if (auto* action = form.findChild<QAction*>(step.Action)) {
        action->trigger();
      } else {
        try {
          form.FloatingActions().Named(step.Action).Click();
        } catch (const std::exception&) {
          std::fprintf(stderr, "vellmar: the window has no action %s\n", qPrintable(step.Action));
          QApplication::exit(2);
          return;
        }
      }
      form.PlanChanged();
      return;
    }
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
    std::fprintf(stderr,
                 "usage: vellmar [FILE.pln...]\n"
                 "       vellmar --screenshot OUT.png [--size WxH] [--view X,Y,W | --action NAME | --click X,Y]...\n"
                 "                [FILE.pln...]\n");
    return 2;
  }
  vellmar::RegisterAllKinds();
  const vellmar::TTranslation translation;
  vellmar::TMainForm form;
  if (!options.Screenshot.isEmpty()) {
    form.resize(options.Size);
    // Nobody is there to choose a data directory; what is missing stays missing.
    vellmar::DirectoryProvider().SetAsker({});
    SaveScreenshotWhenDrawn(form, options.Screenshot, options.Steps);
  }
  form.show();
  // A picture of the command line's files only, never of the last session.
  if (options.Screenshot.isEmpty()) form.RestoreSession();
  if (!options.Files.isEmpty()) form.OpenFilesInBackground(options.Files);
  return QApplication::exec();
}
