// The tools over the plan made with a small stand-in for the plan window instead of the
// main window: they need nothing else of it, and they leave no hook behind when they go.

#include <QMainWindow>
#include <QStatusBar>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "document/StreetStructure.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/plan/PlanWindow.h"
#include "shell/tools/GoToStation.h"
#include "shell/tools/IdentifyTool.h"
#include "shell/tools/LayersPanel.h"
#include "shell/tools/MainPlanControls.h"
#include "shell/tools/MeasureTool.h"
#include "shell/tools/PlanStatusBar.h"
#include "shell/tools/ViewBookmarkActions.h"
#include "shell/tools/ViewHistoryActions.h"
#include "ShellFixture.h"

namespace vellmar::test {
namespace {

class TStandInPlanWindow final : public QMainWindow, public IPlanWindow {
 public:
  TStandInPlanWindow()
      : streets_(prompts_),
        drawer_(streets_, []() -> TdxRenderer* { return nullptr; }),
        surface_(new TPlanSurface(this)) {
    setCentralWidget(surface_);
  }

  QMainWindow& Window() override { return *this; }
  TStreetsHolderModule& Streets() override { return streets_; }
  TMainPlanDrawer& Drawer() override { return drawer_; }
  TPlanSurface& Surface() override { return *surface_; }
  TFloatingActions& FloatingActions() override { return actions_; }
  QStatusBar& StatusLine() override { return *statusBar(); }

  void PlanChanged() override {
    ++Changes;
    for (auto& [id, hook] : changeHooks_) hook();
  }
  void PlanChangedPromptly() override { PlanChanged(); }
  int AddDrawHook(TDrawHook hook) override {
    drawHooks_.emplace(++lastHook_, std::move(hook));
    return lastHook_;
  }
  void RemoveDrawHook(int id) override { drawHooks_.erase(id); }
  int AddChangeHook(std::function<void()> hook) override {
    changeHooks_.emplace(++lastHook_, std::move(hook));
    return lastHook_;
  }
  void RemoveChangeHook(int id) override { changeHooks_.erase(id); }
  void SetMouseMode(TMouseEvents* mode) override { mode_ = mode; }
  TMouseEvents* MouseMode() const override { return mode_; }
  const TKindSet& VisibleLayers() const override { return visible_; }
  void SetVisibleLayers(const TKindSet& layers) override { visible_ = layers; }
  void AddToolButton(QAction* action) override { addAction(action); }

  int Hooks() const { return static_cast<int>(drawHooks_.size() + changeHooks_.size()); }
  int Changes = 0;

 private:
  TScriptedPrompts prompts_;
  TStreetsHolderModule streets_;
  TMainPlanDrawer drawer_;
  TPlanSurface* surface_;
  TFloatingActions actions_;
  std::map<int, TDrawHook> drawHooks_;
  std::map<int, std::function<void()>> changeHooks_;
  int lastHook_ = 0;
  TMouseEvents* mode_ = nullptr;
  TKindSet visible_;
};

class PlanWindowStandInTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    window_ = std::make_unique<TStandInPlanWindow>();
  }
  std::unique_ptr<TStandInPlanWindow> window_;
};

TEST_F(PlanWindowStandInTest, EveryToolUnhooksItselfWhenItGoes) {
  using TMake = std::function<std::shared_ptr<void>(IPlanWindow&)>;
  struct TCase {
    std::string Name;
    TMake Make;
    bool Hooks;  // whether the tool follows changes or draws while it lives
  };
  const TCase cases[] = {
      {"status bar", [](IPlanWindow& w) { return std::make_shared<TPlanStatusBar>(w); }, true},
      {"layers", [](IPlanWindow& w) { return std::make_shared<TLayersPanel>(w); }, true},
      {"history", [](IPlanWindow& w) { return std::make_shared<TViewHistoryActions>(w); }, true},
      {"bookmarks", [](IPlanWindow& w) { return std::make_shared<TViewBookmarkActions>(w); }, true},
      {"identify", [](IPlanWindow& w) { return std::make_shared<TIdentifyTool>(w); }, true},
      {"measure", [](IPlanWindow& w) { return std::make_shared<TMeasureTool>(w); }, true},
      {"go to station", [](IPlanWindow& w) { return std::make_shared<TGoToStation>(w); }, false},
      {"view actions",
       [](IPlanWindow& w) { return std::make_shared<TMainPlanControls>(w, w.FloatingActions(), 1.0); }, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::shared_ptr<void> tool = c.Make(*window_);
    EXPECT_EQ(window_->Hooks() > 0, c.Hooks);
    // A change reaches the tool through its hook without the main window.
    window_->PlanChanged();
    tool.reset();
    EXPECT_EQ(window_->Hooks(), 0);
    window_->PlanChanged();
  }
}

TEST_F(PlanWindowStandInTest, GoToStationMovesTheStandInsViewAndAsksForOneRedraw) {
  window_->Streets().OpenFile(QStringLiteral(VELLMAR_DEMO_STREET));
  TGoToStation goTo(*window_);
  TMainPlanDrawer& drawer = window_->Drawer();
  drawer.SetView({{10, 20, 0}, 0.05f, 1.0f});

  EXPECT_FALSE(goTo.GoTo(QStringLiteral("не пикет")).isEmpty());
  EXPECT_EQ(window_->Changes, 0);
  EXPECT_FLOAT_EQ(drawer.Centre().x, 10.0f);

  EXPECT_TRUE(goTo.GoTo(QStringLiteral("1+00")).isEmpty());
  EXPECT_EQ(window_->Changes, 1);
  // The demo's axis runs east along y = 0.
  EXPECT_NEAR(drawer.Centre().x, 100.0, 1e-3);
  EXPECT_NEAR(drawer.Centre().y, 0.0, 1e-3);
  EXPECT_NEAR(std::remainder(drawer.Rotation(), 2 * 3.14159265358979), 0.0, 1e-4);
}

TEST_F(PlanWindowStandInTest, GoToStationOnAStreetWithoutAxisLeavesTheViewAlone) {
  TGoToStation goTo(*window_);
  const TViewState before = window_->Drawer().View();
  EXPECT_FALSE(goTo.GoTo(QStringLiteral("1+00")).isEmpty());
  EXPECT_EQ(window_->Changes, 0);
  EXPECT_FLOAT_EQ(window_->Drawer().View().Centre.x, before.Centre.x);
}

}  // namespace
}  // namespace vellmar::test
