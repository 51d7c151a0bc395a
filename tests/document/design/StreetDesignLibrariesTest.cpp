#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/design/DesignLibraries.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/DsnLineDefList.h"
#include "platform/MemoryStream.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

using TSlot = TStreetLibrary::TSlot;

bool Contains(std::span<const uint8_t> bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class StreetDesignLibraries : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterItemKinds();
    RegisterDesignLibraries();
  }
  // Other tests of this program expect streets without libraries.
  void TearDown() override {
    for (TSlot slot : {TSlot::Blocks, TSlot::Lines, TSlot::Figures})
      TStreetLibrary::RegisterFactory(slot, nullptr);
  }

  static TDsnBlockDefList& Blocks(TStreetStructure& street) {
    return dynamic_cast<TDsnBlockDefList&>(*street.Library(TSlot::Blocks));
  }
  static TDsnLineDefList& Lines(TStreetStructure& street) {
    return dynamic_cast<TDsnLineDefList&>(*street.Library(TSlot::Lines));
  }
  static TDsnFigDefList& Figures(TStreetStructure& street) {
    return dynamic_cast<TDsnFigDefList&>(*street.Library(TSlot::Figures));
  }
};

TEST_F(StreetDesignLibraries, StreetKeepsItsLibrariesThroughSaveAndLoad) {
  TStreetStructure street;
  street.SetView({0, 0, 0}, 0.5f, 0.0f);  // a new street's scale 0 would load as 0.01
  TDsnBlockDef& block = Blocks(street).Add();
  block.SetName("Tree");
  block.SetWidth(2.0f);
  block.SetAnchor(8, 15);
  Lines(street).Add().SetName("Fence");

  TMemoryStream first;
  street.SaveToStream(first);
  // The block library is always written, the others only with definitions.
  EXPECT_TRUE(Contains(first.Bytes(), "BLOCKDEFBLOCKLST"));
  EXPECT_TRUE(Contains(first.Bytes(), "DSNLNDEFDSNLNLST"));
  EXPECT_FALSE(Contains(first.Bytes(), "DSNFGDEF"));

  TStreetStructure loaded;
  first.SetPosition(0);
  loaded.LoadFromStream(first);
  ASSERT_EQ(Blocks(loaded).Count(), 1);
  EXPECT_EQ(Blocks(loaded).Item(0).AnchorY(), 15);
  EXPECT_EQ(Lines(loaded).IndexOfName("Fence"), 0);
  EXPECT_EQ(Figures(loaded).Count(), 0);

  TMemoryStream second;
  loaded.SaveToStream(second);
  EXPECT_TRUE(std::ranges::equal(first.Bytes(), second.Bytes()));
}

// The street fuzzer's seed with all three libraries, made here by the writers:
//   VELLMAR_WRITE_SEEDS=1 document_tests --gtest_filter='StreetDesignLibraries.*'
// rewrites it.
TEST_F(StreetDesignLibraries, CommittedFuzzSeedIsWhatTheWritersMake) {
  const auto path = test::SourceDir() / "fuzz/corpus/StreetFuzz/design";
  if (!std::filesystem::is_directory(path.parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  TStreetStructure street;
  street.SetView({0, 0, 0}, 0.5f, 0.0f);
  TDsnBlockDef& block = Blocks(street).Add();
  block.SetName("Tree");
  block.SetBitmap(TBitmap(4, 4, TPixelFormat::pf8bit));
  TDsnLineDef& line = Lines(street).Add();
  line.SetBitmap(TLinePart::Start, TBitmap(2, 1, TPixelFormat::pf24bit));
  line.SetBitmap(TLinePart::Repeat, TBitmap(4, 1, TPixelFormat::pf1bit));
  Lines(street).Add().SetBitmap(TLinePart::Repeat, TBitmap(3, 2, TPixelFormat::pf32bit));
  Figures(street).Add().SetBitmap(TBitmap(2, 2, TPixelFormat::pf16bit));
  TMemoryStream out;
  street.SaveToStream(out);
  const std::vector<uint8_t> bytes(out.Bytes().begin(), out.Bytes().end());

  EXPECT_TRUE(test::IsCommittedFile(path, bytes));
}

}  // namespace
}  // namespace vellmar
