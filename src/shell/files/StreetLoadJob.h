#pragma once
// One street file read on a worker thread: the street is built there, its plain kinds'
// primitives too, and handed over whole once the thread has finished, so the window
// never waits for the disk. The job
// owns the thread and, until it is taken, the street; destroying a running job stops the
// load and waits for the thread.

#include <memory>

#include <QString>

#include "shell/ui/WorkerJob.h"

namespace vellmar {

class TStreetStructure;

class TStreetLoadJob final : public TWorkerJob {
  Q_OBJECT

 public:
  // FileName: absolute; the load starts at once. Done and Total count the file's bytes.
  explicit TStreetLoadJob(const QString& fileName, QObject* parent = nullptr);
  ~TStreetLoadJob() override;

  const QString& FileName() const { return fileName_; }

  // After Finished: exactly one of the street, a cancellation or an error message. A
  // cancel that came after the last byte was read still cancels: the street is dropped.
  bool Cancelled() const { return EndedCancelled() || StopRequested(); }
  std::unique_ptr<TStreetStructure> TakeStreet();

 private:
  void Load();

  QString fileName_;
  // Written by the worker, read only after it has finished.
  std::unique_ptr<TStreetStructure> street_;
};

}  // namespace vellmar
