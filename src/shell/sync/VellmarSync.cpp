#include "shell/sync/VellmarSync.h"

#include <QLocalSocket>
#include <QMainWindow>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "items/road/StationView.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/sync/SyncConnection.h"
#include "shell/sync/SyncServerName.h"

namespace vellmar {

namespace {

// How often a missing hub is looked for: a failed attempt costs one system call.
constexpr int kRetryIntervalMs = 500;

}  // namespace

TVellmarSyncForm::TVellmarSyncForm(IPlanWindow& form) : form_(form), serverName_(SyncServerName()) {
  setObjectName(QStringLiteral("VellmarSyncForm"));
  retry_.setInterval(kRetryIntervalMs);
  connect(&retry_, &QTimer::timeout, this, &TVellmarSyncForm::Connect);
  retry_.start();
  Connect();
}

TVellmarSyncForm::~TVellmarSyncForm() {
  // The socket's last words (an abort reports a disconnection) must not reach a half-gone window.
  if (connection_) connection_->Socket().disconnect(this);
  delete connection_;
}

bool TVellmarSyncForm::IsConnected() const { return connection_ && connection_->IsConnected(); }

void TVellmarSyncForm::Connect() {
  if (connection_) return;
  auto* socket = new QLocalSocket;
  auto* connection = new TSyncConnection(
      socket, [this](std::vector<TSyncMessage> messages) { Receive(messages); }, this);
  connection_ = connection;
  const auto lost = [this, connection] { Disconnected(connection); };
  connect(socket, &QLocalSocket::disconnected, this, lost);
  connect(socket, &QLocalSocket::errorOccurred, this, lost);
  // Connecting to a local socket does not block; a missing hub reports an error at once.
  socket->connectToServer(serverName_);
}

void TVellmarSyncForm::Disconnected(TSyncConnection* connection) {
  if (connection != connection_) return;
  connection_ = nullptr;
  connection->deleteLater();
}

void TVellmarSyncForm::BroadcastView(const TViewState& view) {
  // An inactive viewer sends nothing, so a view that came from the hub is not sent back.
  if (!connection_ || !form_.Window().isActiveWindow()) return;
  connection_->Send(kSyncViewTag, EncodeViewMessage(view));
}

void TVellmarSyncForm::Receive(const std::vector<TSyncMessage>& messages) {
  bool moved = false;
  for (const TSyncMessage& message : messages) {
    if (const std::optional<TViewState> view = DecodeViewMessage(message)) {
      form_.Drawer().SetView(*view);
      moved = true;
    } else if (const std::optional<float> station = DecodeStationMessage(message)) {
      moved = CentreOnStation(*station) || moved;
    }
  }
  // One redraw for a whole batch, however many views a flood brought; the frame that
  // shows another viewer's view does not wait for the next tick.
  if (moved) form_.PlanChangedPromptly();
}

bool TVellmarSyncForm::CentreOnStation(float station) {
  TMainPlanDrawer& drawer = form_.Drawer();
  TAbstractItem* axis = drawer.Street().MainAxis();
  if (!axis) return false;
  const std::optional<TViewState> view = ViewAtStation(axis->Points(), station, drawer.View());
  if (view) drawer.SetView(*view);
  return view.has_value();
}

}  // namespace vellmar
