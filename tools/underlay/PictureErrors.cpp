#include "PictureErrors.h"

#include "platform/Error.h"

namespace vellmar {

void RaisePictureError(const std::filesystem::path& path, const std::string& what,
                       const std::string& detail) {
  std::string message = "ReadPictureFile: ";
  message += path.string();
  message += ": ";
  message += what;
  if (!detail.empty()) {
    message += ": ";
    message += detail;
  }
  throw EVellmarError(message);
}

void CheckPictureSize(const std::filesystem::path& path, int64_t width, int64_t height) {
  std::string size = std::to_string(width);
  size += " x ";
  size += std::to_string(height);
  size += " pixels";
  if (width <= 0 || height <= 0 || height > INT32_MAX) RaisePictureError(path, size + " cannot be imported");
  if (width > kWidestPicture) {
    RaisePictureError(
        path, size + " are too wide to import; at most " + std::to_string(kWidestPicture) + " pixels a row");
  }
}

}  // namespace vellmar
