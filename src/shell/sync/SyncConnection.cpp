#include "shell/sync/SyncConnection.h"

#include <QLocalSocket>

namespace vellmar {

namespace {

// Unwritten bytes beyond which a peer counts as lagging.
constexpr qint64 kBacklogBytes = 64 * 1024;

}  // namespace

TSyncConnection::TSyncConnection(QLocalSocket* socket, TReceiver receiver, QObject* parent)
    : QObject(parent), socket_(socket), receiver_(std::move(receiver)) {
  socket_->setParent(this);
  connect(socket_, &QLocalSocket::readyRead, this, &TSyncConnection::ReadAvailable);
  connect(socket_, &QLocalSocket::connected, this, &TSyncConnection::WritePending);
  connect(socket_, &QLocalSocket::bytesWritten, this, &TSyncConnection::WritePending);
}

bool TSyncConnection::IsConnected() const { return socket_->state() == QLocalSocket::ConnectedState; }

void TSyncConnection::Send(uint32_t tag, std::vector<uint8_t> bytes) {
  pending_[tag] = std::move(bytes);
  WritePending();
}

void TSyncConnection::WritePending() {
  while (!pending_.empty() && IsConnected() && socket_->bytesToWrite() <= kBacklogBytes) {
    const std::vector<uint8_t> bytes = std::move(pending_.begin()->second);
    pending_.erase(pending_.begin());
    socket_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  }
}

void TSyncConnection::ReadAvailable() {
  const QByteArray bytes = socket_->readAll();
  std::vector<TSyncMessage> messages =
      reader_.Feed({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())});
  if (!messages.empty()) receiver_(std::move(messages));
  if (reader_.Broken()) socket_->abort();
}

}  // namespace vellmar
