#include "support/GluOracle.h"

#include <GL/glu.h>

#include <array>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>

namespace vellmar::test {

namespace {

struct TGluRun {
  std::vector<TPoint2> triangles;
  std::deque<std::array<GLdouble, 3>> combined;  // crossing vertices, stable addresses
  GLenum error = 0;
};

void GLAPIENTRY OnBegin(GLenum) {}
void GLAPIENTRY OnEdgeFlag(GLboolean) {}  // registering it makes GLU emit plain triangles

void GLAPIENTRY OnVertex(void* vertex, void* data) {
  const auto* v = static_cast<const GLdouble*>(vertex);
  static_cast<TGluRun*>(data)->triangles.push_back(TPoint2{v[0], v[1]});
}

void GLAPIENTRY OnCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
  auto& vertex = static_cast<TGluRun*>(data)->combined.emplace_back();
  vertex = {coords[0], coords[1], coords[2]};
  *out = vertex.data();
}

void GLAPIENTRY OnError(GLenum error, void* data) {
  static_cast<TGluRun*>(data)->error = error;
}

using TGluTess = std::unique_ptr<GLUtesselator, decltype(&gluDeleteTess)>;

}  // namespace

std::vector<TPoint2> GluTriangles(const TXYZArrays& contours) {
  TGluTess tess(gluNewTess(), &gluDeleteTess);
  if (!tess) throw std::runtime_error("GluTriangles: no tessellator");
  gluTessCallback(tess.get(), GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&OnBegin));
  gluTessCallback(tess.get(), GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(&OnEdgeFlag));
  gluTessCallback(tess.get(), GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&OnVertex));
  gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&OnCombine));
  gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&OnError));
  gluTessProperty(tess.get(), GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  gluTessNormal(tess.get(), 0.0, 0.0, 1.0);

  size_t total = 0;
  for (const TXYZArray& contour : contours) total += contour.size();
  std::vector<std::array<GLdouble, 3>> coords;
  coords.reserve(total);  // GLU keeps pointers to them until the polygon ends

  TGluRun run;
  gluTessBeginPolygon(tess.get(), &run);
  for (const TXYZArray& contour : contours) {
    gluTessBeginContour(tess.get());
    for (const TXYZ& p : contour) {
      coords.push_back({p.x, p.y, 0.0});
      gluTessVertex(tess.get(), coords.back().data(), coords.back().data());
    }
    gluTessEndContour(tess.get());
  }
  gluTessEndPolygon(tess.get());
  if (run.error != 0) throw std::runtime_error("GluTriangles: GLU error " + std::to_string(run.error));
  return std::move(run.triangles);
}

}  // namespace vellmar::test
