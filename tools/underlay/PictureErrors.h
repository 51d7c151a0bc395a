#pragma once
// What the picture readers share: one form for their errors, naming the file, the
// bounds on what a picture may declare, and the guard around the C decoders that
// report an error by jumping back to the call.

#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vellmar {

// Raises "ReadPictureFile: <file>: <what>[: <detail>]".
[[noreturn]] void RaisePictureError(const std::filesystem::path& path, const std::string& what,
                                    const std::string& detail = {});

// The widest picture imported. The pyramid writer holds a few full-width tile rows
// of every level, nearly 4 KB per pixel of width (a picture this wide peaks near
// 1 GB), so wider pictures would take gigabytes before the first row is read,
// whatever the file holds.
inline constexpr int64_t kWidestPicture = int64_t{1} << 18;

// The most pixel bytes a reader may hold at once for a picture it cannot read a band
// at a time (interlaced PNG, progressive JPEG).
inline constexpr int64_t kLargestWholePicture = int64_t{1} << 30;

// Raises unless width and height are 1 … kWidestPicture and 1 … 2^31 − 1, before a
// reader allocates anything for them.
void CheckPictureSize(const std::filesystem::path& path, int64_t width, int64_t height);

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
