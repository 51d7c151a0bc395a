#pragma once
// What the tile and underlay-item tests share. An underlay file: a strip of 2048 × 256
// pixels, so level n has 8/n tiles in one row, each showing 256·n × 256·n pixels of the
// picture. Few tiles keep it quick to build; it is built once per test program.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/recording/RecordingDevice.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"

namespace vellmar::test {

inline constexpr int kPyramidWidth = 2048;
inline constexpr int kPyramidHeight = 256;

const std::vector<uint8_t>& PyramidBytes();

// The bytes with the tile table entry of (level, column) in row 0 pointing past the end
// of the file, so that decoding that tile fails.
std::vector<uint8_t> PyramidWithDamagedTile(int level, int column);

// A recording renderer of 200 × 100 pixels looking at the strip's centre from above,
// with draw parameters for it; the radius takes in the whole strip.
struct TView {
  RecordingDevice* Device = nullptr;
  std::unique_ptr<TdxRenderer> Renderer;
  TDxDrawParams Params;

  TView();
  // A plan view in which one pixel is `pixel` world units.
  void Zoom(double pixel);
};

}  // namespace vellmar::test
