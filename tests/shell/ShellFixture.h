#pragma once
// The real main window on the virtual display, with prompts that answer from a script
// and record what they were told.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <filesystem>
#include <memory>

#include <QSettings>
#include <QStringList>
#include <QTest>

#include "document/ViewState.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/window/MainForm.h"
#include "support/TestSupport.h"

namespace vellmar::test {

class TScriptedPrompts final : public IShellPrompts {
 public:
  QStringList Messages;
  std::deque<TAnswer> Answers;  // Cancel when the script has run out
  QStringList Questions;
  QStringList FilesToChoose;
  QString StartedOn;  // the file the open dialog started on
  QString SaveName;

  std::function<void()> WhileShowing;  // runs while a message is "on the screen"
  int Depth = 0;
  int DeepestNesting = 0;

  void ShowMessage(const QString& text) override {
    Messages << text;
    DeepestNesting = std::max(DeepestNesting, ++Depth);
    if (WhileShowing) WhileShowing();
    --Depth;
  }
  // Errors go with the messages, in order; their details are kept beside them.
  QStringList Details;
  void ShowError(const QString& text, const QString& details) override {
    Details << details;
    ShowMessage(text);
  }
  TAnswer AskYesNoCancel(const QString& text) override {
    Questions << text;
    if (Answers.empty()) return TAnswer::Cancel;
    const TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  QStringList ChooseStreetFiles(const QString& initial) override {
    StartedOn = initial;
    return FilesToChoose;
  }
  QString ChooseSaveName(const QString&) override { return SaveName; }
  QString ChooseDirectory(const QString& caption, const QString&) override {
    Questions << caption;
    return DirectoryToChoose;
  }
  QString DirectoryToChoose;
  QStringList DirectoriesEdited;
  bool EditDataDirectories(const QString& purpose) override {
    DirectoriesEdited << purpose;
    return true;
  }
};

// Empties the settings file.
inline void ClearSettings() {
  QSettings settings(QSettings::IniFormat, QSettings::UserScope, ProgramKeyName(), ProgramKeyName());
  settings.clear();
  settings.sync();
}

inline QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    MakeForm();
  }
  void TearDown() override { form_.reset(); }

  // Sized to 800 × 600 unless the test looks at the stored position.
  void MakeForm(bool resize = true) {
    form_.reset();
    auto prompts = std::make_unique<TScriptedPrompts>();
    prompts_ = prompts.get();
    form_ = std::make_unique<TMainForm>(std::move(prompts));
    if (resize) form_->resize(800, 600);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    if (resize) {
      // The plan's middle on a whole pixel, whatever the bars above and below it take:
      // tests point at world points through it.
      const QSize odd(form_->Surface().width() % 2, form_->Surface().height() % 2);
      if (!odd.isNull()) {
        form_->resize(QSize(800, 600) + odd);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form_->Surface().width() % 2 == 0 && form_->Surface().height() % 2 == 0; }, 3000));
      }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->FrameCount() > 0 && !form_->NeedsRedraw(); }, 5000));
  }

  // Lets the redraw timer draw whatever is pending.
  void Settle() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->NeedsRedraw(); }, 2000));
    QTest::qWait(30);
  }

  // Until every file asked for in the background has arrived or failed.
  void WaitForOpening() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form_->Opener().Busy(); }, 60000));
  }

  // A copy of the demo street in the scratch directory.
  QString DemoCopy(const std::string& name) {
    const std::filesystem::path path = dir_ / name;
    std::filesystem::copy_file(VELLMAR_DEMO_STREET, path, std::filesystem::copy_options::overwrite_existing);
    return Q(path);
  }

  TStreetsHolderModule& Streets() { return form_->Streets(); }
  TMainPlanDrawer& Drawer() { return form_->Drawer(); }

  // The surface's logical pixel over a world point, the view unturned.
  QPoint PixelOver(double x, double y) {
    const double ppu = Drawer().PixelsPerUnit();
    const TXYZ c = Drawer().Centre();
    const double ratio = form_->Surface().devicePixelRatioF();
    const double px = Drawer().ViewportWidth() / 2.0 + (x - c.x) * ppu;
    const double py = Drawer().ViewportHeight() / 2.0 - (y - c.y) * ppu;
    return {static_cast<int>(std::lround(px / ratio)), static_cast<int>(std::lround(py / ratio))};
  }

  // A known view: origin, scale 0.01, no rotation.
  void SetPlainView() { Drawer().SetView({{0.0f, 0.0f, 0.0f}, 0.01f, 0.0f}); }

  TempDir dir_;
  TScriptedPrompts* prompts_ = nullptr;
  std::unique_ptr<TMainForm> form_;
};

}  // namespace vellmar::test
