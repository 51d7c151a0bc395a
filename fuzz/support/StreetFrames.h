#pragma once
// Draws a street as the viewer would, through a recording device: the whole street
// fitted into the panel, then a second frame with the view moved, turned and zoomed,
// so that both the first build of every kind and a frame after a view change run.
// Shared by the draw fuzz target and the random-street test.

#include <string>
#include <vector>

#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TStreetStructure;

// What the two frames drew: each draw call as the device recorded it, and its vertices.
struct TDrawnFrames {
  std::vector<std::string> Draws;
  std::vector<TDxVertex> Vertices;
};

TDrawnFrames DrawTwoFrames(TStreetStructure& street);

}  // namespace vellmar
