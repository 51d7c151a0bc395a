#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "document/SyncMessage.h"
#include "document/SyncMessageReader.h"

namespace vellmar {
namespace {

using TBytes = std::vector<uint8_t>;

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes all;
  for (const TBytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A header that may lie about the bytes after it.
TBytes Header(uint32_t tag, uint32_t count) {
  TBytes header;
  for (const uint32_t value : {tag, count}) {
    for (int shift = 0; shift < 32; shift += 8) header.push_back(static_cast<uint8_t>(value >> shift));
  }
  return header;
}

const TViewState kView{{12.5f, -3.25f, 0.0f}, 0.015f, 1.25f};

TEST(SyncMessage, ViewAndStationKeepTheirWireBytes) {
  // Peers of other builds read these bytes: tag, count, then the singles, little-endian.
  const TBytes view = EncodeViewMessage({{1.0f, -2.0f, 0.0f}, 0.5f, 0.25f});
  const TBytes expectedView = {0x73, 0x19, 0x06, 0x28, 20, 0, 0, 0,  // tag, count
                               0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0x80, 0x3E};
  EXPECT_EQ(view, expectedView);
  const TBytes station = EncodeStationMessage(100.0f);
  const TBytes expectedStation = {0x78, 0x19, 0x08, 0x26, 4, 0, 0, 0, 0, 0, 0xC8, 0x42};
  EXPECT_EQ(station, expectedStation);
}

TEST(SyncMessage, DecodingRefusesWhatWouldDamageTheView) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  struct TCase {
    std::string Name;
    TSyncMessage Message;
    bool View, Station;
  };
  const auto body = [](const TBytes& encoded) { return TBytes(encoded.begin() + 8, encoded.end()); };
  const TBytes view = body(EncodeViewMessage(kView));
  const TCase cases[] = {
      {"a view", {kSyncViewTag, view}, true, false},
      {"a station", {kSyncStationTag, body(EncodeStationMessage(-7.5f))}, false, true},
      {"a view one byte short", {kSyncViewTag, TBytes(view.begin(), view.end() - 1)}, false, false},
      {"a view with a byte too many", {kSyncViewTag, Join({view, {0}})}, false, false},
      {"a station as long as a view", {kSyncStationTag, view}, false, false},
      {"a view under an unknown tag", {0x12345678, view}, false, false},
      {"a view centred at NaN", {kSyncViewTag, body(EncodeViewMessage({{nan, 0, 0}, 1, 0}))}, false, false},
      {"a view of infinite scale", {kSyncViewTag, body(EncodeViewMessage({{0, 0, 0}, inf, 0}))}, false, false},
      {"a view turned by NaN", {kSyncViewTag, body(EncodeViewMessage({{0, 0, 0}, 1, nan}))}, false, false},
      {"an infinite station", {kSyncStationTag, body(EncodeStationMessage(-inf))}, false, false},
      {"a NaN station", {kSyncStationTag, body(EncodeStationMessage(nan))}, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecodeViewMessage(c.Message).has_value(), c.View);
    EXPECT_EQ(DecodeStationMessage(c.Message).has_value(), c.Station);
  }
  const std::optional<TViewState> decoded = DecodeViewMessage({kSyncViewTag, view});
  ASSERT_TRUE(decoded);
  EXPECT_EQ(EncodeViewMessage(*decoded), EncodeViewMessage(kView));
}

// What a reader makes of a stream: the tags of the messages, in order, and whether it gave up.
struct TReadOut {
  std::vector<uint32_t> Tags;
  std::vector<size_t> Sizes;
  bool Broken = false;
};

TReadOut ReadInPieces(const TBytes& stream, size_t piece) {
  TSyncMessageReader reader;
  TReadOut out;
  for (size_t at = 0; at < stream.size(); at += piece) {
    const size_t n = std::min(piece, stream.size() - at);
    for (const TSyncMessage& m : reader.Feed({stream.data() + at, n})) {
      out.Tags.push_back(m.Tag);
      out.Sizes.push_back(m.Data.size());
    }
  }
  out.Broken = reader.Broken();
  return out;
}

TEST(SyncMessageReader, CutsTheStreamWhateverPiecesItArrivesIn) {
  const TBytes view = EncodeViewMessage(kView), station = EncodeStationMessage(3.0f);
  struct TCase {
    std::string Name;
    TBytes Stream;
    std::vector<uint32_t> Tags;
    std::vector<size_t> Sizes;
    bool Broken;
  };
  const TCase cases[] = {
      {"two messages", Join({view, station}), {kSyncViewTag, kSyncStationTag}, {20, 4}, false},
      {"an unknown tag between views", Join({view, Header(0xDEADBEEF, 12), TBytes(12, 0xAB), view}),
       {kSyncViewTag, 0xDEADBEEF, kSyncViewTag}, {20, 12, 20}, false},
      {"a view with a wrong count, then a good one", Join({Header(kSyncViewTag, 16), TBytes(16, 1), view}),
       {kSyncViewTag, kSyncViewTag}, {16, 20}, false},
      {"an empty message", Join({Header(kSyncStationTag, 0), station}), {kSyncStationTag, kSyncStationTag}, {0, 4},
       false},
      {"the largest message", Join({Header(7, kSyncMaxMessageBytes), TBytes(kSyncMaxMessageBytes, 9), view}),
       {7, kSyncViewTag}, {kSyncMaxMessageBytes, 20}, false},
      // A count beyond any message of ours means the stream is out of step: what follows
      // cannot be trusted, and the count must not make the reader wait for (or keep) 4 GB.
      {"a count of 4 GB", Join({view, Header(kSyncViewTag, 0xFFFFFFFF), view}), {kSyncViewTag}, {20}, true},
      {"a count one beyond the largest", Join({Header(7, kSyncMaxMessageBytes + 1), view}), {}, {}, true},
      {"a message cut short", Join({view, TBytes(station.begin(), station.end() - 1)}), {kSyncViewTag}, {20}, false},
  };
  for (const TCase& c : cases) {
    for (const size_t piece : {c.Stream.size(), size_t{1}, size_t{7}}) {
      SCOPED_TRACE(c.Name + " in pieces of " + std::to_string(piece));
      const TReadOut out = ReadInPieces(c.Stream, piece);
      EXPECT_EQ(out.Tags, c.Tags);
      EXPECT_EQ(out.Sizes, c.Sizes);
      EXPECT_EQ(out.Broken, c.Broken);
    }
  }
}

TEST(SyncMessageReader, RandomBytesNeverYieldMoreThanTheyHold) {
  std::mt19937 random(1973);
  TBytes noise(1 << 20);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  for (const size_t piece : {size_t{4096}, size_t{3}}) {
    TSyncMessageReader reader;
    size_t held = 0;
    for (size_t at = 0; at < noise.size() && !reader.Broken(); at += piece) {
      for (const TSyncMessage& m : reader.Feed({noise.data() + at, std::min(piece, noise.size() - at)})) {
        held += kSyncHeaderBytes + m.Data.size();
      }
    }
    EXPECT_LE(held, noise.size());
    // Random counts are nearly all beyond any message of ours.
    EXPECT_TRUE(reader.Broken());
    EXPECT_TRUE(reader.Feed(EncodeViewMessage(kView)).empty());
  }
}

}  // namespace
}  // namespace vellmar
