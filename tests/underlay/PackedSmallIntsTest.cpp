#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "underlay/PackedSmallInts.h"

namespace vellmar {

namespace {

std::vector<int16_t> Unpack(const std::vector<uint8_t>& packed, size_t count) {
  std::vector<int16_t> values(count, 0x5555);
  UnPackSmallInts(values, packed);
  return values;
}

void ExpectError(const std::vector<uint8_t>& packed, size_t count, const std::string& message) {
  std::vector<int16_t> values(count);
  try {
    UnPackSmallInts(values, packed);
    FAIL() << "no error, expected " << message;
  } catch (const EVellmarError& e) {
    EXPECT_EQ(e.what(), message);
  }
}

}  // namespace

TEST(PackedSmallInts, EveryRecordKindDecodesItsValues) {
  EXPECT_TRUE(Unpack({0x00, 0xFF}, 0).empty());
  EXPECT_EQ(Unpack({0x00, 0x22, 0xE4, 0x1B, 0xFF}, 8), (std::vector<int16_t>{0, 1, -2, -1, -1, -2, 1, 0}));
  EXPECT_EQ(Unpack({0x00, 0x31, 0x87, 0x0F, 0xFF}, 4), (std::vector<int16_t>{7, -8, -1, 0}));
  EXPECT_EQ(Unpack({0x00, 0x41, 0x80, 0x7F, 0xFF, 0x01, 0xFF}, 4), (std::vector<int16_t>{-128, 127, -1, 1}));
  EXPECT_EQ(Unpack({0x00, 0x51, 0xFF, 0x0F, 0x80, 0xFF, 0xF7, 0x7F, 0xFF}, 4),
            (std::vector<int16_t>{-1, -2048, 2047, 2047}));
  // Zero runs in all three count widths, an empty zero run, and long value forms.
  EXPECT_EQ(Unpack({0x00, 0x12, 0x10, 0x01, 0x01, 0x02, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00, 0x00, 0xFF}, 20),
            std::vector<int16_t>(20, 0));
  EXPECT_EQ(Unpack({0x00, 0x04, 0x01, 0xE4, 0x08, 0x01, 0x00, 0x87, 0x0F, 0x0C, 0x01, 0,    0,   0,
                    1,    2,    3,    4,    0x0D, 0x01, 0xFF, 0x0F, 0x80, 0x00, 0x00, 0x00, 0xFF},
                   16),
            (std::vector<int16_t>{0, 1, -2, -1, 7, -8, -1, 0, 1, 2, 3, 4, -1, -2048, 0, 0}));
  // Bytes after the end marker are not data.
  EXPECT_EQ(Unpack({0x00, 0x11, 0xFF, 0x41}, 4), std::vector<int16_t>(4, 0));
}

TEST(PackedSmallInts, DamagedBlocksRaiseBeforeWritingPastTheBuffer) {
  ExpectError({0x00, 0xFF}, 4, "UnPackSmallInts: DataCursor<>DataSize");
  ExpectError({0x01, 0xFF}, 0, "UnPackSmallInts: Prefix<>PrefixDataStart");
  ExpectError({}, 0, "UnPackSmallInts: Prefix<>PrefixDataStart");
  ExpectError({0x00, 0x11}, 4, "UnPackSmallInts: Prefix<>PrefixDataEnd");
  ExpectError({0x00, 0x41, 0x01, 0x02}, 4, "UnPackSmallInts: Prefix<>PrefixDataEnd");
  ExpectError({0x00, 0x02, 0x01}, 4, "UnPackSmallInts: Prefix<>PrefixDataEnd");
  for (const uint8_t prefix : {0x00, 0x20, 0x30, 0x40, 0x50, 0x60, 0x9A, 0xFE}) {
    std::string hex = "0x00";
    const char digits[] = "0123456789abcdef";
    hex[2] = digits[prefix >> 4];
    hex[3] = digits[prefix & 15];
    ExpectError({0x00, prefix, 0xFF}, 0, "UnPackSmallInts: prefix " + hex + " has no record kind");
  }
  ExpectError({0x00, 0x04, 0x00, 0xFF}, 0, "UnPackSmallInts: value record with a count of 0");
  ExpectError({0x00, 0x0E, 0x00, 0x00, 0xFF}, 0, "UnPackSmallInts: value record with a count of 0");
  ExpectError({0x00, 0x03, 0x00, 0x00, 0x00, 0x80, 0xFF}, 0, "UnPackSmallInts: record with a negative count");

  // A zero run of 2^30 quads must be refused, not written over the heap.
  std::vector<int16_t> values(12, 7);
  try {
    UnPackSmallInts(values, std::vector<uint8_t>{0x00, 0x41, 1, 2, 3, 4, 0x03, 0x00, 0x00, 0x00, 0x40, 0xFF});
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "UnPackSmallInts: record runs past the end of the coefficient buffer");
  }
  EXPECT_EQ(values, (std::vector<int16_t>{1, 2, 3, 4, 7, 7, 7, 7, 7, 7, 7, 7}));
  ExpectError({0x00, 0x12, 0xFF}, 4, "UnPackSmallInts: record runs past the end of the coefficient buffer");
}

TEST(PackedSmallInts, PackingRoundTripsWithTheShortestRecords) {
  std::mt19937 rng(7);
  std::vector<int16_t> values;
  // Runs of every kind and of lengths that need each count width.
  const int ranges[] = {0, 2, 8, 128, 2048};
  for (const int length : {1, 15, 16, 255, 256, 300, 70000}) {
    for (const int range : ranges) {
      for (int i = 0; i < 4 * length; ++i) {
        values.push_back(range == 0 ? 0
                                    : static_cast<int16_t>(static_cast<int>(rng() % (2 * range)) - range));
      }
    }
  }
  std::vector<uint8_t> packed;
  PackSmallInts(values, packed);
  std::vector<int16_t> back(values.size());
  UnPackSmallInts(back, packed);
  EXPECT_EQ(back, values);

  packed.clear();
  PackSmallInts(std::vector<int16_t>(64, 0), packed);
  EXPECT_EQ(packed, (std::vector<uint8_t>{0x00, 0x01, 16, 0xFF}));
  packed.clear();
  PackSmallInts(std::vector<int16_t>{0, 0, 0, 0, 1, -1, 0, 0, 7, 0, 0, 0}, packed);
  EXPECT_EQ(packed, (std::vector<uint8_t>{0x00, 0x11, 0x21, 0x0D, 0x31, 0x07, 0x00, 0xFF}));
  // A lone 2-bit quad between 4-bit quads rides in their run: one header, not three.
  packed.clear();
  PackSmallInts(std::vector<int16_t>{7, 0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0}, packed);
  EXPECT_EQ(packed, (std::vector<uint8_t>{0x00, 0x33, 0x07, 0x00, 0x01, 0x00, 0x07, 0x00, 0xFF}));
  EXPECT_THROW(PackSmallInts(std::vector<int16_t>{2048, 0, 0, 0}, packed), EVellmarError);
  EXPECT_THROW(PackSmallInts(std::vector<int16_t>{0, 0}, packed), EVellmarError);
}

}  // namespace vellmar
