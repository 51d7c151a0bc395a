#include "platform/Stream.h"

#include <limits>
#include <string>

#include "platform/Error.h"

namespace vellmar {

std::int64_t TStream::Remaining() const {
  const std::int64_t left = Size() - Position();
  return left > 0 ? left : 0;
}

void TStream::ReadBuffer(void* buffer, std::size_t count, const char* who) {
  const std::size_t got = Read(buffer, count);
  if (got != count) {
    // A read moves by the bytes it delivered, so the start is found only when it is reported.
    const std::int64_t at = Position() - static_cast<std::int64_t>(got);
    throw EVellmarError(std::string(who) + ": needs " + std::to_string(count) + " bytes at " +
                        std::to_string(at) + ", only " + std::to_string(got) + " left");
  }
}

std::int64_t TStream::SeekTarget(std::int64_t offset, TSeekOrigin origin, std::int64_t position,
                                 std::int64_t size, const char* who) {
  std::int64_t base = 0;
  switch (origin) {
    case TSeekOrigin::Begin:
      base = 0;
      break;
    case TSeekOrigin::Current:
      base = position;
      break;
    case TSeekOrigin::End:
      base = size;
      break;
  }
  if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) || base + offset < 0) {
    throw EVellmarError(std::string(who) + ": offset " + std::to_string(offset) + " from " +
                        std::to_string(base) + " leaves the stream");
  }
  return base + offset;
}

}  // namespace vellmar
