#pragma once
// The viewer's side of the view synchronisation: the view goes to the hub at the start
// of every frame drawn while the main window is the active window, and views and axis
// stations from the hub move the plan. The link is made in the background and made again
// whenever it is lost, so a hub started (or restarted) later is found; until then frames
// send nothing and nobody is told. Nothing here ever waits for the hub. Owned by the main
// window, whose drawer it moves.

#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "document/SyncMessage.h"

namespace vellmar {

class IPlanWindow;
class TSyncConnection;

class TVellmarSyncForm final : public QObject {
  Q_OBJECT

 public:
  explicit TVellmarSyncForm(IPlanWindow& form);
  ~TVellmarSyncForm() override;

  // The view of the frame about to be drawn.
  void BroadcastView(const TViewState& view);
  bool IsConnected() const;

 private:
  void Connect();
  void Disconnected(TSyncConnection* connection);
  void Receive(const std::vector<TSyncMessage>& messages);
  bool CentreOnStation(float station);

  IPlanWindow& form_;
  const QString serverName_;
  TSyncConnection* connection_ = nullptr;  // a child, while connected or connecting
  QTimer retry_;
};

}  // namespace vellmar
