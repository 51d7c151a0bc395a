#pragma once
// A set of item-kind indices 0..47, held as 6 bytes: bit i of byte i / 8, least
// significant bit first, which is also how the set is stored in a street file.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/Error.h"

namespace vellmar {

class TKindSet {
 public:
  static constexpr int kKinds = 48;
  static constexpr std::size_t kBytes = kKinds / 8;
  using TBytes = std::array<std::uint8_t, kBytes>;

  constexpr TKindSet() = default;
  constexpr TKindSet(std::initializer_list<int> kinds) {
    for (const int kind : kinds) Include(kind);
  }
  static constexpr TKindSet FromBytes(const TBytes& bytes) {
    TKindSet set;
    set.bytes_ = bytes;
    return set;
  }

  constexpr bool Contains(int kind) const {
    return kind >= 0 && kind < kKinds && (bytes_[kind / 8] & Bit(kind)) != 0;
  }
  constexpr void Include(int kind) { bytes_[Index(kind, "TKindSet.Include")] |= Bit(kind); }
  constexpr void Exclude(int kind) {
    bytes_[Index(kind, "TKindSet.Exclude")] &= static_cast<std::uint8_t>(~Bit(kind));
  }
  constexpr bool IsEmpty() const { return *this == TKindSet(); }
  constexpr const TBytes& Bytes() const { return bytes_; }
  friend constexpr bool operator==(const TKindSet&, const TKindSet&) = default;

 private:
  static constexpr std::uint8_t Bit(int kind) { return static_cast<std::uint8_t>(1u << (kind % 8)); }
  static constexpr std::size_t Index(int kind, const char* who) {
    if (kind < 0 || kind >= kKinds) {
      throw EVellmarError(std::string(who) + ": kind " + std::to_string(kind) + " outside 0..47");
    }
    return static_cast<std::size_t>(kind / 8);
  }

  TBytes bytes_{};
};

}  // namespace vellmar
