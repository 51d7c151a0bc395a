#include "shell/PrintJob.h"

namespace vellmar {

TPrintJob::TPrintJob(TWork work, QObject* parent) : TWorkerJob(parent), work_(std::move(work)) {
  Start<EPrintCancelled>([this] { Run(); });
}

TPrintJob::~TPrintJob() {
  StopAndWait();
}

void TPrintJob::Run() {
  TPrintControl control;
  control.Stop = &StopRequest();
  control.Progress = [this](std::int64_t done, std::int64_t total) { SetProgress(done, total); };
  work_(control);
}

}  // namespace vellmar
