// vellmar-demo, run as its users run it: the committed examples/demo.pln is what it
// writes, the street holds every kind, and it goes through load and save unchanged.
//   VELLMAR_WRITE_EXAMPLES=1 apps_tests --gtest_filter='DemoStreet.*'
// rewrites the committed copy.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "support/TestSupport.h"
#include "underlay/AllKinds.h"

namespace vellmar {
namespace {

std::vector<char> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DemoStreet : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string command = std::string(VELLMAR_DEMO_TOOL) + " '" + written.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  test::TempDir scratch;
  std::filesystem::path written = scratch / "demo.pln";
};

TEST_F(DemoStreet, CommittedCopyIsWhatTheGeneratorWrites) {
  const std::filesystem::path committed =
      std::filesystem::path(__FILE__).parent_path() / "../../examples/demo.pln";
  if (!std::filesystem::is_directory(committed.parent_path()))
    GTEST_SKIP() << "no source tree beside the test";
  if (std::getenv("VELLMAR_WRITE_EXAMPLES") != nullptr)
    std::filesystem::copy_file(written, committed, std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(FileBytes(committed), FileBytes(written)) << "rewrite it with VELLMAR_WRITE_EXAMPLES=1";
}

TEST_F(DemoStreet, HoldsEveryKindAndSavesBackByteForByte) {
  RegisterAllKinds();
  TStreetStructure street;
  street.LoadFromFile(written);
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    EXPECT_GE(street.ItemList(kind).Count(), 1) << "kind " << kind;
  }
  EXPECT_NE(street.ViewScale(), 0.0f) << "the stored view fits the street";
  const std::filesystem::path copy = scratch / "copy.pln";
  street.SaveToFile(copy);
  EXPECT_EQ(FileBytes(copy), FileBytes(written));
}

}  // namespace
}  // namespace vellmar
