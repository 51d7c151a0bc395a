// The main window's tabs and the streets' comings and goings: opening in the foreground
// and the background, the last session, streets arriving, read again or closed, and the
// street lent to a print, during which those changes wait.

#include <algorithm>

#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>

#include "document/StreetStructure.h"
#include "shell/files/Session.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/print/PrintForm.h"
#include "shell/ui/Pictures.h"
#include "shell/window/MainForm.h"

namespace vellmar {

void TMainForm::RefreshTabs() {
  const QStringList captions = streets_->TabCaptions();
  QStringList present;
  for (int i = 0; i < streetsTab_->count(); ++i) present << streetsTab_->tabText(i);
  const QSignalBlocker quiet(streetsTab_);
  if (present != captions) {
    while (streetsTab_->count() > 0) streetsTab_->removeTab(0);
    for (const QString& caption : captions) streetsTab_->addTab(caption);
  }
  const int current = streets_->CurrentIndex();
  if (current >= 0 && current < streetsTab_->count()) streetsTab_->setCurrentIndex(current);
  streetsTab_->setVisible(streetsTab_->count() > 0);
  fileNameLabel_->setText(streets_->CurrentFileName());
  const qreal ratio = devicePixelRatioF();
  for (int i = 0; i < streetsTab_->count(); ++i) {
    const TStreetStructure& street = streets_->StreetAt(i);
    const TTabPicture mark = street.IsPristine() ? TTabPicture::Pristine
                             : street.Modified() ? TTabPicture::Modified
                                                 : TTabPicture::Saved;
    if (streetsTab_->tabData(i).toInt() == static_cast<int>(mark) + 1) continue;
    streetsTab_->setTabData(i, static_cast<int>(mark) + 1);
    streetsTab_->setTabIcon(i, QIcon(TabPicture(mark, ratio)));
  }
  ShowTitle();
}

void TMainForm::ShowTitle() {
  const int current = streets_->CurrentIndex();
  QString title = caption_;
  if (current >= 0 && current < streets_->StreetCount()) {
    const QString mark = streets_->StreetAt(current).Modified() ? QStringLiteral("*") : QString();
    title = QFileInfo(streets_->CurrentFileName()).fileName() + mark + QString::fromUtf8(" — ") + caption_;
  }
  if (title != windowTitle()) setWindowTitle(title);
}

void TMainForm::StreetsTabChange(int index) {
  if (index < 0 || index >= streets_->StreetCount()) return;
  const TViewState view = drawer_->View();
  streets_->SetCurrentIndex(index);
  // With all streets shown the picture stays where it was.
  if (drawer_->AllStreets()) drawer_->SetView(view);
  PlanChanged();
}

void TMainForm::OpenFiles(const QStringList& fileNames) {
  Guard([&] {
    if (streets_->OpenFiles(fileNames) != -1) streets_->DropPristineStreets();
  });
  PlanChanged();
}

void TMainForm::OpenFilesInBackground(const QStringList& fileNames) {
  for (const QString& fileName : fileNames) {
    const QString path = TStreetsHolderModule::StreetPath(fileName);
    const int request = ++currentRequests_;
    if (const int open = streets_->FindOpenFile(path); open >= 0) {
      streets_->SetCurrentIndex(open);
      currentShown_ = request;
      continue;
    }
    // On its way already (the last session's): it becomes current when it arrives.
    if (opener_->Pending(path)) {
      currentOnArrival_.emplace_back(path, request);
      continue;
    }
    opener_->Enqueue(path, [this, request](const QString& name, std::unique_ptr<TStreetStructure> street) {
      StreetArrived(name, std::move(street), request);
    });
  }
  PlanChanged();
}

void TMainForm::RestoreSession() {
  if (!SessionRestoreEnabled()) return;
  const TSession session = ReadSession();
  QStringList vanished;
  for (int i = 0; i < static_cast<int>(session.Streets.size()); ++i) {
    const TSessionStreet& kept = session.Streets[static_cast<size_t>(i)];
    if (!QFileInfo(kept.FileName).isFile()) {
      vanished << kept.FileName;
      continue;
    }
    const TViewState view = kept.View;
    const int request = i == session.Current ? ++currentRequests_ : 0;
    opener_->Enqueue(kept.FileName, [this, view, request](const QString& name, std::unique_ptr<TStreetStructure> street) {
      if (view.Scale != 0.0f) street->SetView(view.Centre, view.Scale, view.Rotation);
      StreetArrived(name, std::move(street), request);
    });
  }
  if (!vanished.isEmpty()) {
    ShowLater(tr("Файлы прошлого сеанса не найдены и не открыты:") + QLatin1Char('\n') + vanished.join(QLatin1Char('\n')));
  }
}

void TMainForm::StreetArrived(const QString& path, std::unique_ptr<TStreetStructure> street, int currentRequest) {
  if (streetLent_) {
    // Joining may drop a pristine street, perhaps the one printed.
    auto waiting = std::make_shared<std::unique_ptr<TStreetStructure>>(std::move(street));
    WhenStreetReturned([this, path, waiting, currentRequest] { StreetArrived(path, std::move(*waiting), currentRequest); });
    return;
  }
  std::erase_if(currentOnArrival_, [&](const std::pair<QString, int>& wish) {
    if (!TStreetsHolderModule::SameStreetFile(wish.first, path)) return false;
    currentRequest = std::max(currentRequest, wish.second);
    return true;
  });
  const int index = streets_->AddStreet(path, std::move(street));
  // An older request arriving late does not take the tab from a newer one.
  if (currentRequest > currentShown_) {
    streets_->SetCurrentIndex(index);
    currentShown_ = currentRequest;
  }
  streets_->DropPristineStreets();
  PlanChanged();
}

void TMainForm::ReplaceStreet(int index, std::unique_ptr<TStreetStructure> street) {
  if (streetLent_) {
    // Known by the street it replaces: the tabs may move before it is back.
    const TStreetStructure* old = &streets_->StreetAt(index);
    auto waiting = std::make_shared<std::unique_ptr<TStreetStructure>>(std::move(street));
    WhenStreetReturned([this, old, waiting] {
      for (int i = 0; i < streets_->StreetCount(); ++i) {
        if (&streets_->StreetAt(i) != old) continue;
        ReplaceStreet(i, std::move(*waiting));
        return;
      }
    });
    return;
  }
  streets_->ReplaceStreet(index, std::move(street));
  PlanChanged();
}

void TMainForm::WhenStreetReturned(std::function<void()> work) {
  if (streetLent_) {
    whenReturned_.push_back(std::move(work));
  } else {
    work();
  }
}

void TMainForm::LendStreet(bool lent) {
  streetLent_ = lent;
  if (lent) {
    // An autosave reads the street too; the next one comes a whole interval after the print.
    streets_->AutoSaveTimer().stop();
    return;
  }
  std::vector<std::function<void()>> waiting = std::move(whenReturned_);
  whenReturned_.clear();
  if (destroying_) return;
  streets_->AutoSaveTimer().start();
  if (rendererStale_) {
    rendererStale_ = false;
    CreateRenderer();
  }
  for (const std::function<void()>& work : waiting) Guard(work);
  PlanChanged();
}

void TMainForm::StopPrints() {
  // A form's print stops and its thread ends when the form goes.
  for (TPrintForm* form : findChildren<TPrintForm*>()) delete form;
}

void TMainForm::OpenStreetExecute() {
  Guard([&] { OpenFilesInBackground(streets_->OpenDialog().Execute()); });
  PlanChanged();
}

void TMainForm::PrintSetupExecute() { OpenPrintForm(); }

TPrintForm& TMainForm::OpenPrintForm() {
  // Modal to the window but not blocking its loop: the plan goes on drawing meanwhile.
  auto* form = new TPrintForm({[this]() -> TStreetStructure& { return drawer_->Street(); },
                               [this] { return drawer_->View(); }, [this] { return visibleLayers_; },
                               [this](bool lent) { LendStreet(lent); }},
                              surface_->size(), this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->setWindowModality(Qt::WindowModal);
  form->show();
  return *form;
}

void TMainForm::CloseStreetMIClick() {
  Guard([&] {
    const int current = streets_->CurrentIndex();
    if (current >= 0 && current < streets_->StreetCount()) streets_->CloseStreet(current, false);
    // The view always shows a street; the tab of the new empty one appears at once.
    streets_->CurrentStreet();
  });
  PlanChanged();
}

void TMainForm::CloseAllMIClick() {
  Guard([&] {
    if (streets_->QuerySaveAll()) streets_->CloseAll();
    streets_->CurrentStreet();
  });
  PlanChanged();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool close = false;
  Guard([&] { close = streets_->QuerySaveAll(); });
  if (!close) {
    event->ignore();
    return;
  }
  StopPrints();
  opener_->CancelAll();
  Guard([&] {
    if (SessionRestoreEnabled()) WriteSession(SessionOf(*streets_));
  });
  streets_->CloseAll();
  event->accept();
}

}  // namespace vellmar
