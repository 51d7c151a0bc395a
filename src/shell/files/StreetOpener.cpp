#include "shell/files/StreetOpener.h"

#include <algorithm>
#include <exception>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include "document/StreetStructure.h"
#include "shell/files/StreetLoadJob.h"
#include "shell/files/FileMessages.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

constexpr int kProgressIntervalMs = 50;
// The bar counts kibibytes, so that files beyond 2 GB still fit its int range.
constexpr std::int64_t kBarUnit = 1024;

}  // namespace

TStreetOpener::TStreetOpener(IShellPrompts& prompts, QWidget* panelParent) : prompts_(prompts) {
  panel_ = new QWidget(panelParent);
  panel_->setObjectName(QStringLiteral("OpenProgress"));
  auto* row = new QHBoxLayout(panel_);
  row->setContentsMargins(4, 0, 4, 0);
  label_ = new QLabel(panel_);
  bar_ = new QProgressBar(panel_);
  bar_->setMinimumWidth(160);
  cancel_ = new QToolButton(panel_);
  cancel_->setText(tr("Отмена"));
  cancel_->setFocusPolicy(Qt::NoFocus);
  row->addWidget(label_);
  row->addWidget(bar_);
  row->addWidget(cancel_);
  panel_->hide();
  connect(cancel_, &QToolButton::clicked, this, &TStreetOpener::CancelAll);
  progressTimer_.setInterval(kProgressIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, &TStreetOpener::ShowProgress);
}

TStreetOpener::~TStreetOpener() {
  waiting_.clear();
  job_.reset();
}

bool TStreetOpener::Pending(const QString& fileName) const {
  const auto same = [&](const QString& other) { return TStreetsHolderModule::SameStreetFile(other, fileName); };
  return (job_ && same(current_.FileName)) ||
         std::any_of(waiting_.begin(), waiting_.end(), [&](const TRequest& r) { return same(r.FileName); });
}

void TStreetOpener::Enqueue(const QString& fileName, TArrival arrival) {
  if (Pending(fileName)) return;
  waiting_.push_back({fileName, std::move(arrival)});
  if (!job_) StartNext();
}

void TStreetOpener::CancelAll() {
  waiting_.clear();
  if (job_) job_->Cancel();
}

void TStreetOpener::StartNext() {
  if (waiting_.empty()) {
    progressTimer_.stop();
    panel_->hide();
    return;
  }
  current_ = std::move(waiting_.front());
  waiting_.pop_front();
  label_->setText(QFileInfo(current_.FileName).fileName());
  bar_->setRange(0, 0);
  panel_->show();
  job_ = std::make_unique<TStreetLoadJob>(current_.FileName);
  connect(job_.get(), &TStreetLoadJob::Finished, this, &TStreetOpener::JobFinished);
  progressTimer_.start();
}

void TStreetOpener::ShowProgress() {
  if (!job_ || job_->Total() == 0) return;
  bar_->setRange(0, static_cast<int>(job_->Total() / kBarUnit));
  bar_->setValue(static_cast<int>(job_->Done() / kBarUnit));
}

void TStreetOpener::JobFinished() {
  const std::unique_ptr<TStreetLoadJob> job = std::move(job_);
  const TRequest request = std::move(current_);
  std::unique_ptr<TStreetStructure> street = job->TakeStreet();
  // The next file is on its way before anybody is asked or told anything.
  StartNext();
  try {
    if (street) {
      request.Arrival(request.FileName, std::move(street));
    } else if (!job->Cancelled()) {
      prompts_.ShowError(OpenFailureText(request.FileName), job->Error());
    }
  } catch (const std::exception& error) {
    prompts_.ShowMessage(ErrorText(error));
  }
  if (!job_) emit Idle();
}

}  // namespace vellmar
