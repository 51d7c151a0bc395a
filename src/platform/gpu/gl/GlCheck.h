#pragma once
// Every GL call of the backends goes through VELLMAR_GL. In debug builds it checks
// glGetError after the call and stops the program at the first error, naming the call
// and its place: a GL error is a bug in the backend, not a condition to recover from.

#include <epoxy/gl.h>

namespace vellmar {

// Prints the failed call with its GL error code and aborts.
[[noreturn]] void GlCheckFailed(GLenum Error, const char* Call, const char* File, int Line);

}  // namespace vellmar

#ifdef NDEBUG
#define VELLMAR_GL(call) (call)
#else
#define VELLMAR_GL(call)                                              \
  [&]() -> decltype(auto) {                                           \
    struct TGlChecker {                                               \
      ~TGlChecker() {                                                 \
        if (GLenum error = glGetError(); error != GL_NO_ERROR)        \
          ::vellmar::GlCheckFailed(error, #call, __FILE__, __LINE__); \
      }                                                               \
    } checker;                                                        \
    return call;                                                      \
  }()
#endif
