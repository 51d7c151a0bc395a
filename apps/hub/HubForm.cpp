#include "HubForm.h"

#include <cmath>
#include <limits>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "HubServer.h"

namespace vellmar {

namespace {

// Numbers with "." whatever the locale.
QString Number(double value) { return QString::number(value, 'g', 9); }

}  // namespace

THubForm::THubForm(THubServer& server, const QString& serverName) : server_(server) {
  setObjectName(QStringLiteral("TSyncHubForm"));
  setWindowTitle(QStringLiteral("Vellmar hub"));
  auto* column = new QVBoxLayout(this);
  auto* where = new QLabel(tr("Канал: %1").arg(serverName), this);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(where);
  column->addWidget(new QLabel(tr("Подключённые программы:"), this));
  clients_ = new QListWidget(this);
  column->addWidget(clients_, 1);
  lastView_ = new QLabel(this);
  lastView_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long view wraps instead of being cut at the window's edge.
  lastView_->setWordWrap(true);
  column->addWidget(lastView_);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(tr("Расстояние по оси, м:"), this));
  station_ = new QLineEdit(this);
  station_->setObjectName(QStringLiteral("Station"));
  row->addWidget(station_, 1);
  auto* send = new QPushButton(tr("Показать"), this);
  row->addWidget(send);
  column->addLayout(row);
  stationError_ = new QLabel(this);
  stationError_->setWordWrap(true);
  column->addWidget(stationError_);

  connect(send, &QPushButton::clicked, this, &THubForm::SendStation);
  connect(station_, &QLineEdit::returnPressed, this, &THubForm::SendStation);
  connect(&server_, &THubServer::ClientsChanged, this, &THubForm::ShowClients);
  connect(&server_, &THubServer::ViewRelayed, this, &THubForm::ShowLastView);
  ShowClients();
  ShowLastView();
  // At least as wide as its texts need, in either language.
  resize(sizeHint().expandedTo(QSize(420, 320)));
}

void THubForm::ShowClients() {
  clients_->clear();
  for (const THubServer::TClient& client : server_.Clients()) {
    const QString process =
        client.Process ? tr(", процесс %1").arg(client.Process) : QString();
    clients_->addItem(tr("№ %1%2").arg(client.Number).arg(process));
  }
}

void THubForm::ShowLastView() {
  const std::optional<TViewState>& view = server_.LastView();
  if (!view) {
    lastView_->setText(tr("Вид: ещё не получен"));
    return;
  }
  lastView_->setText(tr("Вид: центр (%1, %2, %3), масштаб %4, поворот %5")
                         .arg(Number(view->Centre.x), Number(view->Centre.y), Number(view->Centre.z),
                              Number(view->Scale), Number(view->Rotation)));
}

void THubForm::SendStation() {
  bool ok = false;
  // QString reads numbers with "." whatever the locale.
  const double station = station_->text().trimmed().toDouble(&ok);
  // A distance beyond the range of the wire's single would arrive as no number.
  if (!ok || !(std::abs(station) <= std::numeric_limits<float>::max())) {
    stationError_->setText(tr("Введите число, например 120.5"));
    return;
  }
  stationError_->clear();
  server_.SendStation(static_cast<float>(station));
}

}  // namespace vellmar
