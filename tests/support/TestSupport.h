#pragma once
// Helpers shared by the test programs: where the real-world fixtures are, and
// scratch directories that clean themselves up.

#include <filesystem>
#include <optional>
#include <string>

namespace vellmar::test {

// The shared fixtures folder (../shared/fixtures beside the repository); empty
// when it is absent, so tests can GTEST_SKIP().
std::filesystem::path FixturesDir();

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
