#include "render/CharOutLine.h"

#include <cstddef>

namespace vellmar {

namespace {

void Fill(std::vector<TDxVertex>& vertices, const TXYZArray& points) {
  vertices.resize(points.size());
  for (size_t i = 0; i < points.size(); ++i) vertices[i] = {points[i].x, points[i].y, points[i].z, 0, 0, 0};
}

}  // namespace

void TCharOutLine::MakeVertices() {
  if (FillVertices.size() != Triangles.size()) Fill(FillVertices, Triangles);
  if (OutlineVertices.size() != OutlineSegments.size()) Fill(OutlineVertices, OutlineSegments);
}

}  // namespace vellmar
