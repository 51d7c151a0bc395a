#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/PointUsers.h"

namespace vellmar {
namespace {

// Stand-ins for point lists: only their addresses are kept.
TPointList* List(int n) {
  static char lists[8];
  return reinterpret_cast<TPointList*>(&lists[n]);
}

std::vector<TPointList*> Contents(const TPointUsers& users) {
  return {users.begin(), users.end()};
}

// Steps as "+n" (list n takes up the point) and "-n" (list n gives one use up); after
// each step the users are what a plain list would hold, across the move from the two
// held in place to the heap and back down.
TEST(PointUsersTest, BehavesAsAPlainListOfUses) {
  const std::vector<std::vector<std::string>> scripts = {
      {"+1", "+2", "-1", "-2"},
      {"+1", "+2", "+3", "+4", "+5", "-3", "-1", "-5", "-2", "-4"},
      {"+1", "+2", "+1", "-1", "+3", "-1", "-1"},  // a list using a point twice
      {"-1", "+2", "-1", "+1", "+3", "-3", "-2"},  // giving up a use never taken
  };
  for (const auto& script : scripts) {
    TPointUsers users;
    std::vector<TPointList*> expected;
    std::string done;
    for (const std::string& step : script) {
      done += step + ' ';
      TPointList* list = List(step[1] - '0');
      if (step[0] == '+') {
        users.push_back(list);
        expected.push_back(list);
      } else {
        users.Remove(list);
        for (auto it = expected.begin(); it != expected.end(); ++it) {
          if (*it == list) {
            expected.erase(it);
            break;
          }
        }
      }
      ASSERT_EQ(Contents(users), expected) << done;
      ASSERT_EQ(users.size(), expected.size()) << done;
      ASSERT_EQ(users.empty(), expected.empty()) << done;
    }
  }
}

// A record freed for reuse is reset by a move; the uses go along, in order, and the
// list left behind starts empty.
TEST(PointUsersTest, MovesKeepTheUsesInOrder) {
  for (int count : {0, 1, 2, 3, 7}) {
    TPointUsers users;
    std::vector<TPointList*> expected;
    for (int n = 0; n < count; ++n) {
      users.push_back(List(n));
      expected.push_back(List(n));
    }
    TPointUsers moved(std::move(users));
    EXPECT_EQ(Contents(moved), expected) << count;
    EXPECT_TRUE(users.empty()) << count;  // NOLINT(bugprone-use-after-move): left empty on purpose
    users.push_back(List(5));
    EXPECT_EQ(Contents(users), std::vector<TPointList*>{List(5)}) << count;

    TPointUsers target;
    for (int n = 0; n < 3; ++n) target.push_back(List(6));
    target = std::move(moved);
    EXPECT_EQ(Contents(target), expected) << count;
  }
}

}  // namespace
}  // namespace vellmar
