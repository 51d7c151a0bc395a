#include "platform/gpu/gl/GlCheck.h"

#include <cstdio>
#include <cstdlib>

namespace vellmar {

void GlCheckFailed(GLenum Error, const char* Call, const char* File, int Line) {
  std::fprintf(stderr, "%s:%d: GL error 0x%04X after %s\n", File, Line, static_cast<unsigned>(Error), Call);
  std::abort();
}

}  // namespace vellmar
