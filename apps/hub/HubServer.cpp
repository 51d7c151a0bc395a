#include "HubServer.h"

#include <sys/socket.h>

#include <algorithm>

#include <QLocalSocket>

#include "document/SyncMessage.h"
#include "shell/sync/SyncConnection.h"

namespace vellmar {

namespace {

// How long a hub that may already be running gets to answer at start-up.
constexpr int kProbeTimeoutMs = 300;

qint64 PeerProcess(const QLocalSocket& socket) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
    return 0;
  }
  return credentials.pid;
}

}  // namespace

THubServer::THubServer(QObject* parent) : QObject(parent) {
  // Only the user's own programs may connect.
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &THubServer::Accept);
}

THubServer::~THubServer() {
  // The links go with this object; their sockets' farewells must not reach the list.
  for (const TClient& client : clients_) client.Link->Socket().disconnect(this);
}

std::optional<QString> THubServer::Listen(const QString& name) {
  QLocalSocket probe;
  probe.connectToServer(name);
  if (probe.waitForConnected(kProbeTimeoutMs)) return QStringLiteral("another hub is running on %1").arg(name);
  QLocalServer::removeServer(name);
  if (!server_.listen(name)) return QStringLiteral("cannot listen on %1: %2").arg(name, server_.errorString());
  return std::nullopt;
}

void THubServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto* link = new TSyncConnection(
        socket, [this, socket](std::vector<TSyncMessage> messages) { Relay(socket, messages); }, this);
    clients_.push_back({link, nextNumber_++, PeerProcess(*socket)});
    connect(socket, &QLocalSocket::disconnected, this, [this, link] { Remove(link); });
    emit ClientsChanged();
  }
}

void THubServer::Remove(const TSyncConnection* link) {
  const auto gone = std::find_if(clients_.begin(), clients_.end(), [link](const TClient& c) { return c.Link == link; });
  if (gone == clients_.end()) return;
  gone->Link->deleteLater();
  clients_.erase(gone);
  emit ClientsChanged();
}

void THubServer::Relay(const QLocalSocket* from, const std::vector<TSyncMessage>& messages) {
  bool viewed = false;
  for (const TSyncMessage& message : messages) {
    std::vector<uint8_t> bytes;
    if (const std::optional<TViewState> view = DecodeViewMessage(message)) {
      lastView_ = view;
      viewed = true;
      bytes = EncodeViewMessage(*view);
    } else if (const std::optional<float> station = DecodeStationMessage(message)) {
      bytes = EncodeStationMessage(*station);
    } else {
      continue;  // not one of ours, or damaged
    }
    // A copy: a link that fails while being written to leaves the list.
    const std::vector<TClient> targets = clients_;
    for (const TClient& client : targets) {
      if (&client.Link->Socket() != from) client.Link->Send(message.Tag, bytes);
    }
  }
  if (viewed) emit ViewRelayed();
}

void THubServer::SendStation(float station) {
  const std::vector<TClient> targets = clients_;
  for (const TClient& client : targets) client.Link->Send(kSyncStationTag, EncodeStationMessage(station));
}

}  // namespace vellmar
