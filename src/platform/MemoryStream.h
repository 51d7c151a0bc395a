#pragma once
// A stream over bytes in memory. It owns a growable buffer, or - when made over
// external bytes - only views them read-only; the caller keeps those bytes alive.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Stream.h"

namespace vellmar {

class TMemoryStream final : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes);
  // Reads the given bytes in place without copying them; writing raises.
  explicit TMemoryStream(std::span<const std::uint8_t> view);

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Position() const override { return position_; }
  std::int64_t Size() const override { return static_cast<std::int64_t>(Bytes().size()); }

  std::span<const std::uint8_t> Bytes() const;
  // Hands the owned bytes over and leaves the stream empty; a view is copied.
  std::vector<std::uint8_t> TakeBytes();

 private:
  std::vector<std::uint8_t> bytes_;
  const std::uint8_t* view_ = nullptr;
  std::size_t viewSize_ = 0;
  bool isView_ = false;
  std::int64_t position_ = 0;
};

}  // namespace vellmar
