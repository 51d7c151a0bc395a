#include "StreetFrames.h"

#include <memory>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

constexpr int kPanelWidth = 320;
constexpr int kPanelHeight = 200;
constexpr TModeSet kPlanModes = 1u << 0;

void DrawFrame(TdxRenderer& renderer, TStreetStructure& street, const TViewState& view) {
  renderer.BeginFrame();
  renderer.ResetMatrices();
  SetupViewMatrices(renderer, view);
  street.Draw(ViewDrawParams(renderer, view), TKindRegistry::AllKinds(), kPlanModes);
  renderer.EndFrame();
}

}  // namespace

void DrawTwoFrames(TStreetStructure& street) {
  TdxRenderer renderer(
      kPanelWidth, kPanelHeight,
      [](std::unique_ptr<IGpuDevice>& made) {
        made = std::make_unique<RecordingDevice>(kPanelWidth, kPanelHeight);
        return D3D_OK;
      },
      nullptr);
  TViewState view = FitStreetView(street);
  DrawFrame(renderer, street, view);
  view.Centre.x += 0.25f / view.Scale;
  view.Rotation += 0.5f;
  view.Scale *= 4.0f;
  DrawFrame(renderer, street, view);
}

}  // namespace vellmar
