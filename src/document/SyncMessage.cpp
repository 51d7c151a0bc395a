#include "document/SyncMessage.h"

#include <array>
#include <bit>
#include <cmath>

namespace vellmar {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetU32(std::span<const uint8_t> bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

float GetFloat(std::span<const uint8_t> bytes, size_t at) { return std::bit_cast<float>(GetU32(bytes, at)); }

std::vector<uint8_t> Floats(std::span<const float> values) {
  std::vector<uint8_t> out;
  out.reserve(values.size() * 4);
  for (const float value : values) PutU32(out, std::bit_cast<uint32_t>(value));
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeSyncMessage(uint32_t tag, std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  out.reserve(kSyncHeaderBytes + data.size());
  PutU32(out, tag);
  PutU32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<uint8_t> EncodeViewMessage(const TViewState& view) {
  const std::array<float, 5> values = {view.Centre.x, view.Centre.y, view.Centre.z, view.Scale, view.Rotation};
  return EncodeSyncMessage(kSyncViewTag, Floats(values));
}

std::vector<uint8_t> EncodeStationMessage(float station) {
  return EncodeSyncMessage(kSyncStationTag, Floats(std::array{station}));
}

std::optional<TViewState> DecodeViewMessage(const TSyncMessage& message) {
  if (message.Tag != kSyncViewTag || message.Data.size() != kSyncViewBytes) return std::nullopt;
  std::array<float, 5> values{};
  for (size_t i = 0; i < values.size(); ++i) {
    values[i] = GetFloat(message.Data, 4 * i);
    if (!std::isfinite(values[i])) return std::nullopt;
  }
  return TViewState{{values[0], values[1], values[2]}, values[3], values[4]};
}

std::optional<float> DecodeStationMessage(const TSyncMessage& message) {
  if (message.Tag != kSyncStationTag || message.Data.size() != kSyncStationBytes) return std::nullopt;
  const float station = GetFloat(message.Data, 0);
  if (!std::isfinite(station)) return std::nullopt;
  return station;
}

}  // namespace vellmar
