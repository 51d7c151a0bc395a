#include "document/SyncMessageReader.h"

#include <algorithm>

namespace vellmar {

namespace {

uint32_t U32At(const std::array<uint8_t, kSyncHeaderBytes>& header, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t{header[at + i]} << (8 * i);
  return value;
}

}  // namespace

std::vector<TSyncMessage> TSyncMessageReader::Feed(std::span<const uint8_t> bytes) {
  std::vector<TSyncMessage> done;
  while (!broken_) {
    if (headerFill_ < kSyncHeaderBytes) {
      const size_t take = std::min(kSyncHeaderBytes - headerFill_, bytes.size());
      std::copy_n(bytes.begin(), take, header_.begin() + static_cast<std::ptrdiff_t>(headerFill_));
      headerFill_ += take;
      bytes = bytes.subspan(take);
      if (headerFill_ < kSyncHeaderBytes) break;
      current_.Tag = U32At(header_, 0);
      count_ = U32At(header_, 4);
      if (count_ > kSyncMaxMessageBytes) {
        broken_ = true;
        break;
      }
      current_.Data.reserve(count_);
    }
    const size_t take = std::min<size_t>(count_ - current_.Data.size(), bytes.size());
    current_.Data.insert(current_.Data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    bytes = bytes.subspan(take);
    if (current_.Data.size() < count_) break;
    done.push_back(std::move(current_));
    current_ = {};
    headerFill_ = 0;
  }
  return done;
}

}  // namespace vellmar
