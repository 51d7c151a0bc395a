#pragma once
// A renderer on a recording device that keeps no record: what the benchmarks draw
// through when they measure our own path without a GPU.

#include <memory>
#include <utility>

#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxRenderer.h"

namespace vellmar {

inline std::unique_ptr<TdxRenderer> MakeRecordingRenderer() {
  return std::make_unique<TdxRenderer>(
      1000, 1000,
      [](std::unique_ptr<IGpuDevice>& device) {
        auto recording = std::make_unique<RecordingDevice>(1000, 1000);
        recording->SetRecordVertices(false);
        recording->SetRecording(false);
        device = std::move(recording);
        return D3D_OK;
      },
      nullptr);
}

}  // namespace vellmar
