#pragma once
// Saving that never truncates the user's file in place: the new content goes to a
// temporary file beside the target, which replaces the target only once it is
// completely on the disk. The object owns the temporary file and removes it unless
// the save is committed, so a failed save leaves the old file whole.
//
//   TAtomicFile file(path);
//   street.SaveToStream(file.Stream());
//   file.Commit();

#include <filesystem>
#include <memory>

#include "platform/FileStream.h"

namespace vellmar {

class TAtomicFile {
 public:
  explicit TAtomicFile(const std::filesystem::path& target);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  TStream& Stream();
  // Flushes and syncs the temporary file and renames it over the target.
  void Commit();

  const std::filesystem::path& Target() const { return target_; }
  const std::filesystem::path& TemporaryPath() const { return temporary_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::unique_ptr<TFileStream> stream_;
  bool committed_ = false;
};

}  // namespace vellmar
