#include "items/road/ArrowLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/WarningSink.h"
#include "platform/ini/IniReader.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

const std::string kLeft = "\xCD\xE0\xEB\xE5\xE2\xEE";  // "Налево" in 1251

std::string LibraryText() {
  return "[1.18.1]\r\n"
         "LineLoop1=0&-0.1#2&-0.1#2&-0.3#3&0#2&0.3#2&0.1#0&0.1#\r\n"
         "LineLoop2= 0 & -0.2 # 6&-0.2#6&0.2#0&0.2#\r\n"
         "MirrorY=1\r\n"
         "DescriptionLow=small\r\nDescriptionHigh=large\r\n"
         "GostSubName=1.18.1\r\n"
         "[" +
         kLeft +
         "]\r\n"
         "LineLoop1=0&0#1&0#1&1#0&1#5&5\r\n"
         "[broken]\r\n"
         "LineLoop1=0&0#1,5&0#1&1#0&1#\r\n"
         "LineLoop2=#\r\n"
         "MirrorY=0\r\n";
}

}  // namespace

TEST(ArrowLibrary, SectionsBecomeTypesWithTessellatedOutlines) {
  // Warnings earlier tests left waiting for a sink are theirs, not this library's.
  TakePendingWarnings();
  std::vector<std::string> warnings;
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  const TArrowLibrary library = TArrowLibrary::FromIni(TIniReader::FromText(LibraryText()));
  SetWarningSink({});
  ASSERT_EQ(library.Count(), 3);

  const TArrowType& straight = library.Type(0);
  EXPECT_EQ(straight.Name, "1.18.1");
  EXPECT_EQ(straight.Normal.Points.size(), 7u);
  EXPECT_EQ(straight.Normal.Triangles.size(), 3u * 5u);  // a simple outline of n points fills with n - 2
  EXPECT_NEAR(straight.Normal.Area, 0.7, 1e-6);          // shaft 2 x 0.2, head 0.6 wide and 1 long
  EXPECT_NEAR(straight.Normal.Extent, 3, 1e-6);
  EXPECT_NEAR(straight.Big.Area, 2.4, 1e-6);
  EXPECT_NEAR(straight.Big.Extent, 6, 1e-6);
  EXPECT_FLOAT_EQ(straight.Big.Points[0].y, -0.2f);
  EXPECT_TRUE(straight.MirrorY);
  EXPECT_EQ(straight.DescriptionLow, "small");
  EXPECT_EQ(straight.DescriptionHigh, "large");
  EXPECT_EQ(straight.GostSubName, "1.18.1");

  // The point after the last "#" is ignored; absent keys leave empty outlines.
  const TArrowType& left = library.Type(1);
  EXPECT_EQ(left.Normal.Points.size(), 4u);
  EXPECT_NEAR(left.Normal.Area, 1, 1e-6);
  EXPECT_TRUE(left.Big.Points.empty());
  EXPECT_TRUE(left.Big.Triangles.empty());
  EXPECT_EQ(left.Big.Area, 0);
  EXPECT_FALSE(left.MirrorY);
  EXPECT_EQ(left.GostSubName, "");

  // A point that does not read is left out and reported.
  const TArrowType& broken = library.Type(2);
  EXPECT_EQ(broken.Normal.Points.size(), 3u);
  EXPECT_NEAR(broken.Normal.Area, 0.5, 1e-6);
  EXPECT_TRUE(broken.Big.Points.empty());
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0], "TArrowLibrary.FromIni: [broken] LineLoop1: point \"1,5&0\" is not x&y; left out");
  EXPECT_EQ(warnings[1], "TArrowLibrary.FromIni: [broken] LineLoop2: point \"\" is not x&y; left out");
}

TEST(ArrowLibrary, NamesAreFoundExactly) {
  test::TempDir dir;
  std::ofstream(dir / "ArrowRazmet.std", std::ios::binary) << "[1.18.1]\r\n[1.18.1]\r\n[" << kLeft << "]\r\n";
  const TArrowLibrary library = TArrowLibrary::LoadFromFile(dir / "ArrowRazmet.std");
  ASSERT_EQ(library.Count(), 2);  // a repeated section is one type
  EXPECT_EQ(library.IndexOf("1.18.1"), 0);
  EXPECT_EQ(library.IndexOf(kLeft), 1);
  EXPECT_EQ(library.IndexOf("\xED\xE0\xEB\xE5\xE2\xEE"), -1);  // lower case
  EXPECT_EQ(library.IndexOf("1.18.1 "), -1);
  EXPECT_EQ(library.IndexOf(""), -1);
  EXPECT_EQ(TArrowLibrary::LoadFromFile(dir / "missing.std").Count(), 0);
}

}  // namespace vellmar
