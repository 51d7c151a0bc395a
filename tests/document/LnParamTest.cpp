#include "document/LnParam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

void Put(std::vector<uint8_t>& bytes, const void* value, std::size_t size) {
  const auto* p = static_cast<const uint8_t*>(value);
  bytes.insert(bytes.end(), p, p + size);
}

void PutInt(std::vector<uint8_t>& bytes, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

void PutText(std::vector<uint8_t>& bytes, const std::string& text) {
  for (char c : text) bytes.push_back(static_cast<uint8_t>(c));
}

// The 788 stored bytes of a marking "1.1" laid out field by field, followed by
// `extra` bytes of 0xEE when a writer stored longer records.
std::vector<uint8_t> RecordBytes(std::size_t extra = 0) {
  // Made at its full size at once: growing it afterwards draws a false -Warray-bounds
  // from GCC 12 at -O3.
  std::vector<uint8_t> bytes(788 + extra, 0xEE);
  std::fill_n(bytes.begin(), 788, uint8_t{0});
  bytes[0] = 3;
  std::memcpy(&bytes[1], "1.1", 3);
  bytes[256] = 5;
  std::memcpy(&bytes[257], "a.bmp", 5);
  const float period = 3, disp1 = 0.05f, disp2 = -0.05f, sq = 0.5f;
  std::memcpy(&bytes[512], &period, 4);
  std::memcpy(&bytes[516], &disp1, 4);
  std::memcpy(&bytes[520], &disp2, 4);
  bytes[524] = 1;
  bytes[525] = 'd';
  std::memcpy(&bytes[780], &sq, 4);
  bytes[784] = 1;  // FullPeriods
  bytes[785] = 1;  // Yellow
  bytes[787] = 1;  // CountItems
  return bytes;
}

LnParam Record() {
  LnParam param;
  SetShortString(param.Name, "1.1");
  SetShortString(param.TextureFile, "a.bmp");
  param.Period = 3;
  param.Disp1 = 0.05f;
  param.Disp2 = -0.05f;
  SetShortString(param.Description, "d");
  param.SqCoeff = 0.5f;
  param.FullPeriods = 1;
  param.Yellow = 1;
  param.CountItems = 1;
  return param;
}

std::vector<uint8_t> Table(int32_t count, int32_t size, const std::vector<uint8_t>& record) {
  std::vector<uint8_t> bytes;
  PutText(bytes, "LNPARAMS");
  PutInt(bytes, count);
  PutInt(bytes, size);
  for (int32_t i = 0; i < count && !record.empty(); ++i) Put(bytes, record.data(), record.size());
  PutText(bytes, "ARROWBIG");
  return bytes;
}

std::string ReadError(const std::vector<uint8_t>& bytes, TLnParams& params) {
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  try {
    ReadLnParams(stream, params);
  } catch (const EVellmarError& e) {
    return e.what();
  }
  return "read";
}

}  // namespace

TEST(LnParam, WrittenTableIsTheStoredLayoutByteForByte) {
  TMemoryStream out;
  WriteLnParams(out, {Record(), Record()});
  EXPECT_EQ(std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()), [] {
    auto table = Table(2, 788, RecordBytes());
    table.resize(table.size() - 8);
    return table;
  }());

  TMemoryStream empty;
  WriteLnParams(empty, {});
  EXPECT_EQ(empty.Size(), 16);
}

TEST(LnParam, StoredRecordsReadIntoTheirFieldsAndTheNextChunkFollows) {
  const auto bytes = Table(2, 788, RecordBytes());
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TLnParams params;
  ReadLnParams(stream, params);
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[1], Record());
  EXPECT_EQ(ShortStringText(params[0].Name), "1.1");
  EXPECT_EQ(ShortStringText(params[0].TextureFile), "a.bmp");
  EXPECT_FLOAT_EQ(params[0].Disp2, -0.05f);
  EXPECT_EQ(params[0].Plastic, 0);
  EXPECT_TRUE(TestIdent(stream, "ARROWBIG"));
}

TEST(LnParam, AbsentTableLeavesStreamAndLibraryAlone) {
  std::vector<uint8_t> bytes;
  PutText(bytes, "ARROWBIG");
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TLnParams params{Record()};
  ReadLnParams(stream, params);
  EXPECT_EQ(params.size(), 1u);
  EXPECT_EQ(stream.Position(), 0);

  const auto emptyTable = Table(0, 788, {});
  TMemoryStream emptyStream{std::span<const uint8_t>(emptyTable)};
  ReadLnParams(emptyStream, params);
  EXPECT_TRUE(params.empty());
}

// Records of another size must neither overrun the 788-byte record nor lose the
// stream's place, or every chunk after the table would be misread.
TEST(LnParam, OtherRecordSizesReadTheCommonPartAndSkipTheRest) {
  TLnParams params;
  const auto longer = Table(2, 800, RecordBytes(12));
  TMemoryStream longerStream{std::span<const uint8_t>(longer)};
  ReadLnParams(longerStream, params);
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0], Record());
  EXPECT_EQ(params[1], Record());
  EXPECT_TRUE(TestIdent(longerStream, "ARROWBIG"));

  auto shortRecord = RecordBytes();
  shortRecord.resize(500);
  const auto shorter = Table(2, 500, shortRecord);
  TMemoryStream shorterStream{std::span<const uint8_t>(shorter)};
  ReadLnParams(shorterStream, params);
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(ShortStringText(params[1].Name), "1.1");
  EXPECT_EQ(ShortStringText(params[1].TextureFile), "a.bmp");
  EXPECT_EQ(params[1].Period, 0);
  EXPECT_EQ(ShortStringText(params[1].Description), "");
  EXPECT_EQ(params[1].Yellow, 0);
  EXPECT_TRUE(TestIdent(shorterStream, "ARROWBIG"));
}

TEST(LnParam, DamagedTablesRaiseAndKeepTheLibrary) {
  TLnParams params{Record()};
  EXPECT_EQ(ReadError(Table(1, 0, {}), params), "ReadLnParams: record size 0 is below 1");
  EXPECT_EQ(ReadError(Table(0, -788, {}), params), "ReadLnParams: record size -788 is below 1");
  EXPECT_EQ(ReadError(Table(-1, 788, {}), params),
            "ReadLnParams: -1 records of 788 bytes do not fit the 8 bytes left");
  EXPECT_EQ(ReadError(Table(0x7FFFFFFF, 788, {}), params),
            "ReadLnParams: 2147483647 records of 788 bytes do not fit the 8 bytes left");
  auto truncated = Table(2, 788, RecordBytes());
  truncated.resize(truncated.size() - 8 - 1);
  EXPECT_NE(ReadError(truncated, params).find("do not fit"), std::string::npos);
  EXPECT_EQ(ReadError(Table(kMaxLnParams + 1, 1, {0}), params).substr(0, 34),
            "ReadLnParams: 65537 records are mo");
  ASSERT_EQ(params.size(), 1u);
  EXPECT_EQ(params[0], Record());
}

TEST(LnParam, FindIsExactCaseSensitiveAndTakesTheFirst) {
  TLnParams params(3, Record());
  SetShortString(params[0].Name, "1.2");
  SetShortString(params[2].Name, "1.1");
  params[2].Yellow = 0;
  EXPECT_EQ(FindLnParam("1.1", params), 1);
  EXPECT_EQ(FindLnParam("1.2", params), 0);
  EXPECT_EQ(FindLnParam("1.1 ", params), -1);
  EXPECT_EQ(FindLnParam("", params), -1);
  SetShortString(params[0].Name, "1.14.1a");
  EXPECT_EQ(FindLnParam("1.14.1A", params), -1);
  EXPECT_EQ(FindLnParam("1.1", {}), -1);
}

TEST(LnParam, ShortStringsCutAt255AndZeroTheirTail) {
  TShortString text;
  text.fill(0x55);
  SetShortString(text, std::string(300, 'x'));
  EXPECT_EQ(text[0], 255);
  EXPECT_EQ(ShortStringText(text), std::string(255, 'x'));
  SetShortString(text, "ab");
  EXPECT_EQ(ShortStringText(text), "ab");
  EXPECT_EQ(text[3], 0);
  EXPECT_EQ(text[255], 0);
}

TEST(LnParam, IniLibraryKeepsOrderDefaultsMissingAndUnreadableValues) {
  test::TempDir dir;
  const std::string cyrillic = "\xD1\xEF\xEB\xEE\xF8\xED\xE0\xFF";  // "Сплошная" in 1251
  const std::string longText(300, 'L');
  std::ofstream(dir / "Default.LnRazmet", std::ios::binary)
      << "; marking types\r\n"
      << "[1.1]\r\nTextureFile=" << cyrillic << ".bmp\r\nPeriod=3\r\nDisp1=0.05\r\nDisp2=-0.05\r\n"
      << "Description=" << cyrillic
      << "\r\nSqCoeff=1.5\r\nFullPeriods=1\r\nYellow=2\r\nPlastic=0\r\nCountItems=1\r\n"
      << "[1.5]\r\nPeriod=0,5\r\nDisp1=abc\r\nYellow=1.0\r\n"
      << "[" << longText << "]\r\nDescription=" << longText << "\r\n"
      << "[empty]\r\n";
  const TLnParams params = LoadLnParamsFromIni(dir / "Default.LnRazmet");
  ASSERT_EQ(params.size(), 4u);

  EXPECT_EQ(ShortStringText(params[0].Name), "1.1");
  EXPECT_EQ(ShortStringText(params[0].TextureFile), cyrillic + ".bmp");
  EXPECT_EQ(params[0].Period, 3);
  EXPECT_FLOAT_EQ(params[0].Disp1, 0.05f);
  EXPECT_FLOAT_EQ(params[0].Disp2, -0.05f);
  EXPECT_EQ(ShortStringText(params[0].Description), cyrillic);
  EXPECT_EQ(params[0].SqCoeff, 1.5f);
  EXPECT_EQ(
      (std::vector<int>{params[0].FullPeriods, params[0].Yellow, params[0].Plastic, params[0].CountItems}),
      (std::vector<int>{1, 1, 0, 1}));

  // Comma decimals, words and fractions where an integer belongs are unreadable.
  EXPECT_EQ(params[1].Period, 0);
  EXPECT_EQ(params[1].Disp1, 0);
  EXPECT_EQ(params[1].Yellow, 0);
  EXPECT_EQ(ShortStringText(params[1].TextureFile), "");

  EXPECT_EQ(ShortStringText(params[2].Name), std::string(255, 'L'));
  EXPECT_EQ(ShortStringText(params[2].Description), std::string(255, 'L'));
  EXPECT_EQ(params[3], [] {
    LnParam blank;
    SetShortString(blank.Name, "empty");
    return blank;
  }());

  EXPECT_TRUE(LoadLnParamsFromIni(dir / "missing.LnRazmet").empty());
}

}  // namespace vellmar

namespace vellmar {

TEST(LnParam, DefaultLibraryIsFoundBelowTheDataRootWhateverTheCase) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "DataFiles" / "РАЗМЕТКА");
  std::ofstream(dir / "DataFiles" / "РАЗМЕТКА" / "default.lnrazmet", std::ios::binary)
      << "[1.1]\r\nPeriod=3\r\n";
  const TLnParams params = [&] {
    const test::ScopedDataVariable data((dir / "DataFiles").c_str());
    return LoadDefaultLnParams();
  }();
  ASSERT_EQ(params.size(), 1u);
  EXPECT_EQ(params[0].Period, 3);
}

}  // namespace vellmar
