#include "platform/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Error.h"

namespace vellmar {

TMemoryStream::TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

TMemoryStream::TMemoryStream(std::span<const std::uint8_t> view)
    : view_(view.data()), viewSize_(view.size()), isView_(true) {}

std::span<const std::uint8_t> TMemoryStream::Bytes() const {
  if (isView_) return {view_, viewSize_};
  return bytes_;
}

std::vector<std::uint8_t> TMemoryStream::TakeBytes() {
  if (isView_) return {view_, view_ + viewSize_};
  position_ = 0;
  return std::exchange(bytes_, {});
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  const std::span<const std::uint8_t> bytes = Bytes();
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (position_ >= size || count == 0) return 0;
  const std::size_t n = std::min(count, static_cast<std::size_t>(size - position_));
  std::memcpy(buffer, bytes.data() + position_, n);
  position_ += static_cast<std::int64_t>(n);
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (isView_) throw EVellmarError("TMemoryStream.Write: the stream views read-only bytes");
  if (count == 0) return;
  const auto at = static_cast<std::size_t>(position_);
  if (at + count > bytes_.size()) bytes_.resize(at + count);  // a gap past the end fills with zeros
  std::memcpy(bytes_.data() + at, buffer, count);
  position_ += static_cast<std::int64_t>(count);
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(offset, origin, position_, Size(), "TMemoryStream.Seek");
  return position_;
}

}  // namespace vellmar
