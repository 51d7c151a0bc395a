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

TDrawnFrames DrawTwoFrames(TStreetStructure& street) {
  RecordingDevice* device = nullptr;
  TdxRenderer renderer(
      kPanelWidth, kPanelHeight,
      [&device](std::unique_ptr<IGpuDevice>& made) {
        auto recording = std::make_unique<RecordingDevice>(kPanelWidth, kPanelHeight);
        device = recording.get();
        made = std::move(recording);
        return D3D_OK;
      },
      nullptr);
  TViewState view = FitStreetView(street);
  DrawFrame(renderer, street, view);
  view.Centre.x += 0.25f / view.Scale;
  view.Rotation += 0.5f;
  view.Scale *= 4.0f;
  DrawFrame(renderer, street, view);
  TDrawnFrames drawn;
  if (device == nullptr) return drawn;
  for (const TGpuCall& call : device->Calls()) {
    if (!call.Text.starts_with("DrawPrimitive")) continue;
    drawn.Draws.push_back(call.Text);
    drawn.Vertices.insert(drawn.Vertices.end(), call.Vertices.begin(), call.Vertices.end());
  }
  return drawn;
}

}  // namespace vellmar
