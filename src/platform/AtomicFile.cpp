#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "platform/Error.h"

namespace vellmar {

namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  std::random_device random;
  const unsigned long long tag = (static_cast<unsigned long long>(random()) << 32) ^ random();
  // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict on "." + string.
  std::string name = ".";
  name += target.filename().string();
  name += '.';
  name += std::to_string(::getpid());
  name += '.';
  name += std::to_string(tag);
  name += ".tmp";
  return target.parent_path() / name;
}

// The rename is only durable once the directory entry is on the disk too. The new
// content is already in place when this runs, so a failure here is not reported.
void SyncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

TAtomicFile::TAtomicFile(const std::filesystem::path& target) : target_(target) {
  // Saving through a symbolic link replaces the file it points to, not the link.
  std::error_code error;
  if (std::filesystem::is_symlink(target_, error)) {
    const std::filesystem::path resolved = std::filesystem::canonical(target_, error);
    if (!error) target_ = resolved;
  }
  if (target_.filename().empty()) {
    throw EVellmarError("TAtomicFile.Create: " + target.string() + " names no file");
  }
  temporary_ = TemporaryBeside(target_);
  try {
    stream_ = std::make_unique<TFileStream>(temporary_, TFileMode::CreateNew);
  } catch (const EFileError& e) {
    // The temporary's name means nothing to the user; the folder's refusal is theirs.
    throw EFileError("TAtomicFile.Create: cannot write " + target.string() + ": " +
                         std::generic_category().message(e.Code()),
                     e.Code());
  }
  stream_->ShowAs(target_);
}

TAtomicFile::~TAtomicFile() {
  if (committed_) return;
  stream_.reset();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

TStream& TAtomicFile::Stream() {
  if (committed_) throw EVellmarError("TAtomicFile.Stream: " + target_.string() + " is already saved");
  return *stream_;
}

void TAtomicFile::Commit() {
  if (committed_) throw EVellmarError("TAtomicFile.Commit: " + target_.string() + " is already saved");
  stream_->Sync();
  stream_->Close();
  // Keep the permissions the user gave the old file; if that fails the save still stands.
  std::error_code error;
  const auto status = std::filesystem::status(target_, error);
  if (!error && std::filesystem::exists(status)) {
    std::filesystem::permissions(temporary_, status.permissions(), error);
  }
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    throw EFileError("TAtomicFile.Commit: cannot replace " + target_.string() + ": " +
                         std::generic_category().message(error),
                     error);
  }
  committed_ = true;
  SyncDirectory(target_.parent_path());
}

}  // namespace vellmar
