#include "shell/tools/ViewHistoryActions.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>

#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/plan/PlanWindow.h"

namespace vellmar {

TViewHistoryActions::TViewHistoryActions(IPlanWindow& form)
    : QObject(&form.Window()), form_(form), back_(new QAction(tr("Назад"), &form.Window())), forward_(new QAction(tr("Вперёд"), &form.Window())) {
  setObjectName(QStringLiteral("viewHistory"));
  back_->setObjectName(QStringLiteral("viewBack"));
  back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  forward_->setObjectName(QStringLiteral("viewForward"));
  forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  form.Window().addAction(back_);
  form.Window().addAction(forward_);
  connect(back_, &QAction::triggered, this, &TViewHistoryActions::Back);
  connect(forward_, &QAction::triggered, this, &TViewHistoryActions::Forward);
  connect(&form.Surface(), &TPlanSurface::MouseDown, this, [this](QMouseEvent* event) {
    if (event->button() == Qt::BackButton) Back();
    if (event->button() == Qt::ForwardButton) Forward();
  });
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &TViewHistoryActions::RecordWhenStill);
  changeHook_ = form.AddChangeHook([this] { settle_.start(); });
}

TViewHistoryActions::~TViewHistoryActions() { form_.RemoveChangeHook(changeHook_); }

TViewHistory& TViewHistoryActions::History() {
  // Histories of streets closed since are dropped first, so that a street made later at
  // the same address starts with none.
  TStreetsHolderModule& streets = form_.Streets();
  for (auto it = histories_.begin(); it != histories_.end();) {
    bool open = false;
    for (int i = 0; i < streets.StreetCount() && !open; ++i) open = &streets.StreetAt(i) == it->first;
    it = open ? std::next(it) : histories_.erase(it);
  }
  return histories_[&form_.Drawer().Street()];
}

void TViewHistoryActions::RecordWhenStill() {
  // A drag paused mid-way has not ended.
  if (QApplication::mouseButtons() != Qt::NoButton) {
    settle_.start();
    return;
  }
  History().Record(form_.Drawer().View());
}

void TViewHistoryActions::Back() {
  // A view not yet recorded (the gesture ended a moment ago) is where Forward returns to.
  settle_.stop();
  History().Record(form_.Drawer().View());
  if (const auto view = History().Back()) Show(*view);
}

void TViewHistoryActions::Forward() {
  settle_.stop();
  History().Record(form_.Drawer().View());
  if (const auto view = History().Forward()) Show(*view);
}

void TViewHistoryActions::Show(const TViewState& view) {
  form_.Drawer().SetView(view);
  form_.PlanChanged();
}

}  // namespace vellmar
