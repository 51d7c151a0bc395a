#pragma once
// One PDF written on a worker thread with a Cairo device of its own, so the window goes
// on answering while a large street is drawn onto paper. The worker reads the street
// the window shows: the window lends it for the job's lifetime (no frame is drawn and
// nothing replaces, closes or saves a street meanwhile) and the kinds printed are rebuilt
// on the window's thread before the job starts, so the worker only reads the items. The
// job owns its thread; destroying a running job stops it and waits for the thread, and
// the PDF is put in place only by a print that ran to its end.

#include <functional>

#include "document/PrintControl.h"
#include "shell/ui/WorkerJob.h"

namespace vellmar {

class TPrintJob final : public TWorkerJob {
  Q_OBJECT

 public:
  // Writes the PDF under the control it is given; raises as the PDF writers do.
  using TWork = std::function<void(const TPrintControl& control)>;

  // The print starts at once. Done and Total count the items of the page.
  explicit TPrintJob(TWork work, QObject* parent = nullptr);
  ~TPrintJob() override;

  // After Finished: the PDF was written unless it was cancelled or failed (Error).
  bool Cancelled() const { return EndedCancelled(); }

 private:
  void Run();

  TWork work_;
};

}  // namespace vellmar
