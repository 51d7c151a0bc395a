#include "platform/gpu/headless/HeadlessGlContext.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Error.h"
#include "platform/gpu/gl/GlCheck.h"

namespace vellmar {

namespace {

[[noreturn]] void Fail(const std::string& What) {
  throw EVellmarError("HeadlessGlContext.Create: " + What);
}

std::string EglErrorText() {
  return "EGL error 0x" + [] {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(eglGetError()));
    return std::string(hex);
  }();
}

bool HasExtension(const char* List, const char* Name) {
  if (!List) return false;
  const size_t length = std::strlen(Name);
  for (const char* p = List; (p = std::strstr(p, Name)) != nullptr; p += length)
    if ((p == List || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
  return false;
}

// The EGL display is process-wide: initialised on first use and kept until the
// process ends, so that one context's end cannot break another's display and the
// driver is not reloaded for every context.
EGLDisplay SharedDisplay() {
  static const EGLDisplay display = [] {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    EGLDisplay d = EGL_NO_DISPLAY;
    if (HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless") &&
        HasExtension(clientExtensions, "EGL_EXT_platform_base"))
      d = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (d == EGL_NO_DISPLAY) d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    EGLint major = 0, minor = 0;
    if (d != EGL_NO_DISPLAY && !eglInitialize(d, &major, &minor)) d = EGL_NO_DISPLAY;
    return d;
  }();
  if (display == EGL_NO_DISPLAY) Fail("no EGL display could be initialised");
  return display;
}

}  // namespace

HeadlessGlContext::HeadlessGlContext(uint32_t Width, uint32_t Height) : width_(Width), height_(Height) {
  if (Width == 0 || Height == 0) Fail("empty framebuffer size");
  display_ = SharedDisplay();
  try {
    if (!eglBindAPI(EGL_OPENGL_API)) Fail("no desktop OpenGL, " + EglErrorText());
    const char* extensions = eglQueryString(display_, EGL_EXTENSIONS);
    const bool surfaceless = HasExtension(extensions, "EGL_KHR_surfaceless_context");
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!surfaceless || !HasExtension(extensions, "EGL_KHR_no_config_context")) {
      const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                               EGL_NONE};
      EGLint found = 0;
      if (!eglChooseConfig(display_, wanted, &config, 1, &found) || found == 0)
        Fail("no OpenGL configuration");
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 3,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, attributes);
    if (context_ == EGL_NO_CONTEXT) Fail("no OpenGL 3.3 core context, " + EglErrorText());
    if (!surfaceless) {
      const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
      surface_ = eglCreatePbufferSurface(display_, config, size);
      if (surface_ == EGL_NO_SURFACE) Fail("no pbuffer surface, " + EglErrorText());
    }

    // The framebuffer is made inside a scope of its own, which restores whatever was
    // current before; a failure leaves that scope before Release runs.
    TCurrent current(*this);
    const int version = epoxy_gl_version();
    if (version < 33)
      Fail("OpenGL " + std::to_string(version / 10) + "." + std::to_string(version % 10) +
           " is older than 3.3");
    GLint maxSize = 0;
    VELLMAR_GL(glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize));
    if (Width > static_cast<uint32_t>(maxSize) || Height > static_cast<uint32_t>(maxSize))
      Fail("framebuffer larger than " + std::to_string(maxSize) + " pixels");
    VELLMAR_GL(glGenFramebuffers(1, &framebuffer_));
    VELLMAR_GL(glGenRenderbuffers(1, &colorBuffer_));
    VELLMAR_GL(glGenRenderbuffers(1, &depthBuffer_));
    VELLMAR_GL(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
    VELLMAR_GL(glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_));
    VELLMAR_GL(glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(Width),
                                     static_cast<GLsizei>(Height)));
    VELLMAR_GL(
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_));
    VELLMAR_GL(glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_));
    VELLMAR_GL(glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(Width),
                                     static_cast<GLsizei>(Height)));
    VELLMAR_GL(glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                         depthBuffer_));
    if (VELLMAR_GL(glCheckFramebufferStatus(GL_FRAMEBUFFER)) != GL_FRAMEBUFFER_COMPLETE)
      Fail("off-screen framebuffer incomplete");
  } catch (...) {
    Release();
    throw;
  }
}

HeadlessGlContext::~HeadlessGlContext() {
  Release();
}

void HeadlessGlContext::Release() {
  if (context_ != EGL_NO_CONTEXT) {
    if (framebuffer_ || colorBuffer_ || depthBuffer_) {
      try {
        TCurrent current(*this);
        VELLMAR_GL(glBindFramebuffer(GL_FRAMEBUFFER, 0));
        VELLMAR_GL(glDeleteFramebuffers(1, &framebuffer_));
        VELLMAR_GL(glDeleteRenderbuffers(1, &colorBuffer_));
        VELLMAR_GL(glDeleteRenderbuffers(1, &depthBuffer_));
      } catch (const EVellmarError&) {
        // Not current, so nothing to delete by hand: the objects go with the context.
      }
    }
    eglDestroyContext(display_, context_);
  }
  if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
}

HeadlessGlContext::TCurrent::TCurrent(HeadlessGlContext& Context)
    : context_(Context),
      previousDisplay_(eglGetCurrentDisplay()),
      previousContext_(eglGetCurrentContext()),
      previousDraw_(eglGetCurrentSurface(EGL_DRAW)),
      previousRead_(eglGetCurrentSurface(EGL_READ)) {
  if (!eglMakeCurrent(Context.display_, Context.surface_, Context.surface_, Context.context_))
    throw EVellmarError("HeadlessGlContext.MakeCurrent: " + EglErrorText());
  VELLMAR_GL(glBindFramebuffer(GL_FRAMEBUFFER, Context.framebuffer_));
}

HeadlessGlContext::TCurrent::~TCurrent() {
  if (previousContext_ != EGL_NO_CONTEXT)
    eglMakeCurrent(previousDisplay_, previousDraw_, previousRead_, previousContext_);
  else
    eglMakeCurrent(context_.display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::vector<uint32_t> HeadlessGlContext::TCurrent::ReadPixels() const {
  const uint32_t width = context_.width_;
  const uint32_t height = context_.height_;
  std::vector<uint32_t> bottomUp(size_t{width} * height);
  VELLMAR_GL(glFinish());
  VELLMAR_GL(glBindFramebuffer(GL_READ_FRAMEBUFFER, context_.framebuffer_));
  VELLMAR_GL(glPixelStorei(GL_PACK_ALIGNMENT, 4));
  VELLMAR_GL(glPixelStorei(GL_PACK_ROW_LENGTH, 0));
  VELLMAR_GL(glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_BGRA,
                          GL_UNSIGNED_INT_8_8_8_8_REV, bottomUp.data()));
  // OpenGL's rows run bottom-up; callers get the screen's order.
  std::vector<uint32_t> pixels(bottomUp.size());
  for (uint32_t row = 0; row < height; ++row)
    std::memcpy(&pixels[size_t{row} * width], &bottomUp[size_t{height - 1 - row} * width], width * 4u);
  return pixels;
}

}  // namespace vellmar
