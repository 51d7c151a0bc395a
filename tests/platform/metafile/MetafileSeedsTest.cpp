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
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {

TEST(MetafileSeeds, CommittedSeedsAreTheSampleMetafiles) {
  const auto dir = test::SourceDir() / "fuzz/corpus/MetafileFuzz";
  if (!std::filesystem::is_directory(dir)) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  const std::map<std::string, std::vector<uint8_t>> seeds = {
      {"enhanced.emf", test::EnhancedSample({0, 0, 2540, 5080}, {0, 0, 95, 191})},
      {"enhanced-bounds.emf", test::EnhancedSample({0, 0, 0, 0}, {0, 0, 399, 199})},
      {"placeable.wmf", test::PlaceableSample({0, 0, 1440, 720}, 1440)},
      {"windows.wmf", test::WindowsSample(true)},
  };
  for (const auto& [name, bytes] : seeds) EXPECT_TRUE(test::IsCommittedFile(dir / name, bytes));
}

}  // namespace vellmar
