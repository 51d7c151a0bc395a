#include "platform/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/Error.h"

namespace vellmar {

namespace {

int OpenFlags(TFileMode mode) {
  switch (mode) {
    case TFileMode::OpenRead:
      return O_RDONLY;
    case TFileMode::OpenReadWrite:
      return O_RDWR;
    case TFileMode::Create:
      return O_RDWR | O_CREAT | O_TRUNC;
    case TFileMode::CreateNew:
      return O_RDWR | O_CREAT | O_EXCL;
  }
  return O_RDONLY;
}

std::string ErrorText(int error) {
  return std::generic_category().message(error);
}

}  // namespace

TFileStream::TFileStream(const std::filesystem::path& path, TFileMode mode, std::size_t bufferSize)
    : path_(path), shown_(path), writable_(mode != TFileMode::OpenRead), buffer_(std::max<std::size_t>(bufferSize, 1)) {
  const bool creating = mode == TFileMode::Create || mode == TFileMode::CreateNew;
  const char* operation = creating ? "TFileStream.Create" : "TFileStream.Open";
  do {
    fd_ = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) Fail(operation, errno);
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    Fail(operation, error);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    Fail(operation, EISDIR);
  }
  size_ = info.st_size;
}

TFileStream::~TFileStream() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (const EVellmarError&) {
    // Destructors never throw; a saver that must know calls Close() itself.
  }
  ::close(fd_);
}

void TFileStream::Fail(const char* operation, int error) const {
  throw EFileError(std::string(operation) + ": " + shown_.string() + ": " + ErrorText(error), error);
}

void TFileStream::CheckOpen(const char* operation) const {
  if (fd_ < 0) throw EVellmarError(std::string(operation) + ": " + shown_.string() + " is closed");
}

std::size_t TFileStream::ReadAt(std::uint8_t* buffer, std::size_t count, std::int64_t at) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, buffer + done, count - done, at + static_cast<std::int64_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("TFileStream.Read", errno);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  if (observer_) observer_(at + static_cast<std::int64_t>(done));
  return done;
}

void TFileStream::WriteAt(const std::uint8_t* buffer, std::size_t count, std::int64_t at) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = ::pwrite(fd_, buffer + done, count - done, at + static_cast<std::int64_t>(done));
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail("TFileStream.Write", errno);
    }
    done += static_cast<std::size_t>(put);
  }
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  CheckOpen("TFileStream.Read");
  if (use_ == TBufferUse::Writing) Flush();
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const std::int64_t bufferEnd = bufferStart_ + static_cast<std::int64_t>(bufferLength_);
    if (use_ == TBufferUse::Reading && position_ >= bufferStart_ && position_ < bufferEnd) {
      const std::size_t n = std::min(count - done, static_cast<std::size_t>(bufferEnd - position_));
      std::memcpy(out + done, buffer_.data() + (position_ - bufferStart_), n);
      position_ += static_cast<std::int64_t>(n);
      done += n;
      continue;
    }
    if (count - done >= buffer_.size()) {
      // A large record goes straight to its destination rather than through the buffer.
      const std::size_t got = ReadAt(out + done, count - done, position_);
      position_ += static_cast<std::int64_t>(got);
      done += got;
      break;
    }
    use_ = TBufferUse::Reading;
    bufferStart_ = position_;
    bufferLength_ = ReadAt(buffer_.data(), buffer_.size(), position_);
    if (bufferLength_ == 0) break;
  }
  return done;
}

void TFileStream::Write(const void* buffer, std::size_t count) {
  CheckOpen("TFileStream.Write");
  if (!writable_) {
    throw EVellmarError("TFileStream.Write: " + shown_.string() + " is open for reading only");
  }
  if (count == 0) return;
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  if (use_ == TBufferUse::Reading) {
    use_ = TBufferUse::None;
    bufferLength_ = 0;
  }
  const bool appends = use_ == TBufferUse::Writing &&
                       position_ == bufferStart_ + static_cast<std::int64_t>(bufferLength_) &&
                       bufferLength_ + count <= buffer_.size();
  if (appends) {
    std::memcpy(buffer_.data() + bufferLength_, in, count);
    bufferLength_ += count;
  } else {
    Flush();
    if (count >= buffer_.size()) {
      WriteAt(in, count, position_);
    } else {
      use_ = TBufferUse::Writing;
      bufferStart_ = position_;
      std::memcpy(buffer_.data(), in, count);
      bufferLength_ = count;
    }
  }
  position_ += static_cast<std::int64_t>(count);
  size_ = std::max(size_, position_);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  CheckOpen("TFileStream.Seek");
  const std::int64_t target = SeekTarget(offset, origin, position_, size_, "TFileStream.Seek");
  // A read buffer stays valid across seeks (a rewind over an ident costs nothing);
  // pending writes go out so that the file matches the position.
  if (target != position_ && use_ == TBufferUse::Writing) Flush();
  position_ = target;
  return position_;
}

void TFileStream::Flush() {
  CheckOpen("TFileStream.Flush");
  if (use_ != TBufferUse::Writing) return;
  const std::size_t length = bufferLength_;
  use_ = TBufferUse::None;
  bufferLength_ = 0;
  WriteAt(buffer_.data(), length, bufferStart_);
}

void TFileStream::Sync() {
  Flush();
  if (::fsync(fd_) != 0) Fail("TFileStream.Sync", errno);
}

void TFileStream::Close() {
  CheckOpen("TFileStream.Close");
  const int fd = fd_;
  try {
    Flush();
  } catch (const EVellmarError&) {
    fd_ = -1;
    ::close(fd);
    throw;
  }
  fd_ = -1;
  if (::close(fd) != 0) Fail("TFileStream.Close", errno);
}

}  // namespace vellmar
