#pragma once
// A display renderer on a recording device, inside a begun frame, for the tests that
// check which draw calls an operation makes.

#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DisplayRenderer.h"

namespace vellmar::test {

struct TRecordedFrame {
  RecordingDevice* Device = nullptr;
  std::unique_ptr<TDisplayRenderer> Renderer;

  explicit TRecordedFrame(int32_t Width = 100, int32_t Height = 100) {
    Renderer = std::make_unique<TDisplayRenderer>(
        Width, Height,
        [this, Width, Height](std::unique_ptr<IGpuDevice>& device) {
          auto recording = std::make_unique<RecordingDevice>(Width, Height);
          Device = recording.get();
          device = std::move(recording);
          return D3D_OK;
        },
        [](const std::string&) {});
    Renderer->BeginFrame();
    Device->ClearCalls();
  }

  // The draw calls recorded so far (from memory or from vertex buffers), in order.
  std::vector<const TGpuCall*> Draws() const {
    std::vector<const TGpuCall*> draws;
    for (const TGpuCall& call : Device->Calls())
      if (call.Text.starts_with("DrawPrimitive")) draws.push_back(&call);
    return draws;
  }
};

}  // namespace vellmar::test
