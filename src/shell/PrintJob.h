#pragma once
// One PDF written on a worker thread with a Cairo device of its own, so the window goes
// on answering while a large street is drawn onto paper. The worker reads the street
// the window shows: the window lends it for the job's lifetime (no frame is drawn and
// nothing replaces, closes or saves a street meanwhile) and the kinds printed are rebuilt
// on the window's thread before the job starts, so the worker only reads the items. The
// job owns its thread; destroying a running job stops it and waits for the thread, and
// the PDF is put in place only by a print that ran to its end.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include <QObject>
#include <QString>

#include "document/PrintControl.h"

class QThread;

namespace vellmar {

class TPrintJob final : public QObject {
  Q_OBJECT

 public:
  // Writes the PDF under the control it is given; raises as the PDF writers do.
  using TWork = std::function<void(const TPrintControl& control)>;

  // The print starts at once.
  explicit TPrintJob(TWork work, QObject* parent = nullptr);
  ~TPrintJob() override;

  // Safe to read while the print runs: items of the page drawn and in all.
  std::int64_t ItemsDrawn() const { return done_.load(std::memory_order_relaxed); }
  std::int64_t ItemsTotal() const { return total_.load(std::memory_order_relaxed); }
  // Asks the print to stop before its next kind; Finished still comes.
  void Cancel() { stop_ = true; }

  // After Finished: the PDF was written unless it was cancelled or failed (Error).
  bool Cancelled() const { return cancelled_; }
  const QString& Error() const { return error_; }

 signals:
  // On the thread the job belongs to, once the worker is done.
  void Finished();

 private:
  void Run();

  TWork work_;
  std::atomic<bool> stop_ = false;
  std::atomic<std::int64_t> done_ = 0;
  std::atomic<std::int64_t> total_ = 0;
  // Written by the worker, read only after it has finished.
  bool cancelled_ = false;
  QString error_;
  std::unique_ptr<QThread> thread_;
};

}  // namespace vellmar
