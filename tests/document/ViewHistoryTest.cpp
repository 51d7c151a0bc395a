#include <gtest/gtest.h>

#include <optional>

#include "document/ViewHistory.h"

namespace vellmar {
namespace {

TViewState View(float x) {
  return {{x, 2 * x, 0}, 0.01f * (1 + x), 0.1f * x};
}

void ExpectView(const std::optional<TViewState>& view, float x) {
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Centre.x, View(x).Centre.x);
  EXPECT_EQ(view->Centre.y, View(x).Centre.y);
  EXPECT_EQ(view->Scale, View(x).Scale);
  EXPECT_EQ(view->Rotation, View(x).Rotation);
}

TEST(ViewHistory, BackAndForwardWalkTheRecordedViews) {
  TViewHistory history;
  EXPECT_FALSE(history.Back());
  for (float x : {1.0f, 2.0f, 3.0f}) history.Record(View(x));
  history.Record(View(3));  // the same view again is no new step
  EXPECT_EQ(history.Count(), 3u);
  ExpectView(history.Back(), 2);
  ExpectView(history.Back(), 1);
  EXPECT_FALSE(history.Back());
  ExpectView(history.Forward(), 2);
  ExpectView(history.Forward(), 3);
  EXPECT_FALSE(history.Forward());
}

TEST(ViewHistory, ANewViewAfterGoingBackDropsTheViewsAhead) {
  TViewHistory history;
  for (float x : {1.0f, 2.0f, 3.0f}) history.Record(View(x));
  ExpectView(history.Back(), 2);
  // Coming back to the view Back showed is no new step either.
  history.Record(View(2));
  EXPECT_TRUE(history.CanGoForward());
  history.Record(View(4));
  EXPECT_FALSE(history.CanGoForward());
  EXPECT_EQ(history.Count(), 3u);
  ExpectView(history.Back(), 2);
  ExpectView(history.Back(), 1);
}

TEST(ViewHistory, TheOldestViewsGoBeyondTheLimit) {
  TViewHistory history;
  for (size_t i = 0; i < TViewHistory::kLimit + 5; ++i) history.Record(View(static_cast<float>(i)));
  EXPECT_EQ(history.Count(), TViewHistory::kLimit);
  std::optional<TViewState> oldest;
  while (const auto view = history.Back()) oldest = view;
  ExpectView(oldest, 5);
}

}  // namespace
}  // namespace vellmar
