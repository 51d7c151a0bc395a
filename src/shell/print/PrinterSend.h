#pragma once
// A PDF handed to the print system's queue (`lp -d PRINTER -n COPIES FILE`) without
// holding up the window: lp runs as a child process and Ended tells once how it went.
// The scratch folder holding the PDF lives until lp has ended, so the queue always finds
// the file. A queue that has not answered within a minute is given up: lp is stopped.

#include <memory>

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

class QTemporaryDir;

namespace vellmar {

class TPrinterSend final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTimeoutMs = 60000;

  // Starts lp at once with Pdf, a file in Scratch.
  TPrinterSend(std::unique_ptr<QTemporaryDir> scratch, const QString& pdf, const QString& printer, int copies,
               QObject* parent = nullptr);
  // A send still running is waited for (at most the rest of its minute) rather than
  // killed, so that closing the window does not lose the page.
  ~TPrinterSend() override;

 signals:
  // Sent: the queue took the page. Otherwise Detail says why: what lp wrote to its error
  // output, or why it could not run.
  void Ended(bool sent, const QString& detail);

 private:
  void Finish();

  std::unique_ptr<QTemporaryDir> scratch_;
  QProcess process_;
  QTimer timeout_;
  bool ended_ = false;
};

}  // namespace vellmar
