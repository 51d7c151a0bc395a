#pragma once
// The messages the viewer exchanges with the synchronisation hub. On the wire each is a
// tag, a byte count and that many bytes, the numbers little-endian 32-bit: the view
// record (five singles: centre x, y, z, scale, rotation) goes both ways, a station along
// the road axis (one single) comes from the hub. Peers of every version rely on these
// bytes, so they never change.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "document/ViewState.h"

namespace vellmar {

inline constexpr uint32_t kSyncViewTag = 0x28061973;
inline constexpr uint32_t kSyncStationTag = 0x26081978;
inline constexpr uint32_t kSyncViewBytes = 20;
inline constexpr uint32_t kSyncStationBytes = 4;
inline constexpr size_t kSyncHeaderBytes = 8;

struct TSyncMessage {
  uint32_t Tag = 0;
  std::vector<uint8_t> Data;
};

// Header and data as they go on the wire.
std::vector<uint8_t> EncodeSyncMessage(uint32_t tag, std::span<const uint8_t> data);
std::vector<uint8_t> EncodeViewMessage(const TViewState& view);
std::vector<uint8_t> EncodeStationMessage(float station);

// What a message carries; nothing for another tag, another size, or a value that is not
// finite (a damaged view must not reach the street, which would store it).
std::optional<TViewState> DecodeViewMessage(const TSyncMessage& message);
std::optional<float> DecodeStationMessage(const TSyncMessage& message);

}  // namespace vellmar
