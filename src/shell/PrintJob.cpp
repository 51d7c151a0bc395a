#include "shell/PrintJob.h"

#include <exception>

#include <QThread>

#include "shell/ShellText.h"

namespace vellmar {

TPrintJob::TPrintJob(TWork work, QObject* parent)
    : QObject(parent), work_(std::move(work)), thread_(QThread::create([this] { Run(); })) {
  // Emitted by the ending thread; delivered here, on the job's own thread.
  connect(thread_.get(), &QThread::finished, this, &TPrintJob::Finished);
  thread_->start(QThread::LowPriority);
}

TPrintJob::~TPrintJob() {
  stop_ = true;
  thread_->wait();
}

void TPrintJob::Run() {
  TPrintControl control;
  control.Stop = &stop_;
  control.Progress = [this](std::int64_t done, std::int64_t total) {
    total_.store(total, std::memory_order_relaxed);
    done_.store(done, std::memory_order_relaxed);
  };
  try {
    work_(control);
  } catch (const EPrintCancelled&) {
    cancelled_ = true;
  } catch (const std::exception& error) {
    error_ = ErrorText(error);
  }
}

}  // namespace vellmar
