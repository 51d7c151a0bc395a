#pragma once
// Cuts the byte stream of one synchronisation peer into messages (tag, byte count,
// data). Bytes may arrive in any pieces. The count is never trusted for memory: a message
// longer than kSyncMaxMessageBytes can only come from a peer that is out of step or not
// ours, and since nothing then tells where the next message starts, the reader stops
// for good (Broken) and the owner closes the connection. Shorter messages of any tag
// and size come out whole; which of them mean something is the decoder's business.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/SyncMessage.h"

namespace vellmar {

// Far above any message of ours; small enough that a damaged count costs nothing.
inline constexpr uint32_t kSyncMaxMessageBytes = 64 * 1024;

class TSyncMessageReader {
 public:
  // The messages the bytes complete, in order; nothing once broken.
  std::vector<TSyncMessage> Feed(std::span<const uint8_t> bytes);
  bool Broken() const { return broken_; }

 private:
  std::array<uint8_t, kSyncHeaderBytes> header_{};
  size_t headerFill_ = 0;
  uint32_t count_ = 0;
  TSyncMessage current_;
  bool broken_ = false;
};

}  // namespace vellmar
