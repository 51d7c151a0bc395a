// A street loaded on a worker thread is followed through its progress and stopped
// through its flag; both go through the file reads, so a load that reports nothing, or
// that cannot be stopped, freezes the viewer or keeps a half-read street.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/LoadControl.h"
#include "document/StreetStructure.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

// About 1.1 MB of curb points: many buffer reads.
constexpr int32_t kPoints = 40'000;
constexpr int32_t kCurbKind = 8;

class StreetLoadControlTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterItemKinds();
    TStreetStructure street;
    TPointList& curb = street.ItemList(kCurbKind).NewItem()->Points();
    for (int32_t i = 0; i < kPoints; ++i) curb.InsertNew(i, {float(i), float(-i), 0.0f});
    street.SaveToFile(path_);
    size_ = static_cast<std::int64_t>(std::filesystem::file_size(path_));
  }

  test::TempDir dir_;
  std::filesystem::path path_ = dir_ / "big.pln";
  std::int64_t size_ = 0;
};

TEST_F(StreetLoadControlTest, ProgressClimbsToTheFileSizeAndTheStreetIsWhole) {
  std::vector<std::int64_t> reads;
  TLoadControl control;
  control.Progress = [&](std::int64_t read, std::int64_t total) {
    EXPECT_EQ(total, size_);
    reads.push_back(read);
  };
  TStreetStructure street;
  street.LoadFromFile(path_, control);
  EXPECT_EQ(street.Points().Count(), kPoints);
  ASSERT_GT(reads.size(), 4u) << "progress comes a buffer at a time, not once at the end";
  EXPECT_TRUE(std::is_sorted(reads.begin(), reads.end()));
  EXPECT_EQ(reads.back(), size_);
}

struct TStopCase {
  const char* Name;
  double StopAt;  // share of the file read when the flag is set; < 0 set before the load
};

class StreetLoadStopTest : public StreetLoadControlTest, public testing::WithParamInterface<TStopCase> {};

TEST_P(StreetLoadStopTest, AStopRaisesCancelledAndReadsNoFurther) {
  std::atomic<bool> stop = GetParam().StopAt < 0;
  std::int64_t lastRead = 0;
  TLoadControl control;
  control.Stop = &stop;
  control.Progress = [&](std::int64_t read, std::int64_t total) {
    EXPECT_FALSE(stop.load()) << "read on after the stop at " << lastRead;
    lastRead = read;
    if (read >= GetParam().StopAt * static_cast<double>(total)) stop = true;
  };
  TStreetStructure street;
  EXPECT_THROW(street.LoadFromFile(path_, control), ELoadCancelled);
  EXPECT_LT(lastRead, size_ * 3 / 4 + 70'000);
}

INSTANTIATE_TEST_SUITE_P(Stops, StreetLoadStopTest,
                         testing::Values(TStopCase{"BeforeTheFirstRead", -1.0}, TStopCase{"AtTheFirstRead", 0.0},
                                         TStopCase{"HalfWay", 0.5}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StreetLoadControlTest, AStopAfterTheLastReadStillCancels) {
  // A file read whole by one read: the flag set while it is parsed must not be lost.
  std::atomic<bool> stop = false;
  TLoadControl control;
  control.Stop = &stop;
  control.Progress = [&](std::int64_t read, std::int64_t total) {
    if (read == total) stop = true;
  };
  TStreetStructure street;
  EXPECT_THROW(street.LoadFromFile(path_, control), ELoadCancelled);
}

}  // namespace
}  // namespace vellmar
