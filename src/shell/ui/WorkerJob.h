#pragma once
// Work the window hands to a worker thread of its own and follows: a count done of a
// total for its bar, a request to stop, and how the work ended (an error message for
// the user, or cancelled). Finished comes on the job's own thread once the worker is
// done. A job starts its work in its constructor; being destroyed, it asks the work to
// stop and waits for the thread. A job's own destructor does that first (StopAndWait),
// so that the worker never outlives what the job keeps for it.

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include <QObject>
#include <QString>

class QThread;

namespace vellmar {

class TWorkerJob : public QObject {
  Q_OBJECT

 public:
  ~TWorkerJob() override;

  // Safe to read while the work runs.
  std::int64_t Done() const { return done_.load(std::memory_order_relaxed); }
  std::int64_t Total() const { return total_.load(std::memory_order_relaxed); }
  // Asks the work to stop at its next check; Finished still comes.
  void Cancel() { stop_ = true; }
  // After Finished: empty unless the work failed.
  const QString& Error() const { return error_; }

 signals:
  // On the thread the job belongs to, once the worker is done.
  void Finished();

 protected:
  explicit TWorkerJob(QObject* parent);

  // Runs work on a new low-priority thread. A raised ECancelled ends it as cancelled,
  // any other error with its message.
  template <typename ECancelled>
  void Start(std::function<void()> work) {
    StartThread([this, work = std::move(work)] {
      try {
        work();
      } catch (const ECancelled&) {
        cancelled_ = true;
      } catch (const std::exception& error) {
        Fail(error);
      }
    });
  }
  void StopAndWait();

  // For the work: a load or print control (Stop, Progress) bound to this job's stop
  // request and counts.
  template <typename TControl>
  TControl Control() {
    TControl control;
    control.Stop = &stop_;
    control.Progress = [this](std::int64_t done, std::int64_t total) {
      total_.store(total, std::memory_order_relaxed);
      done_.store(done, std::memory_order_relaxed);
    };
    return control;
  }
  // Whether the work was asked to stop.
  bool StopRequested() const { return stop_; }
  // After Finished: the work raised its cancellation.
  bool EndedCancelled() const { return cancelled_; }

 private:
  void StartThread(std::function<void()> run);
  void Fail(const std::exception& error);

  std::atomic<bool> stop_ = false;
  std::atomic<std::int64_t> done_ = 0;
  std::atomic<std::int64_t> total_ = 0;
  // Written by the worker, read only after it has finished.
  bool cancelled_ = false;
  QString error_;
  std::unique_ptr<QThread> thread_;
};

}  // namespace vellmar
