#pragma once
// The renderer of the screen: the base frame inside the device's scene bracket.

#include "render/DxRenderer.h"

namespace vellmar {

class TDisplayRenderer final : public TdxRenderer {
 public:
  using TdxRenderer::TdxRenderer;

  // BeginScene, then the base frame start; a failed BeginScene raises EVellmarError.
  void BeginFrame() override;
  // The base frame end, then EndScene; a failed EndScene raises EVellmarError.
  void EndFrame() override;
};

}  // namespace vellmar
