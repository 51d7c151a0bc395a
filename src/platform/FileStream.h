#pragma once
// A stream over a file on disk. It owns the file descriptor and one buffer through
// which small reads and writes pass, so loading or saving a document is not a system
// call per value; positions, sizes and rewinds behave exactly as without the buffer.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Stream.h"

namespace vellmar {

enum class TFileMode {
  OpenRead,       // an existing file, read only
  OpenReadWrite,  // an existing file, read and write
  Create,         // created or truncated, read and write
  CreateNew,      // created, read and write; raises if the file exists
};

class TFileStream final : public TStream {
 public:
  static constexpr std::size_t kDefaultBufferSize = 64 * 1024;
  // Told the file offset reached after each read from the disk (a buffer's worth at a
  // time, not every value); whatever it raises leaves Read, which is how a load is stopped.
  using TReadObserver = std::function<void(std::int64_t offset)>;

  TFileStream(const std::filesystem::path& path, TFileMode mode, std::size_t bufferSize = kDefaultBufferSize);
  // Writes what is still buffered; errors are lost here, so savers call Close().
  ~TFileStream() override;

  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Position() const override { return position_; }
  std::int64_t Size() const override { return size_; }

  // Hands buffered bytes to the system.
  void Flush();
  // Flushes and waits until the bytes are on the disk.
  void Sync();
  // Flushes and closes, raising on any failure; later use of the stream raises.
  void Close();
  const std::filesystem::path& Path() const { return path_; }
  // The file later failures name instead of Path(): a temporary file is reported as the
  // file it will become, the one its user asked for.
  void ShowAs(const std::filesystem::path& shown) { shown_ = shown; }
  void SetReadObserver(TReadObserver observer) { observer_ = std::move(observer); }

 private:
  enum class TBufferUse { None, Reading, Writing };
  [[noreturn]] void Fail(const char* operation, int error) const;
  void CheckOpen(const char* operation) const;
  std::size_t ReadAt(std::uint8_t* buffer, std::size_t count, std::int64_t at);
  void WriteAt(const std::uint8_t* buffer, std::size_t count, std::int64_t at);

  std::filesystem::path path_;
  std::filesystem::path shown_;
  int fd_ = -1;
  bool writable_ = false;
  std::int64_t position_ = 0;
  std::int64_t size_ = 0;
  std::vector<std::uint8_t> buffer_;
  TBufferUse use_ = TBufferUse::None;
  std::int64_t bufferStart_ = 0;  // file offset of buffer_[0]
  std::size_t bufferLength_ = 0;  // bytes read into, or waiting to be written from, the buffer
  TReadObserver observer_;
};

}  // namespace vellmar
