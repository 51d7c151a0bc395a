#pragma once
// An OpenGL 3.3 core context with no window and no display server (EGL, Mesa's
// surfaceless platform when present), drawing into an off-screen framebuffer of a
// fixed size with colour and depth-stencil. Used by the command-line tools and the GPU
// tests; runs on a software rasteriser when there is no GPU. The context owns its
// framebuffer; it is made current only through a TCurrent scope.

#include <cstdint>
#include <vector>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace vellmar {

class HeadlessGlContext final {
 public:
  // Raises EVellmarError "HeadlessGlContext.Create: ..." saying why no context could be made.
  HeadlessGlContext(uint32_t Width, uint32_t Height);
  ~HeadlessGlContext();
  HeadlessGlContext(const HeadlessGlContext&) = delete;
  HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }

  // Makes the context current on this thread with its framebuffer bound, and restores
  // whatever was current before when it ends. Scopes nest.
  class TCurrent final {
   public:
    explicit TCurrent(HeadlessGlContext& Context);
    ~TCurrent();
    TCurrent(const TCurrent&) = delete;
    TCurrent& operator=(const TCurrent&) = delete;

    // The framebuffer as 32-bit 0xAARRGGBB words (the vertex colour layout; bytes
    // B, G, R, A in memory), top row first.
    std::vector<uint32_t> ReadPixels() const;

   private:
    HeadlessGlContext& context_;
    EGLDisplay previousDisplay_;
    EGLContext previousContext_;
    EGLSurface previousDraw_;
    EGLSurface previousRead_;
  };

 private:
  void Release();

  uint32_t width_;
  uint32_t height_;
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLContext context_ = EGL_NO_CONTEXT;
  EGLSurface surface_ = EGL_NO_SURFACE;  // a 1x1 pbuffer where surfaceless contexts are not supported
  GLuint framebuffer_ = 0;
  GLuint colorBuffer_ = 0;
  GLuint depthBuffer_ = 0;
};

}  // namespace vellmar
