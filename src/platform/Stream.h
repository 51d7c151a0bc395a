#pragma once
// Seekable byte streams: the one interface that every reader and writer of stored
// data (street files, metafiles, underlay tiles) works against. A stream owns its
// backing store (file descriptor or bytes) unless its constructor says otherwise.

#include <cstddef>
#include <cstdint>

namespace vellmar {

enum class TSeekOrigin { Begin, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to count bytes at the position and moves behind them; fewer arrive only
  // at the end of the stream. Returns the number of bytes read.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes all count bytes at the position (growing the stream; a gap left by seeking
  // past the end reads as zeros) or raises.
  virtual void Write(const void* buffer, std::size_t count) = 0;
  // Moves the position and returns it. A position before the start raises; one past
  // the end is allowed (reads there deliver nothing).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Position() const = 0;
  virtual std::int64_t Size() const = 0;

  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::Begin); }
  // Bytes between the position and the end (0 when the position is past the end).
  std::int64_t Remaining() const;
  // Reads exactly count bytes or raises "<who>: needs N bytes at P, only M left";
  // who names the class and operation that needed the value.
  void ReadBuffer(void* buffer, std::size_t count, const char* who = "TStream.ReadBuffer");

 protected:
  TStream() = default;
  // The position a seek would reach, checked against the start; shared by the streams.
  static std::int64_t SeekTarget(std::int64_t offset, TSeekOrigin origin, std::int64_t position,
                                 std::int64_t size, const char* who);
};

}  // namespace vellmar
