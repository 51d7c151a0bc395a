#pragma once
// The street files waiting to be read and the one being read, one at a time on a worker
// thread, and the panel that shows the bytes read with a button that cancels the reading
// and whatever waits behind it. What becomes of a street read is up to whoever asked for
// it; a file that cannot be read is reported and nothing else changes. The opener owns
// the jobs; the panel belongs to the window it is placed in.

#include <deque>
#include <functional>
#include <memory>

#include <QObject>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QToolButton;
class QWidget;

namespace vellmar {

class IShellPrompts;
class TStreetLoadJob;
class TStreetStructure;

class TStreetOpener final : public QObject {
  Q_OBJECT

 public:
  // Receives the street read from the file, on the window's thread.
  using TArrival = std::function<void(const QString& fileName, std::unique_ptr<TStreetStructure> street)>;

  TStreetOpener(IShellPrompts& prompts, QWidget* panelParent);
  // Stops the load in progress and waits for its thread; nothing arrives any more.
  ~TStreetOpener() override;

  // FileName: absolute. A file already waiting or being read is not read twice.
  void Enqueue(const QString& fileName, TArrival arrival);
  bool Busy() const { return job_ != nullptr; }
  bool Pending(const QString& fileName) const;
  // Cancels the load in progress and drops the files waiting.
  void CancelAll();

  QWidget& Panel() { return *panel_; }
  QProgressBar& ProgressBar() { return *bar_; }
  QToolButton& CancelButton() { return *cancel_; }

 signals:
  // Every file asked for has arrived, failed or been cancelled.
  void Idle();

 private:
  struct TRequest {
    QString FileName;
    TArrival Arrival;
  };
  void StartNext();
  void JobFinished();
  void ShowProgress();

  IShellPrompts& prompts_;
  std::deque<TRequest> waiting_;
  TRequest current_;
  std::unique_ptr<TStreetLoadJob> job_;
  QWidget* panel_ = nullptr;
  QLabel* label_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QToolButton* cancel_ = nullptr;
  QTimer progressTimer_;
};

}  // namespace vellmar
