#include "shell/print/PrinterSend.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <optional>

#include "WaitSoon.h"

namespace vellmar {
namespace {

// A print queue of our own on PATH: an lp that writes down its arguments, takes its time
// and then does as the test says.
class PrinterSendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bin_.isValid());
    oldPath_ = qgetenv("PATH");
    qputenv("PATH", bin_.path().toLocal8Bit() + ":" + oldPath_);
  }
  void TearDown() override { qputenv("PATH", oldPath_); }

  void WriteLp(const QByteArray& ending) {
    QFile lp(bin_.filePath(QStringLiteral("lp")));
    ASSERT_TRUE(lp.open(QIODevice::WriteOnly));
    lp.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\nsleep 0.3\n" + ending);
    lp.close();
    lp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QString Args() const {
    QFile args(bin_.filePath(QStringLiteral("args")));
    return args.open(QIODevice::ReadOnly) ? QString::fromUtf8(args.readAll()) : QString();
  }

  struct TOutcome {
    bool Sent = false;
    QString Detail;
  };

  // Sends a scratch PDF and waits for the outcome, counting the timer ticks the window's
  // event loop ran meanwhile; tells whether the scratch folder is gone by then.
  std::optional<TOutcome> Send(int& ticks, bool& scratchGone) {
    auto scratch = std::make_unique<QTemporaryDir>();
    const QString folder = scratch->path();
    const QString pdf = scratch->filePath(QStringLiteral("page.pdf"));
    if (QFile file(pdf); !file.open(QIODevice::WriteOnly)) return std::nullopt;
    std::optional<TOutcome> outcome;
    TPrinterSend send(std::move(scratch), pdf, QStringLiteral("Office A3"), 2);
    QObject::connect(&send, &TPrinterSend::Ended,
                     [&](bool sent, const QString& detail) { outcome = TOutcome{sent, detail}; });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 10000)) return std::nullopt;
    scratchGone = !QDir(folder).exists();
    return outcome;
  }

  QTemporaryDir bin_;
  QByteArray oldPath_;
};

TEST_F(PrinterSendTest, TheQueueTakesThePageWhileTheWindowGoesOn) {
  WriteLp("exit 0\n");
  int ticks = 0;
  bool scratchGone = false;
  const std::optional<TOutcome> outcome = Send(ticks, scratchGone);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->Sent);
  EXPECT_TRUE(outcome->Detail.isEmpty());
  EXPECT_TRUE(Args().startsWith(QStringLiteral("-d\nOffice A3\n-n\n2\n"))) << Args().toStdString();
  EXPECT_TRUE(Args().trimmed().endsWith(QStringLiteral("/page.pdf"))) << Args().toStdString();
  // lp took 0.3 s; the event loop ran all along instead of waiting for it.
  EXPECT_GE(ticks, 5);
  EXPECT_TRUE(scratchGone);
}

// What lp does, or nothing for no lp anywhere on PATH; the detail expected, or empty
// for any text.
TEST_F(PrinterSendTest, AFailedSendTellsWhatTheQueueSaid) {
  for (const auto& [ending, expected] :
       {std::pair{QByteArray("echo 'lp: The printer or class does not exist.' >&2\nexit 1\n"),
                  QStringLiteral("lp: The printer or class does not exist.")},
        {QByteArray("kill -9 $$\n"), QString()},
        {QByteArray(), QString()}}) {
    if (ending.isEmpty())
      qputenv("PATH", bin_.path().toLocal8Bit());  // a folder without lp
    else
      WriteLp(ending);
    int ticks = 0;
    bool scratchGone = false;
    const std::optional<TOutcome> outcome = Send(ticks, scratchGone);
    ASSERT_TRUE(outcome.has_value()) << ending.toStdString();
    EXPECT_FALSE(outcome->Sent) << ending.toStdString();
    if (!expected.isEmpty()) {
      EXPECT_EQ(outcome->Detail, expected);
    }
    EXPECT_FALSE(outcome->Detail.isEmpty()) << ending.toStdString();
    EXPECT_TRUE(scratchGone);
  }
}

}  // namespace
}  // namespace vellmar
