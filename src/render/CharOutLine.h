#pragma once
// One character of a vector font: its outlines in font pixels (y up, pen on the
// baseline at the origin), the fill triangles and outline segments made from them
// once when the font is built, and the vertex arrays handed to the device, made on the
// character's first draw. Owned by its font.

#include <cstdint>
#include <vector>

#include "geometry/XYZ.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

struct TCharOutLine {
  TXYZArrays Contours;       // closed, the first point not repeated
  TXYZArray Triangles;       // three points a triangle
  TXYZArray OutlineSegments;  // point pairs (P0,P1), (P1,P2) ... (Pn-1,P0) per contour
  std::vector<TDxVertex> FillVertices;
  std::vector<TDxVertex> OutlineVertices;
  int32_t AdvanceX = 0;  // pen advance
  int32_t AdvanceY = 0;
  // The black box: left and top edges, right = left + width, bottom = top - height
  // (y up).
  int32_t BoxLeft = 0;
  int32_t BoxTop = 0;
  int32_t BoxRight = 0;
  int32_t BoxBottom = 0;

  // Fills the vertex arrays from Triangles and OutlineSegments if that has not
  // happened yet.
  void MakeVertices();
};

}  // namespace vellmar
