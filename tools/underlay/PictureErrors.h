#pragma once
// What the picture readers share: one form for their errors, naming the file, and
// the guard around the C decoders that report an error by jumping back to the call.

#include <csetjmp>
#include <filesystem>
#include <string>

namespace vellmar {

// Raises "ReadPictureFile: <file>: <what>[: <detail>]".
[[noreturn]] void RaisePictureError(const std::filesystem::path& path, const std::string& what,
                                    const std::string& detail = {});

// Runs decoder calls whose error handler jumps to `jump`; false when one did. The
// calls must hold no objects with destructors, since the jump skips them; whatever
// is to be raised is raised by the caller, outside the decoder's frames.
template <typename T>
bool RunGuarded(std::jmp_buf& jump, void (*calls)(T&), T& self) {
  if (setjmp(jump) != 0) return false;
  calls(self);
  return true;
}

}  // namespace vellmar
