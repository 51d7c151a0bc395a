#pragma once
// The hub's relay: listens on the synchronisation socket and passes every view and every
// axis station that one client sends on to all the others. Damaged messages are dropped,
// a client whose stream is out of step is cut off, and a client that floods or stalls
// costs the others nothing (each link keeps only the newest message of a kind while its
// peer lags). The server owns its client links.

#include <cstdint>
#include <optional>
#include <vector>

#include <QLocalServer>
#include <QObject>
#include <QString>

#include "document/ViewState.h"

class QLocalSocket;

namespace vellmar {

class TSyncConnection;
struct TSyncMessage;

class THubServer final : public QObject {
  Q_OBJECT

 public:
  struct TClient {
    TSyncConnection* Link = nullptr;
    int Number = 0;     // counts from 1 in order of connecting
    qint64 Process = 0;  // the peer's process id; 0 when the system does not tell
  };

  explicit THubServer(QObject* parent = nullptr);
  ~THubServer() override;
  // Starts listening on the name; a socket left behind by a hub that died is replaced, a
  // running hub's is not. The error text when that fails.
  std::optional<QString> Listen(const QString& name);

  const std::vector<TClient>& Clients() const { return clients_; }
  const std::optional<TViewState>& LastView() const { return lastView_; }
  // Points every client at a station of its street's axis.
  void SendStation(float station);

 signals:
  void ClientsChanged();
  void ViewRelayed();

 private:
  void Accept();
  // To every client but the one whose socket sent them.
  void Relay(const QLocalSocket* from, const std::vector<TSyncMessage>& messages);
  void Remove(const TSyncConnection* link);

  QLocalServer server_;
  std::vector<TClient> clients_;
  std::optional<TViewState> lastView_;
  int nextNumber_ = 1;
};

}  // namespace vellmar
