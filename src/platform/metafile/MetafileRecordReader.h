#pragma once
// Bounds-checked reading of one metafile record's fields. A field that would run past
// the record, or a count that cannot fit in it, raises EDamagedRecord: the player
// skips that record and goes on with the next.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>

namespace vellmar {

class EDamagedRecord : public std::runtime_error {
 public:
  EDamagedRecord() : std::runtime_error("damaged metafile record") {}
};

class TRecordReader {
 public:
  // Reading starts at offset `start` (behind the record's type and size fields).
  TRecordReader(std::span<const uint8_t> record, std::size_t start) : bytes_(record), pos_(start) {
    if (start > record.size()) throw EDamagedRecord();
  }

  template <class T>
  T Get() {
    Need(sizeof(T));
    T value;
    std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }
  int32_t I32() { return Get<int32_t>(); }
  uint32_t U32() { return Get<uint32_t>(); }
  int16_t I16() { return Get<int16_t>(); }
  uint16_t U16() { return Get<uint16_t>(); }
  float F32() { return Get<float>(); }

  void Skip(std::size_t count) {
    Need(count);
    pos_ += count;
  }
  void Seek(std::size_t offset) {
    if (offset > bytes_.size()) throw EDamagedRecord();
    pos_ = offset;
  }
  // `count` items of `itemSize` bytes must still be in the record: how counts read
  // from the record are checked before anything is allocated for them.
  void NeedItems(uint64_t count, std::size_t itemSize) const {
    if (count > (bytes_.size() - pos_) / itemSize) throw EDamagedRecord();
  }
  // The bytes at [offset, offset + size) of the record.
  std::span<const uint8_t> Slice(uint64_t offset, uint64_t size) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset) throw EDamagedRecord();
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
  }
  std::size_t Position() const { return pos_; }
  std::size_t Left() const { return bytes_.size() - pos_; }

 private:
  void Need(std::size_t count) const {
    if (count > bytes_.size() - pos_) throw EDamagedRecord();
  }

  std::span<const uint8_t> bytes_;
  std::size_t pos_;
};

}  // namespace vellmar
