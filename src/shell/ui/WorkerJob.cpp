#include "shell/ui/WorkerJob.h"

#include <QThread>

#include "shell/ui/ShellText.h"

namespace vellmar {

TWorkerJob::TWorkerJob(QObject* parent) : QObject(parent) {}

TWorkerJob::~TWorkerJob() {
  StopAndWait();
}

void TWorkerJob::StartThread(std::function<void()> run) {
  thread_.reset(QThread::create(std::move(run)));
  // Emitted by the ending thread; delivered here, on the job's own thread.
  connect(thread_.get(), &QThread::finished, this, &TWorkerJob::Finished);
  thread_->start(QThread::LowPriority);
}

void TWorkerJob::StopAndWait() {
  stop_ = true;
  if (thread_) thread_->wait();
}

void TWorkerJob::Fail(const std::exception& error) {
  error_ = ErrorText(error);
}

}  // namespace vellmar
