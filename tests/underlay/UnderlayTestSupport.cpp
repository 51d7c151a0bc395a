#include "UnderlayTestSupport.h"

#include "platform/MemoryStream.h"
#include "underlay/SubLayerWriter.h"

namespace vellmar::test {

namespace {

int64_t GetInt64(const std::vector<uint8_t>& bytes, size_t at) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= uint64_t{bytes[at + i]} << (8 * i);
  return static_cast<int64_t>(value);
}

}  // namespace

const std::vector<uint8_t>& PyramidBytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> bgr(static_cast<size_t>(kPyramidWidth) * kPyramidHeight * 3);
    for (size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<uint8_t>(i / 3 % 251);
    TMemoryStream stream;
    TSubLayerWriter({bgr.data(), kPyramidWidth * 3, kPyramidWidth, kPyramidHeight}).Write(stream);
    return stream.TakeBytes();
  }();
  return bytes;
}

std::vector<uint8_t> PyramidWithDamagedTile(int level, int column) {
  std::vector<uint8_t> bytes = PyramidBytes();
  int levelIndex = 0;
  while ((1 << levelIndex) < level) ++levelIndex;
  // Header descriptors are 24 bytes, the table offset first.
  const size_t entry = static_cast<size_t>(GetInt64(bytes, levelIndex * 24)) + column * 8;
  const uint64_t pastTheEnd = bytes.size() + 1000;
  for (int i = 0; i < 8; ++i) bytes[entry + i] = static_cast<uint8_t>(pastTheEnd >> (8 * i));
  return bytes;
}

namespace {
constexpr int kPanelWidth = 200;
constexpr int kPanelHeight = 100;
}  // namespace

TView::TView() {
  Renderer = std::make_unique<TdxRenderer>(
      kPanelWidth, kPanelHeight,
      [this](std::unique_ptr<IGpuDevice>& made) {
        auto recording = std::make_unique<RecordingDevice>(kPanelWidth, kPanelHeight);
        Device = recording.get();
        made = std::move(recording);
        return D3D_OK;
      },
      nullptr);
  Params.Renderer = Renderer.get();
  Params.Centre = {kPyramidWidth / 2, kPyramidHeight / 2, 0};
  Params.Radius = 1e6f;
}

void TView::Zoom(double pixel) {
  const double scale = 2.0 / (kPanelWidth * pixel);
  Renderer->ResetMatrices();
  Renderer->World().Translate(true, -Params.Centre.x, -Params.Centre.y, 0);
  Renderer->World().Scale(true, scale, scale * kPanelWidth / kPanelHeight, 1);
}

}  // namespace vellmar::test
