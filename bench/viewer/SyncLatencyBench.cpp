// Latency of the view synchronisation: from the moment a viewer sends its view (at the
// start of its frame, as a pan makes it) to the frame that shows that view in another
// viewer, through the real hub program. The sending viewer is played by a plain client
// of the hub, so that its own drawing does not hold up the receiving window in this
// process; the receiving viewer is the real window. Reported as medians over many pans,
// each sent at a random moment of the receiver's redraw timer, beside the time the
// receiver takes to draw a frame. Needs an X display; without one it runs itself again
// under a virtual X server.
//   bench_SyncLatencyBench [FILE.pln]   (default examples/demo.pln)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <QApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "document/SyncMessage.h"
#include "document/ViewState.h"
#include "kinds/AllKinds.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/sync/SyncServerName.h"
#include "shell/sync/VellmarSync.h"
#include "shell/window/MainForm.h"
#include "WindowBench.h"

namespace {

using TClock = std::chrono::steady_clock;
constexpr int kPans = 200;
constexpr int kPatienceMs = 30000;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Percentile90(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() * 9 / 10];
}

}  // namespace

int main(int argc, char** argv) {
  if (!vellmar::bench::EnsureDisplay(argc, argv)) return 1;
  setenv("VELLMAR_DATA", VELLMAR_DATA_DIR, 0);
  QApplication application(argc, argv);
  QTemporaryDir scratch;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
  qputenv("VELLMAR_SYNC_SERVER", scratch.filePath(QStringLiteral("hub")).toLocal8Bit());
  vellmar::RegisterAllKinds();

  QProcess hub;
  hub.start(QStringLiteral(VELLMAR_HUB_PROGRAM), {});
  if (!hub.waitForStarted(kPatienceMs)) {
    std::fprintf(stderr, "bench_SyncLatencyBench: the hub does not start\n");
    return 1;
  }
  const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELLMAR_DEMO_STREET);
  vellmar::TMainForm follower(std::make_unique<vellmar::bench::TQuietPrompts>());
  follower.resize(1280, 800);
  follower.show();
  follower.OpenFiles({file});
  QLocalSocket sender;
  const bool ready = QTest::qWaitFor(
      [&] {
        if (sender.state() == QLocalSocket::UnconnectedState) sender.connectToServer(vellmar::SyncServerName());
        return follower.FrameCount() > 0 && !follower.NeedsRedraw() && follower.Sync().IsConnected() &&
               sender.state() == QLocalSocket::ConnectedState;
      },
      kPatienceMs);
  if (!ready) {
    std::fprintf(stderr, "bench_SyncLatencyBench: the window or the hub is not ready\n");
    return 1;
  }

  // When the follower's view changes (the message has come) and when its frame is done.
  TClock::time_point arrived, drawn;
  follower.AddChangeHook([&] { arrived = TClock::now(); });
  follower.AddDrawHook([&](const vellmar::TDxDrawParams&) { drawn = TClock::now(); });

  vellmar::TViewState view = follower.Drawer().View();
  std::mt19937 random(16);
  std::uniform_int_distribution<int> phase(0, 20);
  std::vector<double> toArrival, toFrame, frameTimes;
  for (int i = 0; i < kPans; ++i) {
    QTest::qWait(phase(random));
    view.Centre.x += 1.0f;
    const std::vector<uint8_t> bytes = vellmar::EncodeViewMessage(view);
    const int frames = follower.FrameCount();
    const auto sent = TClock::now();
    sender.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    sender.flush();
    while (follower.FrameCount() == frames || follower.Drawer().View().Centre.x != view.Centre.x) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    toArrival.push_back(Ms(arrived - sent));
    toFrame.push_back(Ms(drawn - sent));
    frameTimes.push_back(Ms(drawn - arrived));
  }
  hub.kill();
  hub.waitForFinished();
  std::printf("street %s, receiving window 1280x800, %d pans through the hub\n", qPrintable(file), kPans);
  std::printf("send -> message applied in the other viewer: median %.3f ms, 90%% %.3f ms\n", Median(toArrival),
              Percentile90(toArrival));
  std::printf("send -> frame drawn in the other viewer:     median %.3f ms, 90%% %.3f ms\n", Median(toFrame),
              Percentile90(toFrame));
  std::printf("  of which from the message to the frame drawn: median %.3f ms\n", Median(frameTimes));
  return 0;
}
