#pragma once
// What every draw operation of the system is handed for one frame. The record owns
// nothing: the renderer belongs to the main window.

#include "geometry/XYZ.h"

namespace vellmar {

class TdxRenderer;

struct TDxDrawParams {
  TdxRenderer* Renderer = nullptr;  // the renderer drawing this frame
  TXYZ Centre;                      // view centre in world units
  float Radius = 0.0f;              // world radius around Centre that the view can show
};

}  // namespace vellmar
