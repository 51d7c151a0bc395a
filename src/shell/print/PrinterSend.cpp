#include "shell/print/PrinterSend.h"

#include <QTemporaryDir>

#include <algorithm>

namespace vellmar {

TPrinterSend::TPrinterSend(std::unique_ptr<QTemporaryDir> scratch, const QString& pdf, const QString& printer,
                           int copies, QObject* parent)
    : QObject(parent), scratch_(std::move(scratch)) {
  connect(&process_, &QProcess::finished, this, &TPrinterSend::Finish);
  // A program that cannot start never finishes; one that crashed or was stopped
  // finishes as well, and Finish tells it apart by its exit.
  connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) Finish();
  });
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, &process_, &QProcess::kill);
  timeout_.start(kTimeoutMs);
  process_.start(QStringLiteral("lp"), {QStringLiteral("-d"), printer, QStringLiteral("-n"),
                                        QString::number(copies), pdf});
}

TPrinterSend::~TPrinterSend() {
  if (ended_ || process_.state() == QProcess::NotRunning) return;
  // The signals would reach a half-destroyed object.
  process_.disconnect(this);
  process_.waitForFinished(std::max(timeout_.remainingTime(), 0));
}

void TPrinterSend::Finish() {
  if (ended_) return;
  ended_ = true;
  timeout_.stop();
  const bool sent = process_.error() == QProcess::UnknownError && process_.exitStatus() == QProcess::NormalExit &&
                    process_.exitCode() == 0;
  QString detail;
  if (!sent) {
    detail = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
    if (detail.isEmpty()) detail = process_.errorString();
  }
  scratch_.reset();
  emit Ended(sent, detail);
}

}  // namespace vellmar
