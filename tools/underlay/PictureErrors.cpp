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

}  // namespace vellmar
