// The seed inputs of fuzz/MetafileFuzz.cpp are the sample metafiles of these tests,
// so they stay in step with the samples.
//   VELLMAR_WRITE_SEEDS=1 platform_tests --gtest_filter='MetafileSeeds.*'
// rewrites the committed files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "MetafileSamples.h"

namespace vellmar {

TEST(MetafileSeeds, CommittedSeedsAreTheSampleMetafiles) {
  const auto dir = std::filesystem::path(__FILE__).parent_path() / "../../../fuzz/corpus/MetafileFuzz";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no source tree beside the test";
  const std::map<std::string, std::vector<uint8_t>> seeds = {
      {"enhanced.emf", test::EnhancedSample({0, 0, 2540, 5080}, {0, 0, 95, 191})},
      {"enhanced-bounds.emf", test::EnhancedSample({0, 0, 0, 0}, {0, 0, 399, 199})},
      {"placeable.wmf", test::PlaceableSample({0, 0, 1440, 720}, 1440)},
      {"windows.wmf", test::WindowsSample(true)},
  };
  const bool rewrite = std::getenv("VELLMAR_WRITE_SEEDS") != nullptr;
  for (const auto& [name, bytes] : seeds) {
    const auto path = dir / name;
    if (rewrite) {
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> stored{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(stored, bytes) << name << " is stale; rewrite it with VELLMAR_WRITE_SEEDS=1";
  }
}

}  // namespace vellmar
