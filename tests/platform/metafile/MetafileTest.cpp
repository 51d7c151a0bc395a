#include "platform/metafile/Metafile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "MetafileSamples.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

using test::EnhancedSample;
using test::PlaceableSample;
using test::WindowsSample;

// The metafile followed by the 8 bytes of the next chunk, as inside a street file.
std::vector<uint8_t> WithNextChunk(std::vector<uint8_t> bytes) {
  for (char c : std::string("PLDFCOMM")) bytes.push_back(static_cast<uint8_t>(c));
  return bytes;
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TMetafile metafile;
  try {
    metafile.LoadFromStream(stream);
  } catch (const EVellmarError& e) {
    return e.what();
  }
  return "loaded";
}

void Patch32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

TEST(Metafile, EachFormatReadsItsOwnLengthKeepsItsBytesAndWritesThemBack) {
  const std::vector<std::vector<uint8_t>> samples = {EnhancedSample({0, 0, 2540, 5080}, {0, 0, 95, 191}),
                                                     PlaceableSample({0, 0, 1440, 720}, 1440),
                                                     WindowsSample(true)};
  const TMetafileFormat formats[] = {TMetafileFormat::Enhanced, TMetafileFormat::Placeable,
                                     TMetafileFormat::Windows};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto input = WithNextChunk(samples[i]);
    TMemoryStream stream{std::span<const uint8_t>(input)};
    TMetafile metafile;
    metafile.LoadFromStream(stream);
    EXPECT_EQ(metafile.Format(), formats[i]);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(samples[i].size()))
        << "the next chunk must stay unread";
    TMemoryStream out;
    metafile.SaveToStream(out);
    EXPECT_EQ(std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()), samples[i]);
  }
}

TEST(Metafile, SizesComeFromTheFrameTheBoxOrTheWindowExtent) {
  const auto size = [](const std::vector<uint8_t>& bytes) {
    TMemoryStream stream{std::span<const uint8_t>(bytes)};
    TMetafile metafile;
    metafile.LoadFromStream(stream);
    return std::vector<int32_t>{metafile.Width(), metafile.Height(), metafile.MMWidth(), metafile.MMHeight()};
  };
  // One inch by two inches of frame, whatever the drawn pixels say.
  EXPECT_EQ(size(EnhancedSample({100, 200, 2640, 5280}, {0, 0, 5, 5})),
            (std::vector<int32_t>{96, 192, 2540, 5080}));
  // No frame: the drawn 400 x 200 pixels on a device of 4 pixels per mm.
  EXPECT_EQ(size(EnhancedSample({0, 0, 0, 0}, {0, 0, 399, 199})),
            (std::vector<int32_t>{378, 189, 10000, 5000}));
  EXPECT_EQ(size(EnhancedSample({0, 0, -5, -5}, {0, 0, -1, -1})), (std::vector<int32_t>{0, 0, 0, 0}));
  // Extreme bounds on a device of one pixel per 21 km saturate instead of overflowing.
  auto extreme = EnhancedSample({0, 0, 0, 0}, {INT32_MIN, 0, INT32_MAX, 0});
  Patch32(extreme, 72, 1);
  Patch32(extreme, 80, INT32_MAX);
  EXPECT_EQ(size(extreme), (std::vector<int32_t>{81164736, 1, INT32_MAX, 25}));
  EXPECT_EQ(size(PlaceableSample({0, 0, 1440, 720}, 1440)), (std::vector<int32_t>{96, 48, 2540, 1270}));
  EXPECT_EQ(size(PlaceableSample({1440, 720, 0, 0}, 1440)), (std::vector<int32_t>{96, 48, 2540, 1270}));
  EXPECT_EQ(size(PlaceableSample({0, 0, 1440, 720}, 0)), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(size(WindowsSample(true, 400, -300)), (std::vector<int32_t>{400, 300, 10583, 7938}));
  EXPECT_EQ(size(WindowsSample(false)), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST(Metafile, RecordsFollowTheHeaderAndEndAtTheEndRecordOrAtDamage) {
  TMetafile metafile;
  const auto enhanced = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  TMemoryStream stream{std::span<const uint8_t>(enhanced)};
  metafile.LoadFromStream(stream);
  auto records = metafile.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Type, 43u);
  EXPECT_EQ(records[0].Bytes.size(), 24u);
  EXPECT_EQ(records[1].Type, 14u);

  auto damaged = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  Patch32(damaged, 88 + 4, 4000);  // the rectangle claims more bytes than there are
  TMemoryStream damagedStream{std::span<const uint8_t>(damaged)};
  metafile.LoadFromStream(damagedStream);
  EXPECT_TRUE(metafile.Records().empty());

  const auto placeable = PlaceableSample({0, 0, 10, 10}, 96);
  TMemoryStream placeableStream{std::span<const uint8_t>(placeable)};
  metafile.LoadFromStream(placeableStream);
  records = metafile.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Type, 0x041Bu);
  EXPECT_EQ(records[0].Bytes.data(), metafile.Bytes().data() + 40);
  EXPECT_EQ(records[1].Type, 0u);
}

TEST(Metafile, MetafilesBackToBackAreEachReadWhole) {
  auto bytes = WindowsSample(true);
  const auto second = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  bytes.insert(bytes.end(), second.begin(), second.end());
  TMemoryStream stream{std::span<const uint8_t>(bytes)};
  TMetafile first, next;
  first.LoadFromStream(stream);
  next.LoadFromStream(stream);
  EXPECT_EQ(next.Format(), TMetafileFormat::Enhanced);
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_FALSE(first == next);
}

// A length taken on trust would make the reader swallow the rest of the street file
// or allocate gigabytes for a damaged picture.
TEST(Metafile, LengthsPastTheStreamRaiseAndLeaveTheMetafileAsItWas) {
  auto enhanced = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  Patch32(enhanced, 48, static_cast<uint32_t>(enhanced.size() + 1));
  EXPECT_EQ(LoadError(enhanced), "TMetafile.LoadFromStream: metafile of " +
                                     std::to_string(enhanced.size() + 1) + " bytes runs past the stream (" +
                                     std::to_string(enhanced.size()) + " bytes left)");
  Patch32(enhanced, 48, 0xFFFFFFFF);
  EXPECT_NE(LoadError(enhanced).find("metafile of 4294967295 bytes runs past the stream"), std::string::npos);

  auto windows = WindowsSample(false);
  Patch32(windows, 6, 0xFFFFFFFF);  // words: twice that in bytes
  EXPECT_NE(LoadError(windows).find("metafile of 8589934590 bytes runs past"), std::string::npos);

  auto placeable = PlaceableSample({0, 0, 10, 10}, 96);
  placeable.pop_back();
  EXPECT_NE(LoadError(placeable).find("runs past the stream"), std::string::npos);

  const auto good = PlaceableSample({0, 0, 10, 10}, 96);
  TMemoryStream goodStream{std::span<const uint8_t>(good)};
  TMetafile metafile;
  metafile.LoadFromStream(goodStream);
  TMemoryStream bad{std::span<const uint8_t>(enhanced)};
  EXPECT_THROW(metafile.LoadFromStream(bad), EVellmarError);
  EXPECT_EQ(metafile.Format(), TMetafileFormat::Placeable);
  EXPECT_EQ(metafile.Bytes().size(), good.size());
}

TEST(Metafile, HeadersThatAreNoMetafileRaise) {
  EXPECT_EQ(LoadError({1, 0}), "TMetafile.LoadFromStream: needs 4 bytes at 0, only 2 left");
  EXPECT_EQ(LoadError({'P', 'L', 'D', 'F', 'S', 'C', 'A', 'L'}),
            "TMetafile.LoadFromStream: no metafile header (first bytes 0x46444c50)");
  auto truncated = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  truncated.resize(60);
  EXPECT_EQ(LoadError(truncated), "TMetafile.LoadFromStream: needs 84 bytes at 4, only 56 left");

  auto signature = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  signature[43] = 'X';
  EXPECT_EQ(LoadError(signature),
            "TMetafile.LoadFromStream: enhanced metafile signature 0x584d4520 is not \" EMF\"");
  auto smallHeader = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  Patch32(smallHeader, 4, 80);
  EXPECT_EQ(LoadError(smallHeader),
            "TMetafile.LoadFromStream: enhanced metafile header of 80 bytes in a metafile of " +
                std::to_string(smallHeader.size()));
  auto headerPastEnd = EnhancedSample({0, 0, 100, 100}, {0, 0, 9, 9});
  Patch32(headerPastEnd, 48, 64);
  EXPECT_NE(LoadError(headerPastEnd).find("header of 88 bytes in a metafile of 64"), std::string::npos);

  auto headerWords = WindowsSample(false);
  headerWords[2] = 10;
  EXPECT_EQ(LoadError(headerWords), "TMetafile.LoadFromStream: no metafile header (first bytes 0xa0001)");
  auto placeableWords = PlaceableSample({0, 0, 10, 10}, 96);
  placeableWords[22 + 2] = 10;
  EXPECT_EQ(LoadError(placeableWords),
            "TMetafile.LoadFromStream: Windows metafile header of type 1 and 10 words is not one");
  auto tooShort = WindowsSample(false);
  Patch32(tooShort, 6, 8);
  EXPECT_EQ(LoadError(tooShort),
            "TMetafile.LoadFromStream: Windows metafile of 16 bytes is shorter than its header");
}

TEST(Metafile, AFileMayCarryPaddingAfterTheMetafile) {
  test::TempDir dir;
  auto bytes = PlaceableSample({0, 0, 300, 150}, 300);
  const std::size_t length = bytes.size();
  bytes.resize(length + 100, 0);
  std::ofstream(dir / "sign.wmf", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  TMetafile metafile;
  metafile.LoadFromFile(dir / "sign.wmf");
  EXPECT_EQ(metafile.Bytes().size(), length);
  EXPECT_EQ(metafile.Width(), 96);
  EXPECT_THROW(metafile.LoadFromFile(dir / "missing.emf"), EVellmarError);
  metafile.Clear();
  EXPECT_TRUE(metafile.Empty());
  TMemoryStream out;
  metafile.SaveToStream(out);
  EXPECT_EQ(out.Size(), 0);
}

}  // namespace vellmar
