#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/MemoryStream.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

std::vector<std::uint8_t> Written(const std::function<void(TStream&)>& write) {
  TMemoryStream stream;
  write(stream);
  return stream.TakeBytes();
}

TMemoryStream Over(const std::vector<std::uint8_t>& bytes) {
  return TMemoryStream(std::span(bytes));
}

// Every byte value once, as Windows-1251 text: Cyrillic letters included.
std::string AllBytes() {
  std::string text;
  for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

const std::string kCyrillic = "\xD3\xEB\xE8\xF6\xE0 \xCB\xE5\xED\xE8\xED\xE0";  // "Улица Ленина" in 1251
const TKindSet kKinds{0, 9, 31, 40, 47};
const std::vector<std::string> kLines{"UpdateAllEdges=1", "", "ZnakScale=120", kCyrillic};
const std::vector<TObjectRef> kReferences{{TIdent("AXIS    "), 7}, TObjectRef{}, {TIdent("BORT    "), -5}};

// One of every primitive, written the way a street is: required idents, optional
// chunks, nested lists.
void WriteSample(TStream& s) {
  WriteIdent(s, "TAGSSIZE");
  WriteInt32(s, 8);
  WriteIdent(s, "STREET  ");
  WriteInt32(s, std::numeric_limits<std::int32_t>::min());
  WriteInt32(s, std::numeric_limits<std::int32_t>::max());
  WriteFlag(s, true);
  WriteFlag(s, false);
  WriteSingle(s, -1.5f);
  WriteDouble(s, 6378137.125);
  WriteString(s, "");
  WriteString(s, kCyrillic);
  WriteString(s, AllBytes());
  WriteTextList(s, kLines);
  WriteKindSet(s, kKinds, 8);
  WriteKindSet(s, TKindSet{3, 30}, 4);
  WriteObjectRef(s, TObjectRef{});
  WriteCountedList(s, kReferences, WriteObjectRef);
  WriteIdent(s, "PNTLIST ");
}

// Reads the sample back; a missing required ident raises like a real reader does.
void ReadSample(TStream& s) {
  const auto require = [&](const TIdent& ident) {
    if (!TestIdent(s, ident)) throw EVellmarError("TSample.Read: Ident<>" + ident.Text());
  };
  EXPECT_FALSE(TestIdent(s, "STREET  "));
  require("TAGSSIZE");
  const std::int32_t tagsSize = ReadTagsSize(s);
  EXPECT_EQ(tagsSize, 8);
  EXPECT_FALSE(TestIdent(s, "STRNAME "));
  require("STREET  ");
  EXPECT_EQ(ReadInt32(s), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ReadInt32(s), std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(ReadFlag(s));
  EXPECT_FALSE(ReadFlag(s));
  EXPECT_EQ(ReadSingle(s), -1.5f);
  EXPECT_EQ(ReadDouble(s), 6378137.125);
  EXPECT_EQ(ReadString(s), "");
  EXPECT_EQ(ReadString(s), kCyrillic);
  EXPECT_EQ(ReadString(s), AllBytes());
  EXPECT_EQ(ReadTextList(s), kLines);
  EXPECT_EQ(ReadKindSet(s, tagsSize), kKinds);
  EXPECT_EQ(ReadKindSet(s, 4), (TKindSet{3, 30}));
  EXPECT_TRUE(ReadObjectRef(s).IsEmpty());
  EXPECT_EQ(ReadCountedList(s, kObjectRefBytes, ReadObjectRef), kReferences);
  require("PNTLIST ");
  EXPECT_EQ(s.Remaining(), 0);
}

}  // namespace

TEST(TaggedStream, EveryPrimitiveRoundTripsThroughMemoryAndFile) {
  TMemoryStream memory;
  WriteSample(memory);
  memory.SetPosition(0);
  ReadSample(memory);

  test::TempDir dir;
  const auto path = dir / "sample.pln";
  {
    TFileStream out(path, TFileMode::Create);
    WriteSample(out);
    out.Close();
  }
  // A tiny buffer puts buffer edges inside values and idents.
  for (const std::size_t bufferSize : {std::size_t{3}, TFileStream::kDefaultBufferSize}) {
    TFileStream in(path, TFileMode::OpenRead, bufferSize);
    EXPECT_EQ(in.Size(), memory.Size());
    ReadSample(in);
  }
}

TEST(TaggedStream, ValuesHaveTheirStoredLayout) {
  EXPECT_EQ(Written([](TStream& s) { WriteInt32(s, 0x01020304); }), (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(Written([](TStream& s) { WriteString(s, "ab"); }),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 'a', 'b'}));
  EXPECT_EQ(Written([](TStream& s) { WriteString(s, ""); }), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Written([](TStream& s) { WriteFlag(s, true); }), (std::vector<std::uint8_t>{1}));
  EXPECT_EQ(Written([](TStream& s) { WriteSingle(s, 1.0f); }), (std::vector<std::uint8_t>{0, 0, 0x80, 0x3F}));
  EXPECT_EQ(Written([](TStream& s) { WriteDouble(s, 1.0); }),
            (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  EXPECT_EQ(Written([](TStream& s) { WriteObjectRef(s, TObjectRef{}); }),
            (std::vector<std::uint8_t>{'E', 'M', 'P', 'T', 'Y', 'C', 'L', 'S', 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Written([](TStream& s) {
              WriteTextList(s, {"a", "b"});
            }),
            (std::vector<std::uint8_t>{6, 0, 0, 0, 'a', '\r', '\n', 'b', '\r', '\n'}));
  EXPECT_EQ(Written([](TStream& s) {
              WriteKindSet(s, TKindSet{0, 9, 47}, 8);
            }),
            (std::vector<std::uint8_t>{0x01, 0x02, 0, 0, 0, 0x80, 0, 0}));
  EXPECT_EQ(Written([](TStream& s) {
              WriteKindSet(s, TKindSet{0, 31}, 4);
            }),
            (std::vector<std::uint8_t>{0x01, 0, 0, 0x80}));
}

TEST(TaggedStream, TestIdentRewindsOnlyAfterAFullMismatch) {
  const std::vector<std::uint8_t> bytes{'S', 'T', 'R', 'E', 'E', 'T', ' ', ' ', 'I', 'T', 'E'};
  auto s = Over(bytes);
  EXPECT_FALSE(TestIdent(s, "ITEM    "));
  EXPECT_EQ(s.Position(), 0);
  EXPECT_TRUE(TestIdent(s, "STREET  "));
  EXPECT_EQ(s.Position(), 8);
  // Only three bytes are left: the test fails and the stream stays behind them.
  EXPECT_FALSE(TestIdent(s, "ITEM    "));
  EXPECT_EQ(s.Position(), 11);
  EXPECT_FALSE(TestIdent(s, "ITEM    "));
  EXPECT_EQ(s.Position(), 11);
}

TEST(TaggedStream, AnyNonZeroFlagByteIsTrue) {
  const std::vector<std::uint8_t> bytes{0, 1, 2, 0xFF};
  auto s = Over(bytes);
  EXPECT_FALSE(ReadFlag(s));
  EXPECT_TRUE(ReadFlag(s));
  EXPECT_TRUE(ReadFlag(s));
  EXPECT_TRUE(ReadFlag(s));
}

TEST(TaggedStream, TextListsSplitAtEveryKindOfLineBreak) {
  const auto lines = [](const std::string& text) {
    auto bytes = Written([&](TStream& s) { WriteString(s, text); });
    auto s = Over(bytes);
    return ReadTextList(s);
  };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(lines(""), Lines{});
  EXPECT_EQ(lines("a"), Lines{"a"});
  EXPECT_EQ(lines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(lines("a\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(lines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(lines("\r\n"), Lines{""});
  EXPECT_EQ(lines("a\n\r"), (Lines{"a", ""}));
}

TEST(TaggedStream, KindSetWidthDecidesWhatIsStoredAndRead) {
  const std::vector<std::uint8_t> ones(8, 0xFF);
  auto four = Over(ones);
  const TKindSet narrow = ReadKindSet(four, 4);
  EXPECT_EQ(four.Position(), 4);
  for (int kind = 0; kind < TKindSet::kKinds; ++kind) EXPECT_EQ(narrow.Contains(kind), kind < 32) << kind;

  // Bytes 7 and 8 of a wide set carry nothing.
  const std::vector<std::uint8_t> wide{0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF};
  auto eight = Over(wide);
  EXPECT_EQ(ReadKindSet(eight, 8), TKindSet{47});

  // A kind that the width cannot hold must not vanish silently on save.
  TMemoryStream out;
  EXPECT_THROW(WriteKindSet(out, TKindSet{32}, 4), EVellmarError);
  EXPECT_THROW(TKindSet{48}, EVellmarError);
  EXPECT_FALSE(TKindSet{}.Contains(-1));
}

TEST(TaggedStream, TagsSizeOutsideFourToEightIsRejected) {
  for (const std::int32_t size : {-1, 0, 3, 9, 1 << 30}) {
    const auto bytes = Written([&](TStream& s) {
      WriteInt32(s, size);
      WriteInt32(s, 0);
      WriteInt32(s, 0);
    });
    auto s = Over(bytes);
    try {
      ReadTagsSize(s);
      FAIL() << size;
    } catch (const EVellmarError& e) {
      EXPECT_EQ(std::string(e.what()),
                "TStream.ReadTagsSize: TagsSize " + std::to_string(size) + " outside 4..8");
    }
    EXPECT_THROW(ReadKindSet(s, size), EVellmarError);
  }
}

// A damaged length must be rejected before anything is allocated for it.
TEST(TaggedStream, ImpossibleLengthsAndCountsRaise) {
  const auto message = [](std::int32_t value, const std::function<void(TStream&)>& read) {
    auto bytes = Written([&](TStream& s) {
      WriteInt32(s, value);
      s.Write("0123456789", 10);
    });
    auto s = Over(bytes);
    try {
      read(s);
    } catch (const EVellmarError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const auto readString = [](TStream& s) { ReadString(s); };
  const auto readPoints = [](TStream& s) { ReadCount(s, 28); };
  EXPECT_EQ(message(123456789, readString), "TStream.ReadString: length 123456789 exceeds the 10 bytes left");
  EXPECT_EQ(message(11, readString), "TStream.ReadString: length 11 exceeds the 10 bytes left");
  EXPECT_EQ(message(-1, readString), "TStream.ReadString: negative length -1");
  EXPECT_EQ(message(std::numeric_limits<std::int32_t>::min(), readString),
            "TStream.ReadString: negative length -2147483648");
  EXPECT_EQ(message(-7, readPoints), "TStream.ReadCount: negative count -7");
  EXPECT_EQ(message(1, readPoints),
            "TStream.ReadCount: count 1 of 28-byte entries exceeds the 10 bytes left");
  EXPECT_EQ(
      message(std::numeric_limits<std::int32_t>::max(), [](TStream& s) { ReadCountedList(s, 0, ReadFlag); }),
      "TStream.ReadCount: count 2147483647 of 1-byte entries exceeds the 10 bytes left");
  EXPECT_EQ(message(10, [](TStream& s) { EXPECT_EQ(ReadString(s), "0123456789"); }), "no error");
}

// A file cut anywhere - inside a value, a length, an ident - must raise, never
// crash, read garbage lengths or succeed.
TEST(TaggedStream, StreamCutAtAnyByteRaises) {
  const auto bytes = Written(WriteSample);
  test::TempDir dir;
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    auto s = Over(head);
    EXPECT_THROW(ReadSample(s), EVellmarError);
    if (cut % 37 == 0) {
      const auto path = dir / "cut.pln";
      {
        TFileStream out(path, TFileMode::Create);
        out.Write(head.data(), head.size());
      }
      TFileStream in(path, TFileMode::OpenRead, 5);
      EXPECT_THROW(ReadSample(in), EVellmarError);
    }
  }
}

TEST(TaggedStream, CutValuesNameTheirOperation) {
  const std::vector<std::uint8_t> three{1, 2, 3};
  auto s = Over(three);
  try {
    ReadDouble(s);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TStream.ReadDouble: needs 8 bytes at 0, only 3 left");
  }
}

}  // namespace vellmar
