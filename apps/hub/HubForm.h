#pragma once
// The hub's window ("TSyncHubForm"): the connected viewers, the last view that passed
// through, and a field that points every viewer at a station of its street's axis. It
// shows the server, which it does not own.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

namespace vellmar {

class THubServer;

class THubForm final : public QWidget {
  Q_OBJECT

 public:
  explicit THubForm(THubServer& server, const QString& serverName);

 private:
  void ShowClients();
  void ShowLastView();
  void SendStation();

  THubServer& server_;
  QListWidget* clients_ = nullptr;
  QLabel* lastView_ = nullptr;
  QLineEdit* station_ = nullptr;
  QLabel* stationError_ = nullptr;
};

}  // namespace vellmar
