#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../KindStreamTest.h"
#include "document/LnParam.h"
#include "document/TaggedStream.h"
#include "items/road/LineRazmetItem.h"
#include "support/TestSupport.h"

namespace vellmar::test {
namespace {

constexpr int32_t kLineRazmet = 10;

void WriteMarking(TStream& s, const char* name, bool mirror) {
  WriteIdent(s, "LNRMGOST");
  WriteString(s, name);
  WriteIdent(s, "LNRMMIRR");
  WriteFlag(s, mirror);
}

using LineRazmetTest = KindStreamTest;

// The name finds its record in the street's library, exactly and case-sensitively; a
// name the library lacks draws as the unknown marking and is saved unchanged.
TEST_F(LineRazmetTest, NameFindsItsLibraryRecordOrIsKeptUnknown) {
  for (const char* name : {"1.1", "1.5", "1.11"}) {
    LnParam record;
    SetShortString(record.Name, name);
    street.LineParams().push_back(record);
  }
  const struct {
    const char* Name;
    int32_t Index;
  } cases[] = {{"1.5", 1}, {"1.11", 2}, {"1.1", 0}, {"1.1 ", -1}, {"2.7", -1}, {"", -1}};
  for (const auto& c : cases) {
    TMemoryStream stored;
    WriteItemHead(stored, kLineRazmet, 2);
    WriteMarking(stored, c.Name, false);
    TAbstractItem* item = LoadItem(kLineRazmet, stored);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(As<TLineRazmetItem>(*item).ParamIndex(), c.Index) << c.Name;
    EXPECT_EQ(Save(*item), BytesOf(stored)) << c.Name;
  }
}

// A street read without a library of its own takes the default library file's.
TEST_F(LineRazmetTest, EmptyStreetLibraryIsFilledFromTheDefaultFile) {
  TempDir data;
  std::filesystem::create_directories(data / "Разметка");
  std::ofstream(data / "Разметка" / "Default.LnRazmet") << "[1.1]\r\nPeriod=3\r\n[1.5]\r\nPeriod=12\r\n";
  ScopedDataVariable root(data.Path().c_str());
  TMemoryStream stored;
  WriteItemHead(stored, kLineRazmet, 2);
  WriteMarking(stored, "1.5", false);
  TAbstractItem* item = LoadItem(kLineRazmet, stored);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(As<TLineRazmetItem>(*item).ParamIndex(), 1);
  ASSERT_EQ(street.LineParams().size(), 2u);
  EXPECT_EQ(street.LineParams()[1].Period, 12.0f);
}

}  // namespace
}  // namespace vellmar::test
