#include "shell/tools/GoToStation.h"

#include <optional>

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>

#include "document/StreetStructure.h"
#include "items/road/AxisItem.h"
#include "items/road/StationText.h"
#include "items/road/StationView.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/ShellText.h"
#include "shell/ui/TextFieldForm.h"

namespace vellmar {

TGoToStation::TGoToStation(IPlanWindow& form) : form_(form), action_(new QAction(tr("Перейти к пикету"), &form.Window())) {
  action_->setObjectName(QStringLiteral("goToStation"));
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  form.Window().addAction(action_);
  connect(action_, &QAction::triggered, this, [this] {
    Form();
    fieldForm_->Show(tr("Перейти к пикету"), fieldForm_->Field().text());
  });
}

QDialog& TGoToStation::Form() {
  if (!fieldForm_) {
    fieldForm_ = new TTextFieldForm(form_.Window(), QStringLiteral("goToStationForm"),
                                     tr("Пикет (1+23.45) или расстояние от начала оси (123.45), м:"),
                                     QStringLiteral("station"), tr("Перейти"),
                                     [this](const QString& text) { return GoTo(text); });
  }
  return fieldForm_->Dialog();
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
