#pragma once
// Helpers shared by the test programs: where the real-world fixtures are, and
// scratch directories that clean themselves up.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellmar::test {

// The shared fixtures folder (../shared/fixtures beside the repository); empty
// when it is absent, so tests can GTEST_SKIP().
std::filesystem::path FixturesDir();

// The repository the tests were built from (its data, examples and fuzz seeds), named
// by the build: a path taken from __FILE__ is relative when the compiler is handed
// relative paths (a compiler cache with a base folder) and then leads nowhere.
std::filesystem::path SourceDir();

// The bytes of a file; empty when it cannot be read (the comparison that follows fails).
std::vector<uint8_t> FileBytes(const std::filesystem::path& path);
// Writes the file whole, replacing what was there; failures raise.
void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// A fresh directory under the system temporary directory, removed on destruction.
// The path in single quotes for a shell command line.
std::string Quote(const std::filesystem::path& path);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Sets VELLMAR_DATA (nullptr: unsets it) for one test and puts the old value back.
class ScopedDataVariable {
 public:
  explicit ScopedDataVariable(const char* value);
  ~ScopedDataVariable();
  ScopedDataVariable(const ScopedDataVariable&) = delete;
  ScopedDataVariable& operator=(const ScopedDataVariable&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace vellmar::test
