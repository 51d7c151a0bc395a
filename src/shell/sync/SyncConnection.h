#pragma once
// One end of a synchronisation link over a local socket, used by the viewer and the hub
// alike: what arrives is cut into messages and handed on a batch at a time; what is sent
// never blocks. While the peer lags behind (or the socket is still connecting) each tag
// keeps only its newest message, since a view is a state and only the latest matters;
// a peer that floods or stalls thus costs a bounded buffer. A peer whose stream is out of
// step is cut off (the socket aborts and reports itself disconnected). The connection
// owns its socket.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include <QObject>

#include "document/SyncMessageReader.h"

class QLocalSocket;

namespace vellmar {

class TSyncConnection final : public QObject {
  Q_OBJECT

 public:
  using TReceiver = std::function<void(std::vector<TSyncMessage> messages)>;

  // Takes the socket over, connected or connecting.
  TSyncConnection(QLocalSocket* socket, TReceiver receiver, QObject* parent = nullptr);

  QLocalSocket& Socket() const { return *socket_; }
  bool IsConnected() const;
  // Sends a message of EncodeSyncMessage's form, or keeps it as its tag's next one.
  void Send(uint32_t tag, std::vector<uint8_t> bytes);

 private:
  void ReadAvailable();
  void WritePending();

  QLocalSocket* socket_;
  TReceiver receiver_;
  TSyncMessageReader reader_;
  std::map<uint32_t, std::vector<uint8_t>> pending_;
};

}  // namespace vellmar
