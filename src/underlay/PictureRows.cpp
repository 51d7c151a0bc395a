#include "underlay/PictureRows.h"

#include <algorithm>

#include "platform/Error.h"

namespace vellmar {

void TBgrPictureRows::ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) {
  if (count < 0 || count > picture_.height - next_)
    throw EVellmarError("TBgrPictureRows.ReadRows: rows beyond the picture's last");
  for (int i = 0; i < count; ++i, ++next_)
    std::copy_n(picture_.row0 + next_ * picture_.stride, size_t{3} * picture_.width, target + i * stride);
}

}  // namespace vellmar
