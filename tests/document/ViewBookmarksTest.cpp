#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/ViewBookmarks.h"

namespace vellmar {
namespace {

void ExpectSameView(const TViewState& a, const TViewState& b) {
  EXPECT_EQ(a.Centre.x, b.Centre.x);
  EXPECT_EQ(a.Centre.y, b.Centre.y);
  EXPECT_EQ(a.Centre.z, b.Centre.z);
  EXPECT_EQ(a.Scale, b.Scale);
  EXPECT_EQ(a.Rotation, b.Rotation);
}

TEST(ViewBookmarks, LinesGiveBackTheExactViewsAndNames) {
  TViewBookmarks bookmarks;
  // Values a short decimal form would not give back, and names with what a settings
  // file or the line's own layout might trip over.
  const std::vector<TViewBookmark> made{
      {"Перекрёсток с ул. Ленина", {{412345.678f, 6123456.5f, 0.1f}, 0.0123456789f, -2.7182817f}},
      {"a=b; c==;", {{-1e-7f, 3.4e38f, 0}, 1e-30f, 100.0f}},
      {"  2  4  ", {{1, 2, 3}, 0.5f, 0}},
  };
  for (const TViewBookmark& bookmark : made) ASSERT_TRUE(bookmarks.Add(bookmark.Name, bookmark.View));
  const TViewBookmarks read = TViewBookmarks::FromLines(bookmarks.ToLines());
  ASSERT_EQ(read.Items().size(), made.size());
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_EQ(read.Items()[i].Name, TViewBookmarks::CleanName(made[i].Name));
    ExpectSameView(read.Items()[i].View, made[i].View);
  }
  EXPECT_EQ(read.Items()[2].Name, "2  4");
}

TEST(ViewBookmarks, LinesThatAreNoBookmarkOrNoDrawableViewAreLeftOut) {
  const TViewBookmarks read = TViewBookmarks::FromLines({
      "1 2 0 0.5 0 good",
      "",
      "1 2 0 0.5 0",           // no name
      "1 2 0 0.5 0    ",       // a blank name
      "1 2 0 0 0 flat",        // scale 0
      "1 2 0 -0.5 0 negative",
      "1 nan 0 0.5 0 nan",
      "1 2 0 inf 0 infinite",
      "1 2 0 1e39 0 too big",  // outside a single's range
      "1,5 2 0 0.5 0 comma",
      "1 2 0 0.5 0 good",      // the name again
      "3 4 0 0.25 1 second",
  });
  ASSERT_EQ(read.Items().size(), 2u);
  EXPECT_EQ(read.Items()[0].Name, "good");
  EXPECT_EQ(read.Items()[1].Name, "second");
  EXPECT_EQ(read.Items()[1].View.Rotation, 1.0f);
}

TEST(ViewBookmarks, NamesStayUniqueAndNeverEmpty) {
  TViewBookmarks bookmarks;
  const TViewState a{{1, 1, 0}, 0.1f, 0}, b{{2, 2, 0}, 0.2f, 0.5f};
  EXPECT_FALSE(bookmarks.Add(" \t\r\n", a));
  ASSERT_TRUE(bookmarks.Add("Мост", a));
  ASSERT_TRUE(bookmarks.Add("Вход\r\nв парк", b));
  EXPECT_EQ(bookmarks.Items()[1].Name, "Вход  в парк");
  // The same name again replaces nothing.
  EXPECT_FALSE(bookmarks.Add(" Мост ", b));
  EXPECT_TRUE(bookmarks.Contains("Мост "));
  ASSERT_EQ(bookmarks.Items().size(), 2u);
  ExpectSameView(bookmarks.Items()[0].View, a);

  EXPECT_FALSE(bookmarks.Rename(0, "Вход  в парк"));
  EXPECT_FALSE(bookmarks.Rename(0, "  "));
  EXPECT_FALSE(bookmarks.Rename(2, "Третья"));
  EXPECT_TRUE(bookmarks.Rename(0, "Мост"));  // its own name
  EXPECT_TRUE(bookmarks.Rename(0, "Мост через реку"));
  EXPECT_EQ(bookmarks.Items()[0].Name, "Мост через реку");

  bookmarks.Remove(5);
  bookmarks.Remove(0);
  ASSERT_EQ(bookmarks.Items().size(), 1u);
  EXPECT_EQ(bookmarks.Items()[0].Name, "Вход  в парк");
}

}  // namespace
}  // namespace vellmar
