// The large street the load benchmark measures (a million points, shared by a hundred
// thousand items) goes through load and save unchanged: the fast paths of the point
// table, the point lists and the item lists write what they read.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "support/BenchmarkStreet.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

TEST(BenchmarkStreetRoundTrip, SavesBackByteForByte) {
  RegisterAllItemKinds();
  test::TempDir scratch;
  const std::filesystem::path written = scratch / "street.pln";
  const std::filesystem::path copy = scratch / "copy.pln";
  test::WriteBenchmarkStreet(written);
  {
    TStreetStructure street;
    street.LoadFromFile(written);
    ASSERT_EQ(street.Points().Count(), 1'000'000);
    street.SaveToFile(copy);
  }
  const std::vector<uint8_t> original = test::FileBytes(written);
  const std::vector<uint8_t> saved = test::FileBytes(copy);
  ASSERT_EQ(saved.size(), original.size());
  // The header differs by the view scale alone (the generator's street has none, and a
  // stored 0 loads as the default); from the point table on, every byte is the same.
  const std::string table = "PNTSTRCT";
  const auto from = std::search(original.begin(), original.end(), table.begin(), table.end());
  ASSERT_NE(from, original.end());
  const auto differs = std::mismatch(from, original.end(), saved.begin() + (from - original.begin())).first;
  EXPECT_TRUE(differs == original.end()) << "first difference at byte " << (differs - original.begin());
}

}  // namespace
}  // namespace vellmar
