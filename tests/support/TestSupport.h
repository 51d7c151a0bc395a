#pragma once
// Helpers shared by the test programs: where the real-world fixtures are, and
// scratch directories that clean themselves up.

#include <filesystem>
#include <string>

namespace vellmar::test {

// The shared fixtures folder (../shared/fixtures beside the repository); empty
// when it is absent, so tests can GTEST_SKIP().
std::filesystem::path FixturesDir();

// A fresh directory under the system temporary directory, removed on destruction.
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

}  // namespace vellmar::test
