#pragma once
// One street file read on a worker thread: the street is built there, its plain kinds'
// primitives too, and handed over whole once the thread has finished, so the window
// never waits for the disk. The job
// owns the thread and, until it is taken, the street; destroying a running job stops the
// load and waits for the thread.

#include <atomic>
#include <cstdint>
#include <memory>

#include <QObject>
#include <QString>

class QThread;

namespace vellmar {

class TStreetStructure;

class TStreetLoadJob final : public QObject {
  Q_OBJECT

 public:
  // FileName: absolute; the load starts at once.
  explicit TStreetLoadJob(const QString& fileName, QObject* parent = nullptr);
  ~TStreetLoadJob() override;

  const QString& FileName() const { return fileName_; }
  // Safe to read while the load runs.
  std::int64_t BytesRead() const { return read_.load(std::memory_order_relaxed); }
  std::int64_t TotalBytes() const { return total_.load(std::memory_order_relaxed); }
  // Asks the loader to stop at its next read; Finished still comes.
  void Cancel() { stop_ = true; }

  // After Finished: exactly one of the street, a cancellation or an error message. A
  // cancel that came after the last byte was read still cancels: the street is dropped.
  bool Cancelled() const { return cancelled_ || stop_; }
  const QString& Error() const { return error_; }
  std::unique_ptr<TStreetStructure> TakeStreet();

 signals:
  // On the thread the job belongs to, once the worker is done.
  void Finished();

 private:
  void Load();

  QString fileName_;
  std::atomic<bool> stop_ = false;
  std::atomic<std::int64_t> read_ = 0;
  std::atomic<std::int64_t> total_ = 0;
  // Written by the worker, read only after it has finished.
  std::unique_ptr<TStreetStructure> street_;
  bool cancelled_ = false;
  QString error_;
  std::unique_ptr<QThread> thread_;
};

}  // namespace vellmar
