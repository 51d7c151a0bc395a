// The viewer's window drawing a street: time from start to the first frame, and frames
// per second while the plan is panned in a 1280×800 window, against the same frames
// drawn headless (no window, no compositing) as the peer. Needs an X display; without
// one it runs itself again under a virtual X server.
//   bench_ViewerBench [FILE.pln]   (default examples/demo.pln)

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "kinds/AllKinds.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "render/DisplayRenderer.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/window/MainForm.h"
#include "WindowBench.h"

namespace {

using TClock = std::chrono::steady_clock;
constexpr int kFrames = 120;
constexpr double kStepPixels = 7;
constexpr int kWidth = 1280, kHeight = 800;

double Seconds(TClock::time_point from) { return std::chrono::duration<double>(TClock::now() - from).count(); }

// Frames of the window through its own path: a pan step, PlanChanged, and the redraw
// timer's next frame (at most one per 10 ms tick).
double WindowFramesPerSecond(vellmar::TMainForm& form) {
  const auto start = TClock::now();
  for (int i = 0; i < kFrames; ++i) {
    form.Drawer().ShiftPixels(kStepPixels, 0);
    const int before = form.FrameCount();
    form.PlanChanged();
    while (form.FrameCount() == before) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return kFrames / Seconds(start);
}

// The same frames on a headless context, finished on the GPU each time.
double HeadlessFramesPerSecond(vellmar::TStreetStructure& street, vellmar::TViewState view, const vellmar::TKindSet& kinds) {
  vellmar::HeadlessGlContext context(kWidth, kHeight);
  vellmar::HeadlessGlContext::TCurrent current(context);
  vellmar::TDisplayRenderer renderer(
      kWidth, kHeight, [](std::unique_ptr<vellmar::IGpuDevice>& d) { return vellmar::GlDevice::Create(kWidth, kHeight, d); },
      [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); });
  const double ppu = kWidth * double{view.Scale} / 2;
  const auto start = TClock::now();
  for (int i = 0; i < kFrames; ++i) {
    view.Centre.x += static_cast<float>(kStepPixels / ppu);
    renderer.BeginFrame();
    renderer.SetAmbientColor(0xFFFFFFFFu);
    renderer.ClearTarget(0xFFFFFFFFu, true, true, true);
    vellmar::SetupViewMatrices(renderer, view);
    vellmar::TDxDrawParams params{&renderer, view.Centre, 1.5f / view.Scale};
    street.Draw(params, kinds, 1u);
    renderer.EndFrame();
    renderer.PresentFrame();
    glFinish();
  }
  return kFrames / Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (!vellmar::bench::EnsureDisplay(argc, argv)) return 1;
  // The repository's data files, so no library is missing (a missing one is a message box).
  setenv("VELLMAR_DATA", VELLMAR_DATA_DIR, 0);
  vellmar::RegisterAllKinds();
  const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELLMAR_DEMO_STREET);
  // The peer first: its context cannot be made current beside the window's.
  double headless = 0;
  vellmar::TViewState view;
  {
    vellmar::TStreetStructure street;
    street.LoadFromFile(file.toStdString());
    view = vellmar::FitStreetView(street);
    view.Scale *= 4;
    vellmar::TKindSet kinds = vellmar::TKindRegistry::AllKinds();
    kinds.Exclude(34);
    headless = HeadlessFramesPerSecond(street, view, kinds);
  }

  const auto started = TClock::now();
  QApplication application(argc, argv);
  QTemporaryDir settings;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

  vellmar::TMainForm form(std::make_unique<vellmar::bench::TQuietPrompts>());
  form.resize(kWidth, kHeight);
  form.show();
  form.OpenFiles({file});
  if (!QTest::qWaitFor([&] { return form.FrameCount() > 0 && !form.NeedsRedraw(); }, 60000)) {
    std::fprintf(stderr, "bench_ViewerBench: no frame within a minute\n");
    return 1;
  }
  const double firstFrame = Seconds(started);
  const QSize surface = form.Surface().DeviceSize();
  form.Drawer().SetView(view);
  const double window = WindowFramesPerSecond(form);
  std::printf("street %s, plan surface %dx%d\n", qPrintable(file), surface.width(), surface.height());
  std::printf("window made, street opened, first frame: %.3f s\n", firstFrame);
  std::printf("panning: %.1f frames/s in the window, %.1f frames/s headless (peer); window/headless = %.2f\n", window,
              headless, window / headless);
  return 0;
}
