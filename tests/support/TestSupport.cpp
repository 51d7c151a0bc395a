#include "support/TestSupport.h"

#include "support/Prerequisite.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace vellmar::test {

std::filesystem::path FixturesDir() {
  std::filesystem::path dir = std::filesystem::path(VELLMAR_SHARED_DIR) / "fixtures";
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

std::filesystem::path SourceDir() {
  return VELLMAR_SOURCE_DIR;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("vellmar-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
                    std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedDataVariable::ScopedDataVariable(const char* value) {
  if (const char* old = std::getenv("VELLMAR_DATA")) old_ = old;
  if (value) {
    setenv("VELLMAR_DATA", value, 1);
  } else {
    unsetenv("VELLMAR_DATA");
  }
}

ScopedDataVariable::~ScopedDataVariable() {
  if (old_) {
    setenv("VELLMAR_DATA", old_->c_str(), 1);
  } else {
    unsetenv("VELLMAR_DATA");
  }
}

bool MissingIsFailure() {
  const auto set = [](const char* name, std::string_view value) {
    const char* actual = std::getenv(name);
    return actual != nullptr && actual == value;
  };
  return set("CI", "true") || set("VELLMAR_STRICT_TESTS", "1");
}

std::string Quote(const std::filesystem::path& path) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about a literal
  // joined to a string with operator+.
  std::string quoted = "'";
  quoted += path.string();
  quoted += '\'';
  return quoted;
}

}  // namespace vellmar::test
