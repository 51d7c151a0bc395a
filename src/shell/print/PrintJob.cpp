#include "shell/print/PrintJob.h"

namespace vellmar {

TPrintJob::TPrintJob(TWork work, QObject* parent) : TWorkerJob(parent), work_(std::move(work)) {
  Start<EPrintCancelled>([this] { Run(); });
}

TPrintJob::~TPrintJob() {
  StopAndWait();
}

void TPrintJob::Run() {
  work_(Control<TPrintControl>());
}

}  // namespace vellmar
