// The viewer taking a picture of a street: the real program for what its run leaves
// behind (exit code, messages, the settings file), the window in this process for when
// the picture is taken.

#include <fstream>
#include <optional>
#include <sstream>

#include <QLabel>
#include <QProcess>
#include <QStatusBar>

#include "shell/window/ScreenshotRun.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {

namespace {

struct TViewerRun {
  int Code = -1;
  QString Errors;
};

// The viewer program with its settings under config (its own ini file there).
TViewerRun RunViewer(const QStringList& arguments, const std::filesystem::path& config) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(config));
  // Under the sanitizers the program's exit code is what is tested, not the GL driver's
  // blocks left at exit (which this test program keeps loaded to name them).
  QStringList sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
  sanitizer << QStringLiteral("detect_leaks=0");
  environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer.join(QLatin1Char(':')));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VELLMAR_VIEWER_PROGRAM), arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardError())};
}

std::string Bytes(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

}  // namespace

// Every picture run wrote the window's position, its panels and the recent files over
// the user's settings.
TEST_F(ShellTest, APictureLeavesTheSettingsFileAsItWas) {
  const std::filesystem::path ini = dir_ / "config" / "vellmar" / "vellmar.ini";
  std::filesystem::create_directories(ini.parent_path());
  std::ofstream(ini, std::ios::binary) << "[MainForm]\nPos\\Left=7\nPos\\Top=9\nPos\\Width=900\nPos\\Height=700\n";
  const std::string before = Bytes(ini);
  const std::filesystem::path picture = dir_ / "shot.png";
  const TViewerRun run = RunViewer({"--screenshot", Q(picture), DemoCopy("a.pln")}, dir_ / "config");
  EXPECT_EQ(run.Code, 0) << run.Errors.toStdString();
  EXPECT_TRUE(std::filesystem::exists(picture));
  EXPECT_EQ(Bytes(ini), before);
}

// A file that could not be read gave a picture of an empty street and exit code 0.
TEST_F(ShellTest, APictureOfAFileThatCannotBeReadFailsWithTheMessageOnStandardError) {
  const std::filesystem::path damaged = dir_ / "damaged.pln";
  std::ofstream(damaged, std::ios::binary) << "TAGSSIZE\x08\x00\x00\x00STREET  garbage";
  struct TCase {
    const char* What;
    std::filesystem::path File;
  };
  for (const TCase& c : {TCase{"damaged", damaged}, TCase{"missing", dir_ / "missing.pln"}}) {
    const std::filesystem::path picture = dir_ / "shot.png";
    const TViewerRun run = RunViewer({"--screenshot", Q(picture), Q(c.File)}, dir_ / "config");
    EXPECT_EQ(run.Code, 1) << c.What << ": " << run.Errors.toStdString();
    EXPECT_TRUE(run.Errors.contains(Q(c.File.filename()))) << c.What << ": " << run.Errors.toStdString();
    EXPECT_FALSE(std::filesystem::exists(picture)) << c.What;
  }
}

// The picture was taken at the first poll that found nothing to draw, sometimes before
// the status line had made room for a longer scale ("1:324" for "1:3242").
TEST_F(ShellTest, ThePictureWaitsForTheLastFrameAndTheStatusLineToFitItsTexts) {
  form_->OpenFilesInBackground({DemoCopy("a.pln")});
  std::optional<int> code;
  bool redrawPending = true;
  QStringList clipped;
  // From 1:30 or so to some 1:3,000,000: the scale's label needs more room.
  const std::vector<TScreenshotStep> steps = {{TScreenshotStep::kView, {}, {0, 0}, 10},
                                              {TScreenshotStep::kView, {}, {0, 0}, 1e6}};
  new TScreenshotRun(*form_, Q(dir_ / "shot.png"), {}, steps, [&](int result) {
    code = result;
    redrawPending = form_->NeedsRedraw();
    for (const QLabel* label : form_->statusBar()->findChildren<QLabel*>()) {
      if (label->isVisible() && label->width() < label->sizeHint().width()) clipped << label->text();
    }
  });
  ASSERT_SOON(code.has_value(), 60000);
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(clipped.isEmpty()) << clipped.join("|").toStdString();
  EXPECT_FALSE(redrawPending);
}

}  // namespace vellmar::test
