#include "render/DisplayRenderer.h"

namespace vellmar {

void TDisplayRenderer::BeginFrame() {
  if (Device()) CheckResult(Device()->BeginScene(), "TDisplayRenderer.BeginFrame", "BeginScene");
  TdxRenderer::BeginFrame();
}

void TDisplayRenderer::EndFrame() {
  TdxRenderer::EndFrame();
  if (Device()) CheckResult(Device()->EndScene(), "TDisplayRenderer.EndFrame", "EndScene");
}

}  // namespace vellmar
