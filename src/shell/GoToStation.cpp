#include "shell/GoToStation.h"

#include <optional>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/StreetStructure.h"
#include "items/road/AxisItem.h"
#include "items/road/StationText.h"
#include "items/road/StationView.h"
#include "shell/MainForm.h"
#include "shell/MainPlanDrawer.h"
#include "shell/ShellText.h"

namespace vellmar {

TGoToStation::TGoToStation(TMainForm& form) : form_(form), action_(new QAction(tr("Перейти к пикету"), &form)) {
  action_->setObjectName(QStringLiteral("goToStation"));
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  form.addAction(action_);
  connect(action_, &QAction::triggered, this, [this] {
    QDialog& dialog = Form();
    error_->clear();
    field_->selectAll();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    field_->setFocus();
  });
}

QDialog& TGoToStation::Form() {
  if (dialog_) return *dialog_;
  dialog_ = new QDialog(&form_);
  dialog_->setObjectName(QStringLiteral("goToStationForm"));
  dialog_->setWindowTitle(tr("Перейти к пикету"));
  auto* column = new QVBoxLayout(dialog_);
  column->addWidget(new QLabel(tr("Пикет (1+23.45) или расстояние от начала оси (123.45), м:"), dialog_));
  field_ = new QLineEdit(dialog_);
  field_->setObjectName(QStringLiteral("station"));
  column->addWidget(field_);
  error_ = new QLabel(dialog_);
  error_->setObjectName(QStringLiteral("error"));
  error_->setStyleSheet(QStringLiteral("color: #b00000"));
  error_->setWordWrap(true);
  column->addWidget(error_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog_);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("Перейти"));
  column->addWidget(buttons);
  // Enter in the field presses the default button, which is Ok.
  connect(buttons, &QDialogButtonBox::accepted, this, &TGoToStation::Apply);
  connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
  return *dialog_;
}

void TGoToStation::Apply() {
  const QString error = GoTo(field_->text());
  error_->setText(error);
  if (error.isEmpty()) {
    dialog_->accept();
  } else {
    field_->selectAll();
    field_->setFocus();
  }
}

QString TGoToStation::GoTo(const QString& text) {
  TMainPlanDrawer& drawer = form_.Drawer();
  auto* axis = dynamic_cast<TAxisItem*>(drawer.Street().MainAxis());
  if (!axis) return tr("У улицы нет главной оси: пикеты отсчитывать не от чего.");
  const std::optional<double> station = ParseStation(ToCp1251(text), axis->PicketStep());
  if (!station) return tr("«%1» — не пикет. Пишите 1+23.45 или 123.45.").arg(text.trimmed());
  const std::optional<TViewState> view = ViewAtStation(axis->Points(), *station, drawer.View());
  if (!view) return tr("На главной оси нет ни одного отрезка: к пикету не перейти.");
  drawer.SetView(*view);
  form_.PlanChanged();
  return QString();
}

}  // namespace vellmar
