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
#include "items/design/DesignBlockItem.h"
#include "items/road/ArrowLibrary.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/signs/ZnakItem.h"
#include "kinds/AllKinds.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

// The demo's markings, arrows and signs take their types from the bundled libraries, so
// the demo is written and read with them, as a user's program finds them.
const std::filesystem::path kBundledData = test::SourceDir() / "data/DataFiles";

class DemoStreet : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kBundledData)) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
    const std::string command = std::string(VELLMAR_DEMO_TOOL) + " '" + written.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  test::ScopedDataVariable data{kBundledData.c_str()};
  test::TempDir scratch;
  std::filesystem::path written = scratch / "demo.pln";
};

TEST_F(DemoStreet, CommittedCopyIsWhatTheGeneratorWrites) {
  const std::filesystem::path committed = test::SourceDir() / "examples/demo.pln";
  EXPECT_TRUE(test::IsCommittedFile(committed, test::FileBytes(written), "VELLMAR_WRITE_EXAMPLES"));
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
  EXPECT_EQ(test::FileBytes(copy), test::FileBytes(written));
}

// Items without a type draw as errors (the red stripe) or not at all.
TEST_F(DemoStreet, EveryItemDrawnFromALibraryHasATypeThere) {
  RegisterAllKinds();
  TStreetStructure street;
  street.LoadFromFile(written);
  const auto items = [&](int32_t kind) {
    std::vector<TAbstractItem*> all;
    for (int32_t i = 0; i < street.ItemList(kind).Count(); ++i) all.push_back(street.ItemList(kind).Items(i));
    return all;
  };
  for (TAbstractItem* item : items(TLineRazmetItem::kKindIndex)) {
    EXPECT_GE(dynamic_cast<TLineRazmetItem&>(*item).ParamIndex(), 0) << item->ID();
  }
  for (TAbstractItem* item : items(11)) {
    EXPECT_GE(ArrowLibrary().IndexOf(dynamic_cast<TArrowRazmetItem&>(*item).ArrowName()), 0);
  }
  for (TAbstractItem* item : items(16)) EXPECT_NE(dynamic_cast<TRazmetZnakItem&>(*item).SignName(), "");
  for (TAbstractItem* item : items(20)) EXPECT_NE(dynamic_cast<TDesignBlockItem&>(*item).BlockName(), "");
  for (TAbstractItem* item : items(22)) {
    EXPECT_EQ(item->Points().Count(), 3);
    EXPECT_GE(dynamic_cast<TZnakItem&>(*item).PlateCount(), 1);
  }
}

}  // namespace
}  // namespace vellmar
