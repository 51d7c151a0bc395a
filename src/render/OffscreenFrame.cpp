#include "render/OffscreenFrame.h"

#include <cstring>
#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/gpu/gl/GlDevice.h"
#include "platform/gpu/headless/HeadlessGlContext.h"
#include "render/DisplayRenderer.h"

namespace vellmar {

TOffscreenFrame RenderOffscreenFrame(uint32_t Width, uint32_t Height,
                                     const std::function<void(TdxRenderer&)>& Draw, bool KeepsVertices) {
  HeadlessGlContext context(Width, Height);
  HeadlessGlContext::TCurrent current(context);
  std::string failure;
  TOffscreenFrame frame{Width, Height, {}};
  {
    TDisplayRenderer renderer(
        static_cast<int32_t>(Width), static_cast<int32_t>(Height),
        [&](std::unique_ptr<IGpuDevice>& device) { return GlDevice::Create(Width, Height, device); },
        [&](const std::string& message) { failure = message; });
    if (!renderer.HasDevice()) throw EVellmarError("RenderOffscreenFrame: " + failure);
    renderer.SetKeepsVertices(KeepsVertices);
    constexpr uint32_t white = MakeColor(255, 255, 255, 255);
    renderer.BeginFrame();
    renderer.SetAmbientColor(white);
    renderer.ClearTarget(white, true, true, true);
    renderer.ResetMatrices();
    Draw(renderer);
    renderer.EndFrame();
    renderer.PresentFrame();
    frame.Pixels = current.ReadPixels();
  }
  return frame;
}

TBitmap TOffscreenFrame::ToBitmap() const {
  TBitmap bitmap(static_cast<int32_t>(Width), static_cast<int32_t>(Height), TPixelFormat::pf32bit);
  for (uint32_t row = 0; row < Height; ++row)
    std::memcpy(bitmap.ScanLine(static_cast<int32_t>(row)), &Pixels[size_t{row} * Width], size_t{Width} * 4);
  return bitmap;
}

void RenderOffscreenPng(uint32_t Width, uint32_t Height, const std::function<void(TdxRenderer&)>& Draw,
                        const std::filesystem::path& Path, bool KeepsVertices) {
  RenderOffscreenFrame(Width, Height, Draw, KeepsVertices).ToBitmap().SaveToPngFile(Path, TPngAlpha::Opaque);
}

}  // namespace vellmar
