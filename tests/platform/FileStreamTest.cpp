#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/MemoryStream.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

using test::FileBytes;

std::size_t RandomLength(std::mt19937& rng, std::size_t bufferSize) {
  // Mostly values smaller than the buffer, sometimes records larger than it, so
  // that every path through the buffer is taken.
  switch (rng() % 8) {
    case 0:
      return bufferSize + rng() % (bufferSize + 16);
    case 1:
      return rng() % (bufferSize + 1);
    default:
      return rng() % 16;
  }
}

std::int64_t RandomOffset(std::mt19937& rng, std::size_t bufferSize) {
  // Mostly short hops (rewinds over an ident), sometimes far, past the end too.
  const auto span = static_cast<std::int64_t>(rng() % 4 == 0 ? 4 * bufferSize + 64 : 20);
  return static_cast<std::int64_t>(rng() % static_cast<unsigned>(2 * span)) - span;
}

}  // namespace

// The buffer must be invisible: any mix of reads, writes and seeks gives the same
// bytes, positions and sizes as an unbuffered stream, here a memory stream. Small
// buffers make every boundary case frequent.
TEST(FileStream, BehavesLikeAnUnbufferedStreamUnderRandomUse) {
  test::TempDir dir;
  unsigned seed = 0;
  for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{7}, std::size_t{64}, std::size_t{4096},
                                       TFileStream::kDefaultBufferSize}) {
    ++seed;
    std::mt19937 rng(seed);
    const auto path = dir / ("random" + std::to_string(seed));
    TMemoryStream expected;
    std::vector<std::uint8_t> data(4 * bufferSize + 64);
    for (auto& b : data) b = static_cast<std::uint8_t>(rng());
    std::vector<std::uint8_t> got(data.size());
    std::vector<std::uint8_t> want(data.size());
    {
      TFileStream file(path, TFileMode::Create, bufferSize);
      for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE("buffer " + std::to_string(bufferSize) + " step " + std::to_string(step));
        const std::size_t n = RandomLength(rng, bufferSize);
        switch (rng() % 5) {
          case 0:
          case 1: {
            const std::size_t a = file.Read(got.data(), n);
            const std::size_t b = expected.Read(want.data(), n);
            ASSERT_EQ(a, b);
            ASSERT_TRUE(std::equal(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(a), want.begin()));
            break;
          }
          case 2: {
            const std::uint8_t* from = data.data() + rng() % (data.size() - n + 1);
            file.Write(from, n);
            expected.Write(from, n);
            break;
          }
          default: {
            const auto origin = static_cast<TSeekOrigin>(rng() % 3);
            std::int64_t offset = RandomOffset(rng, bufferSize);
            const std::int64_t base = origin == TSeekOrigin::Begin     ? 0
                                      : origin == TSeekOrigin::Current ? expected.Position()
                                                                       : expected.Size();
            if (base + offset < 0) offset = -base;
            ASSERT_EQ(file.Seek(offset, origin), expected.Seek(offset, origin));
            break;
          }
        }
        ASSERT_EQ(file.Position(), expected.Position());
        ASSERT_EQ(file.Size(), expected.Size());
      }
      file.Close();
    }
    const auto bytes = expected.Bytes();
    EXPECT_EQ(FileBytes(path), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
}

TEST(FileStream, ReopenedFileReadsWhatWasWritten) {
  test::TempDir dir;
  const auto path = dir / "data.bin";
  std::vector<std::uint8_t> data(200000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  {
    TFileStream out(path, TFileMode::Create);
    for (std::size_t i = 0; i < data.size(); i += 3)
      out.Write(data.data() + i, std::min<std::size_t>(3, data.size() - i));
    // No Close(): the destructor must still write the buffered tail.
  }
  TFileStream in(path, TFileMode::OpenRead);
  EXPECT_EQ(in.Size(), 200000);
  std::vector<std::uint8_t> back(data.size());
  for (std::size_t i = 0; i < back.size(); i += 5) {
    const std::size_t n = std::min<std::size_t>(5, back.size() - i);
    ASSERT_EQ(in.Read(back.data() + i, n), n);
  }
  EXPECT_EQ(back, data);
  std::uint8_t byte = 0;
  EXPECT_EQ(in.Read(&byte, 1), 0u);
  EXPECT_EQ(in.Position(), 200000);
}

TEST(FileStream, FailuresNameTheOperationAndThePath) {
  test::TempDir dir;
  const auto missing = dir / "missing.pln";
  try {
    TFileStream stream(missing, TFileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const EVellmarError& e) {
    EXPECT_EQ(std::string(e.what()), "TFileStream.Open: " + missing.string() + ": No such file or directory");
  }
  EXPECT_THROW(TFileStream(dir / "nodir" / "x.pln", TFileMode::Create), EVellmarError);
  EXPECT_THROW(TFileStream(dir.Path(), TFileMode::OpenRead), EVellmarError);

  const auto path = dir / "a.bin";
  { TFileStream created(path, TFileMode::Create); }
  EXPECT_THROW(TFileStream(path, TFileMode::CreateNew), EVellmarError);

  TFileStream reading(path, TFileMode::OpenRead);
  const std::uint8_t byte = 1;
  try {
    reading.Write(&byte, 1);
    FAIL() << "wrote to a read-only stream";
  } catch (const EVellmarError& e) {
    EXPECT_EQ(std::string(e.what()), "TFileStream.Write: " + path.string() + " is open for reading only");
  }
  EXPECT_THROW(reading.Seek(-1, TSeekOrigin::Begin), EVellmarError);
  EXPECT_EQ(reading.Position(), 0);
  reading.Close();
  EXPECT_THROW(reading.Seek(0, TSeekOrigin::Begin), EVellmarError);
}

TEST(FileStream, ReadBufferRaisesWhenTheValueIsCut) {
  test::TempDir dir;
  const auto path = dir / "short.bin";
  {
    TFileStream out(path, TFileMode::Create);
    out.Write("abc", 3);
  }
  TFileStream in(path, TFileMode::OpenRead);
  char four[4];
  try {
    in.ReadBuffer(four, 4, "TTest.ReadValue");
    FAIL() << "a cut value was accepted";
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TTest.ReadValue: needs 4 bytes at 0, only 3 left");
  }
}

TEST(MemoryStream, ViewReadsInPlaceAndRefusesWrites) {
  const std::vector<std::uint8_t> bytes{1, 2, 3, 4};
  TMemoryStream view{std::span<const std::uint8_t>(bytes)};
  EXPECT_EQ(view.Bytes().data(), bytes.data());
  std::uint8_t got[8] = {};
  EXPECT_EQ(view.Read(got, 8), 4u);
  EXPECT_EQ(got[3], 4);
  EXPECT_THROW(view.Write(got, 1), EVellmarError);
  EXPECT_EQ(view.Remaining(), 0);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
  TMemoryStream stream;
  stream.Seek(3, TSeekOrigin::Begin);
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Remaining(), 0);
  const std::uint8_t x = 9;
  stream.Write(&x, 1);
  EXPECT_EQ(stream.TakeBytes(), (std::vector<std::uint8_t>{0, 0, 0, 9}));
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

}  // namespace vellmar
