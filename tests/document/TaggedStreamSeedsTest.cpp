// The seed inputs of fuzz/TaggedStreamFuzz.cpp are made here by the stream writers,
// so they stay valid streams as the format code changes. Each seed is a header byte
// (program length - 1, bit 4 for 4-byte kind sets), the operation bytes of the fuzz
// program, then a stream that those operations read whole.
//   VELLMAR_WRITE_SEEDS=1 document_tests --gtest_filter='TaggedStreamSeeds.*'
// rewrites the committed files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "document/TaggedStream.h"
#include "platform/MemoryStream.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

// Operation numbers of the fuzz program; an ident test chooses its ident by op / 13.
enum Op : std::uint8_t {
  kTestStreet = 0,
  kReadIdent = 1,
  kInt32 = 2,
  kFlag = 3,
  kSingle = 4,
  kDouble = 5,
  kString = 6,
  kTextList = 7,
  kKindSet = 8,
  kObjectRef = 9,
  kInt32List = 10,
  kTagsSize = 11,
  kObjectRefList = 12,
  kTestItem = 13,
  kTestPointList = 26,
};

std::vector<std::uint8_t> Seed(std::vector<std::uint8_t> program, bool narrowKinds,
                               const std::function<void(TStream&)>& write) {
  TMemoryStream s;
  const auto header = static_cast<std::uint8_t>((program.size() - 1) | (narrowKinds ? 0x10 : 0));
  s.Write(&header, 1);
  s.Write(program.data(), program.size());
  write(s);
  return s.TakeBytes();
}

std::map<std::string, std::vector<std::uint8_t>> Seeds() {
  const std::string cyrillic = "\xCF\xEE\xE4\xEB\xEE\xE6\xEA\xE0";  // "Подложка" in 1251
  std::map<std::string, std::vector<std::uint8_t>> seeds;
  seeds["values"] = Seed({kInt32, kFlag, kSingle, kDouble}, false, [](TStream& s) {
    for (int i = 0; i < 3; ++i) {
      WriteInt32(s, -i * 1000003);
      WriteFlag(s, i % 2 == 0);
      WriteSingle(s, 0.25f * static_cast<float>(i));
      WriteDouble(s, 1e300 / (i + 1));
    }
  });
  seeds["strings"] = Seed({kString, kTextList}, false, [&](TStream& s) {
    WriteString(s, cyrillic);
    WriteTextList(s, {"UpdateAllEdges=1", "ZnakScale=120", ""});
    WriteString(s, "");
    WriteTextList(s, {cyrillic + "=ON"});
  });
  seeds["kinds8"] = Seed({kTagsSize, kKindSet, kKindSet}, false, [](TStream& s) {
    WriteInt32(s, 8);
    WriteKindSet(s, TKindSet{0, 7, 40}, 8);
    WriteKindSet(s, TKindSet{1, 47}, 8);
  });
  seeds["kinds4"] = Seed({kTagsSize, kKindSet}, true, [](TStream& s) {
    WriteInt32(s, 4);
    WriteKindSet(s, TKindSet{2, 31}, 4);
  });
  seeds["references"] =
      Seed({kTestStreet, kTestItem, kReadIdent, kObjectRef, kObjectRefList}, false, [](TStream& s) {
        WriteIdent(s, "STREET  ");
        WriteIdent(s, "ITEM    ");
        WriteIdent(s, "ZEBRA   ");
        WriteObjectRef(s, TObjectRef{});
        WriteCountedList(s, std::vector<TObjectRef>{{"AXIS    ", 3}, {}}, WriteObjectRef);
      });
  seeds["points"] = Seed({kTestPointList, kInt32List}, false, [](TStream& s) {
    WriteIdent(s, "PNTLIST ");
    WriteCountedList(s, std::vector<std::int32_t>{1, 2, 3, 5, 8}, WriteInt32);
  });
  return seeds;
}

}  // namespace

TEST(TaggedStreamSeeds, CommittedSeedsAreWhatTheWritersMake) {
  const auto dir = test::SourceDir() / "fuzz/corpus/TaggedStreamFuzz";
  if (!std::filesystem::is_directory(dir)) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  for (const auto& [name, bytes] : Seeds()) {
    const auto path = dir / name;
    EXPECT_TRUE(test::IsCommittedFile(path, bytes));
  }
}

}  // namespace vellmar
