// Viewers kept in step through the real hub program over real sockets: two viewer
// windows in this process (only one of them can be the active window), the hub as its
// own process, and raw clients that watch, point at stations or send garbage. The socket
// is the one main() chose for this run (VELLMAR_SYNC_SERVER), so nothing meets a user's hub.

#include <limits>
#include <random>

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>

#include "document/AbstractItem.h"
#include "document/PointList.h"
#include "document/StreetStructure.h"
#include "document/SyncMessage.h"
#include "document/SyncMessageReader.h"
#include "geometry/Vector.h"
#include "shell/sync/SyncServerName.h"
#include "shell/sync/VellmarSync.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

constexpr int kPatienceMs = 20000;

using TBytes = std::vector<uint8_t>;

// A program attached to the hub that is not a viewer: it keeps what it receives.
class TRawClient {
 public:
  TRawClient() {
    QObject::connect(&socket_, &QLocalSocket::readyRead, [this] {
      const QByteArray bytes = socket_.readAll();
      for (TSyncMessage& m : reader_.Feed({reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           static_cast<size_t>(bytes.size())})) {
        Received.push_back(std::move(m));
      }
    });
  }
  bool Connect() {
    socket_.connectToServer(SyncServerName());
    return socket_.waitForConnected(kPatienceMs);
  }
  void Write(const TBytes& bytes) {
    socket_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    socket_.flush();
  }
  std::vector<TBytes> Views() const {
    std::vector<TBytes> views;
    for (const TSyncMessage& m : Received) {
      if (const std::optional<TViewState> view = DecodeViewMessage(m)) views.push_back(EncodeViewMessage(*view));
    }
    return views;
  }
  QLocalSocket& Socket() { return socket_; }
  std::vector<TSyncMessage> Received;

 private:
  QLocalSocket socket_;
  TSyncMessageReader reader_;
};

TBytes Wire(const TViewState& view) { return EncodeViewMessage(view); }

class SyncTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    for (auto& form : forms_) {
      form = std::make_unique<TMainForm>(std::make_unique<TScriptedPrompts>());
      form->resize(800, 600);
      form->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    const std::filesystem::path street = dir_ / "street.pln";
    std::filesystem::copy_file(VELLMAR_DEMO_STREET, street);
    for (auto& form : forms_) {
      form->OpenFiles({Q(street)});
      ASSERT_SOON(form->Streets().CurrentFileName() == Q(street), kPatienceMs);
    }
    A().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&A()));
  }
  void TearDown() override {
    for (auto& form : forms_) form.reset();
    StopHub();
  }

  TMainForm& A() { return *forms_[0]; }  // the active viewer
  TMainForm& B() { return *forms_[1]; }

  void StartHub() {
    hub_.start(QStringLiteral(VELLMAR_HUB_PROGRAM), {});
    ASSERT_TRUE(hub_.waitForStarted(kPatienceMs));
    ASSERT_SOON(A().Sync().IsConnected() && B().Sync().IsConnected(), kPatienceMs);
  }
  void StopHub() {
    if (hub_.state() == QProcess::NotRunning) return;
    hub_.kill();
    hub_.waitForFinished(kPatienceMs);
  }
  void Settle() {
    for (auto& form : forms_) ASSERT_SOON(!form->NeedsRedraw(), kPatienceMs);
    QTest::qWait(100);
  }
  // Pans the active viewer as its arrow key does; B has followed once its view is A's.
  void PanAndFollow() {
    A().Drawer().ShiftPixels(100, 30);
    A().PlanChanged();
    ASSERT_SOON(Wire(B().Drawer().View()) == Wire(A().Drawer().View()), kPatienceMs);
  }

  TempDir dir_;
  std::array<std::unique_ptr<TMainForm>, 2> forms_;
  QProcess hub_;
};

TEST_F(SyncTest, PanningTheActiveViewerMovesTheOtherWhichSendsNothingBack) {
  StartHub();
  TRawClient watcher;
  ASSERT_TRUE(watcher.Connect());
  Settle();
  watcher.Received.clear();
  const int framesBefore = A().FrameCount(), otherFramesBefore = B().FrameCount();
  PanAndFollow();
  ASSERT_SOON(B().FrameCount() > otherFramesBefore, kPatienceMs);
  Settle();
  // Every frame of the active viewer sent its view once; the follower, which redrew too,
  // sent nothing (an echo would show as one more view here and bounce between viewers).
  const std::vector<TBytes> views = watcher.Views();
  ASSERT_FALSE(views.empty());
  EXPECT_EQ(static_cast<int>(views.size()), A().FrameCount() - framesBefore);
  EXPECT_EQ(views.back(), Wire(A().Drawer().View()));
}

TEST_F(SyncTest, AStationCentresTheAxisPointWithTheAxisRunningRight) {
  StartHub();
  TRawClient database;
  ASSERT_TRUE(database.Connect());
  TAbstractItem* axis = B().Drawer().Street().MainAxis();
  ASSERT_NE(axis, nullptr);
  const TXYZArray& line = axis->Points().Polyline();
  ASSERT_GE(line.size(), 2u);
  const TXYZ start = line[0], forward = SetLengthXYZ(SubXYZ(line[0], line[1]), 1.0);
  const TXYZ last = line.back(), onward = SetLengthXYZ(SubXYZ(line[line.size() - 2], last), 1.0);
  const double length = axis->Points().Stations().back();
  struct TCase {
    const char* Name;
    float Station;
    TXYZ Centre;
    TXYZ Direction;
  };
  const TCase cases[] = {
      {"the start", 0.0f, start, forward},
      {"20 m before the start", -20.0f, AddXYZ(start, ScaleXYZ(forward, -20)), forward},
      {"15 m past the end", static_cast<float>(length + 15), AddXYZ(last, ScaleXYZ(onward, 15)), onward},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    database.Write(EncodeStationMessage(c.Station));
    for (TMainForm* form : {&A(), &B()}) {
      ASSERT_SOON(DistanceXYZ(form->Drawer().Centre(), c.Centre) < 0.01, kPatienceMs);
      const TXYZ onScreen = RotateAngle(c.Direction, form->Drawer().Rotation());
      EXPECT_NEAR(onScreen.x, 1.0, 1e-5);
      EXPECT_NEAR(onScreen.y, 0.0, 1e-5);
    }
  }
}

TEST_F(SyncTest, AHubKilledAndStartedAgainIsFoundAgain) {
  StartHub();
  PanAndFollow();
  StopHub();
  ASSERT_SOON(!A().Sync().IsConnected() && !B().Sync().IsConnected(), kPatienceMs);
  // Without a hub the active viewer still draws every change at once.
  const int frames = A().FrameCount();
  A().Drawer().ShiftPixels(-50, 0);
  A().PlanChanged();
  ASSERT_SOON(A().FrameCount() > frames, 2000);
  EXPECT_NE(Wire(B().Drawer().View()), Wire(A().Drawer().View()));
  StartHub();
  PanAndFollow();
}

TEST_F(SyncTest, ClientsSendingGarbageOrFloodingDoNotDisturbTheOthers) {
  StartHub();
  TRawClient watcher;
  ASSERT_TRUE(watcher.Connect());
  std::mt19937 random(2608);
  TBytes noise(1 << 20);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  const TBytes view = Wire({{1, 2, 0}, 0.5f, 0.25f});
  const auto header = [](uint32_t tag, uint32_t count) {
    TBytes h = EncodeSyncMessage(tag, TBytes(count));
    h.resize(8);
    return h;
  };
  {
    // A wrong count, an unknown tag, then a good view: only the last goes on.
    TRawClient sloppy;
    ASSERT_TRUE(sloppy.Connect());
    TBytes bytes = header(kSyncViewTag, 16);
    bytes.resize(bytes.size() + 16, 0x7F);
    const TBytes unknown = EncodeSyncMessage(0x0BADF00D, TBytes(40, 0x7F));
    bytes.insert(bytes.end(), unknown.begin(), unknown.end());
    bytes.insert(bytes.end(), view.begin(), view.end());
    sloppy.Write(bytes);
    ASSERT_SOON(!watcher.Views().empty() && watcher.Views().back() == view, kPatienceMs);
    // Whatever else came were whole views (the active viewer's frames), nothing damaged.
    EXPECT_EQ(watcher.Views().size(), watcher.Received.size());
  }
  {
    // Half a message, then gone.
    TRawClient quitter;
    ASSERT_TRUE(quitter.Connect());
    quitter.Write(TBytes(view.begin(), view.begin() + 13));
  }
  TRawClient fuzzer, flooder;
  ASSERT_TRUE(fuzzer.Connect());
  ASSERT_TRUE(flooder.Connect());
  // A client that takes a byte at a time: the hub must not wait for it, nor hold the flood for it.
  QLocalSocket stalled;
  stalled.setReadBufferSize(1);
  stalled.connectToServer(SyncServerName());
  ASSERT_TRUE(stalled.waitForConnected(kPatienceMs));
  fuzzer.Write(noise);
  // The hub cuts off a stream that is out of step.
  ASSERT_SOON(fuzzer.Socket().state() == QLocalSocket::UnconnectedState, kPatienceMs);
  TBytes flood;
  for (int i = 0; i < 50000; ++i) {
    const TBytes one = Wire({{float(i), 0, 0}, 0.5f, 0});
    flood.insert(flood.end(), one.begin(), one.end());
  }
  flooder.Write(flood);
  const TBytes lastFlooded = Wire({{49999, 0, 0}, 0.5f, 0});
  ASSERT_SOON(Wire(B().Drawer().View()) == lastFlooded, kPatienceMs);
  ASSERT_SOON(!watcher.Views().empty() && watcher.Views().back() == lastFlooded, kPatienceMs);

  PanAndFollow();
  EXPECT_EQ(hub_.state(), QProcess::Running);
  EXPECT_EQ(watcher.Socket().state(), QLocalSocket::ConnectedState);
  EXPECT_TRUE(B().Sync().IsConnected());
}

// A program posing as the hub that sends the viewers damaged bytes.
TEST_F(SyncTest, ViewersDropDamagedMessagesAndHangUpOnAStreamOutOfStep) {
  QLocalServer fake;
  QLocalServer::removeServer(SyncServerName());
  ASSERT_TRUE(fake.listen(SyncServerName()));
  std::vector<QLocalSocket*> peers;
  QObject::connect(&fake, &QLocalServer::newConnection, [&] {
    while (QLocalSocket* peer = fake.nextPendingConnection()) peers.push_back(peer);
  });
  ASSERT_SOON(A().Sync().IsConnected() && B().Sync().IsConnected() && peers.size() == 2, kPatienceMs);
  const auto sendToAll = [&](const TBytes& bytes) {
    for (QLocalSocket* peer : peers) {
      peer->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
      peer->flush();
    }
  };
  const TBytes before = Wire(B().Drawer().View());
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TBytes damaged = Wire({{nan, 0, 0}, 0.5f, 0});
  for (const TBytes& more : {EncodeSyncMessage(kSyncViewTag, TBytes(12, 0x41)),
                             EncodeSyncMessage(kSyncStationTag, TBytes(20, 0x41)),
                             EncodeSyncMessage(0x0BADF00D, TBytes(100, 0x41))}) {
    damaged.insert(damaged.end(), more.begin(), more.end());
  }
  sendToAll(damaged);
  QTest::qWait(300);
  EXPECT_EQ(Wire(B().Drawer().View()), before);
  // The link is still good after what was dropped.
  const TBytes good = Wire({{5, 6, 0}, 0.25f, 1});
  sendToAll(good);
  ASSERT_SOON(Wire(B().Drawer().View()) == good, kPatienceMs);

  std::mt19937 random(1978);
  TBytes noise(1 << 20);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  sendToAll(noise);
  // Both hang up and, the server being still there, come back on fresh links.
  ASSERT_SOON(peers[0]->state() == QLocalSocket::UnconnectedState &&
                               peers[1]->state() == QLocalSocket::UnconnectedState,
                           kPatienceMs);
  ASSERT_SOON(A().Sync().IsConnected() && B().Sync().IsConnected() && peers.size() == 4, kPatienceMs);
  EXPECT_EQ(Wire(B().Drawer().View()), good);
}

}  // namespace
}  // namespace vellmar::test
