#include "platform/WarningSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmar {
namespace {

TEST(WarningSink, WarningsBeforeTheSinkExistsAreHandedToIt) {
  SetWarningSink(nullptr);
  TakePendingWarnings();
  ReportWarning("first");
  ReportWarning("second");

  std::vector<std::string> shown;
  SetWarningSink([&](const std::string& message) { shown.push_back(message); });
  ReportWarning("third");
  EXPECT_EQ(shown, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_TRUE(TakePendingWarnings().empty());

  // Without a sink they collect again instead of vanishing.
  SetWarningSink(nullptr);
  ReportWarning("fourth");
  EXPECT_EQ(TakePendingWarnings(), std::vector<std::string>{"fourth"});
  EXPECT_EQ(shown.size(), 3u);
}

}  // namespace
}  // namespace vellmar
