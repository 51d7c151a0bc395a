#include "underlay/PackedSmallInts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Error.h"
#include "platform/Stream.h"

namespace vellmar {

namespace {

constexpr uint8_t kPrefixDataStart = 0x00;
constexpr uint8_t kPrefixDataEnd = 0xFF;

// Record kinds in the order of their prefixes: 0x1n zero runs, 0x2n 2-bit, 0x3n 4-bit,
// 0x4n 8-bit and 0x5n 12-bit values; the long forms 0x01…0x0F step through the same
// kinds three prefixes at a time (1-, 2- and 4-byte counts).
enum TQuadKind : int { kZero, kBits2, kBits4, kBits8, kBits12, kQuadKindCount };
constexpr std::array<size_t, kQuadKindCount> kPayloadBytes = {0, 1, 2, 4, 6};
constexpr std::array<int, kQuadKindCount> kKindLimit = {0, 2, 8, 128, 2048};

[[noreturn]] void Fail(const std::string& what) {
  throw EVellmarError("UnPackSmallInts: " + what);
}

std::string Hex(uint8_t value) {
  char text[2] = {'0', '0'};
  std::to_chars(value < 16 ? text + 1 : text, text + 2, value, 16);
  return "0x" + std::string(text, 2);
}

constexpr int16_t SignExtend(uint32_t value, int bits) {
  const uint32_t sign = 1u << (bits - 1);
  return static_cast<int16_t>(static_cast<int32_t>(value ^ sign) - static_cast<int32_t>(sign));
}

// Every byte of a 2-bit or 4-bit payload decoded ahead of time: four or two values.
template <int Bits>
constexpr auto MakeByteTable() {
  constexpr int perByte = 8 / Bits;
  std::array<std::array<int16_t, perByte>, 256> table{};
  for (uint32_t b = 0; b < 256; ++b) {
    for (int i = 0; i < perByte; ++i) table[b][i] = SignExtend((b >> (Bits * i)) & ((1u << Bits) - 1), Bits);
  }
  return table;
}
constexpr auto kBits2Table = MakeByteTable<2>();
constexpr auto kBits4Table = MakeByteTable<4>();

void DecodeQuads(TQuadKind kind, const uint8_t* payload, size_t quads, int16_t* out) {
  switch (kind) {
    case kZero:
      std::fill_n(out, quads * 4, int16_t{0});
      break;
    case kBits2:
      for (size_t q = 0; q < quads; ++q, out += 4) std::memcpy(out, kBits2Table[payload[q]].data(), 8);
      break;
    case kBits4:
      for (size_t q = 0; q < quads * 2; ++q, out += 2) std::memcpy(out, kBits4Table[payload[q]].data(), 4);
      break;
    case kBits8:
      for (size_t q = 0; q < quads * 4; ++q) out[q] = static_cast<int8_t>(payload[q]);
      break;
    case kBits12:
      for (size_t q = 0; q < quads * 2; ++q, out += 2, payload += 3) {
        const uint32_t word = payload[0] | (payload[1] << 8) | (static_cast<uint32_t>(payload[2]) << 16);
        out[0] = SignExtend(word & 0xFFFu, 12);
        out[1] = SignExtend(word >> 12, 12);
      }
      break;
    case kQuadKindCount:
      break;
  }
}

}  // namespace

void UnPackSmallInts(std::span<int16_t> target, std::span<const uint8_t> packed) {
  if (packed.empty() || packed[0] != kPrefixDataStart) Fail("Prefix<>PrefixDataStart");
  const size_t size = packed.size();
  size_t pos = 1;
  size_t cursor = 0;
  while (pos < size) {
    const uint8_t prefix = packed[pos++];
    if (prefix == kPrefixDataEnd) {
      if (cursor != target.size()) Fail("DataCursor<>DataSize");
      return;
    }
    TQuadKind kind;
    uint64_t quads;
    if (prefix >= 0x10 && prefix <= 0x5F) {
      kind = static_cast<TQuadKind>((prefix >> 4) - 1);
      quads = prefix & 15u;
      // 0x10 is a legal empty zero run; 0x20…0x50 would be value records of nothing.
      if (quads == 0 && kind != kZero) Fail("prefix " + Hex(prefix) + " has no record kind");
    } else if (prefix >= 0x01 && prefix <= 0x0F) {
      kind = static_cast<TQuadKind>((prefix - 1) / 3);
      const size_t countBytes = size_t{1} << ((prefix - 1) % 3);
      if (countBytes > size - pos) Fail("Prefix<>PrefixDataEnd");
      uint32_t count = 0;
      for (size_t i = 0; i < countBytes; ++i) count |= static_cast<uint32_t>(packed[pos + i]) << (8 * i);
      pos += countBytes;
      if (countBytes == 4 && static_cast<int32_t>(count) < 0) Fail("record with a negative count");
      quads = count;
      if (quads == 0 && kind != kZero) Fail("value record with a count of 0");
    } else {
      Fail("prefix " + Hex(prefix) + " has no record kind");
    }
    const uint64_t payloadBytes = quads * kPayloadBytes[kind];
    if (payloadBytes > size - pos) Fail("Prefix<>PrefixDataEnd");
    if (quads * 4 > target.size() - cursor) Fail("record runs past the end of the coefficient buffer");
    DecodeQuads(kind, packed.data() + pos, quads, target.data() + cursor);
    pos += payloadBytes;
    cursor += quads * 4;
  }
  Fail("Prefix<>PrefixDataEnd");
}

void UnPackSmallInts(std::span<int16_t> target, TStream& stream, std::vector<uint8_t>& scratch) {
  uint8_t count[4];
  stream.ReadBuffer(count, sizeof count, "UnPackSmallInts");
  const int32_t size =
      static_cast<int32_t>(count[0] | count[1] << 8 | count[2] << 16 | static_cast<uint32_t>(count[3]) << 24);
  // Checked before allocating: a damaged count must not reserve gigabytes.
  if (size < 0 || size > stream.Remaining()) Fail("byte count beyond the end of the file");
  scratch.resize(static_cast<size_t>(size));
  stream.ReadBuffer(scratch.data(), scratch.size(), "UnPackSmallInts");
  UnPackSmallInts(target, scratch);
}

namespace {

TQuadKind KindOf(const int16_t* quad) {
  int lo = 0;
  int hi = 0;
  for (int i = 0; i < 4; ++i) {
    lo = std::min<int>(lo, quad[i]);
    hi = std::max<int>(hi, quad[i]);
  }
  if (lo == 0 && hi == 0) return kZero;
  int kind = kBits2;
  while (lo < -kKindLimit[kind] || hi >= kKindLimit[kind]) ++kind;
  return static_cast<TQuadKind>(kind);
}

// The kind each quad is written in. A quad may go in any kind at least as wide as its
// own (zero quads in any kind), so a short run between wider ones can join them when
// its own record header would cost more than the wider payload: a shortest-path
// choice over the quads, counting one header byte per change of kind.
std::vector<TQuadKind> ChooseKinds(std::span<const int16_t> values) {
  const size_t quads = values.size() / 4;
  std::vector<std::array<uint8_t, kQuadKindCount>> from(quads);
  std::array<size_t, kQuadKindCount> cost{};
  constexpr size_t kImpossible = SIZE_MAX / 2;
  for (size_t q = 0; q < quads; ++q) {
    const int narrowest = KindOf(&values[4 * q]);
    // Staying in kind k costs cost[k]; changing from any other kind one header byte
    // more. The cheapest way in is taken, the lowest kind on a tie.
    const size_t* cheapest = std::min_element(cost.begin(), cost.end());
    const size_t least = *cheapest;
    const int leastKind = static_cast<int>(cheapest - cost.begin());
    std::array<size_t, kQuadKindCount> next;
    for (int k = 0; k < kQuadKindCount; ++k) {
      next[k] = kImpossible;
      if (k < narrowest) continue;
      size_t c;
      int previous;
      if (q == 0) {
        c = 1;
        previous = k;
      } else if (cost[k] == least) {
        c = least;
        previous = k;
      } else {
        c = least + 1;
        previous = cost[k] == least + 1 ? std::min(k, leastKind) : leastKind;
      }
      from[q][k] = static_cast<uint8_t>(previous);
      next[k] = c + kPayloadBytes[k];
    }
    cost = next;
  }
  std::vector<TQuadKind> kinds(quads);
  if (quads == 0) return kinds;
  int k = static_cast<int>(std::min_element(cost.begin(), cost.end()) - cost.begin());
  for (size_t q = quads; q-- > 0;) {
    kinds[q] = static_cast<TQuadKind>(k);
    k = from[q][k];
  }
  return kinds;
}

void PutLE(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutPayload(TQuadKind kind, const int16_t* v, std::vector<uint8_t>& out) {
  const auto u = [v](int i) { return static_cast<uint32_t>(static_cast<uint16_t>(v[i])); };
  switch (kind) {
    case kZero:
      break;
    case kBits2:
      out.push_back(static_cast<uint8_t>((u(0) & 3) | (u(1) & 3) << 2 | (u(2) & 3) << 4 | (u(3) & 3) << 6));
      break;
    case kBits4:
      out.push_back(static_cast<uint8_t>((u(0) & 15) | (u(1) & 15) << 4));
      out.push_back(static_cast<uint8_t>((u(2) & 15) | (u(3) & 15) << 4));
      break;
    case kBits8:
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u(i)));
      break;
    case kBits12:
      PutLE(out, (u(0) & 0xFFF) | (u(1) & 0xFFF) << 12, 3);
      PutLE(out, (u(2) & 0xFFF) | (u(3) & 0xFFF) << 12, 3);
      break;
    case kQuadKindCount:
      break;
  }
}

}  // namespace

void PackSmallInts(std::span<const int16_t> values, std::vector<uint8_t>& out) {
  if (values.size() % 4 != 0)
    throw EVellmarError("PackSmallInts: value count is not a whole number of quads");
  for (const int16_t value : values) {
    if (value < -kKindLimit[kBits12] || value >= kKindLimit[kBits12]) {
      throw EVellmarError("PackSmallInts: value outside the 12-bit range");
    }
  }
  out.push_back(kPrefixDataStart);
  const std::vector<TQuadKind> kinds = ChooseKinds(values);
  const size_t quadCount = kinds.size();
  size_t q = 0;
  while (q < quadCount) {
    const TQuadKind kind = kinds[q];
    size_t end = q + 1;
    while (end < quadCount && kinds[end] == kind) ++end;
    const uint32_t run = static_cast<uint32_t>(end - q);
    const uint8_t longPrefix = static_cast<uint8_t>(1 + 3 * kind);
    if (run <= 15) {
      out.push_back(static_cast<uint8_t>(((kind + 1) << 4) | run));
    } else if (run <= 0xFF) {
      out.push_back(longPrefix);
      PutLE(out, run, 1);
    } else if (run <= 0xFFFF) {
      out.push_back(longPrefix + 1);
      PutLE(out, run, 2);
    } else {
      out.push_back(longPrefix + 2);
      PutLE(out, run, 4);
    }
    for (; q < end; ++q) PutPayload(kind, &values[4 * q], out);
  }
  out.push_back(kPrefixDataEnd);
}

}  // namespace vellmar
