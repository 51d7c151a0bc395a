#include "items/signs/SvetoforPictureLib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kRed = 0xFF0000;

TEST(SvetoforPictureLib, AnchorIsTheLeftmostMarkerOfTheLowestMarkedRow) {
  TBitmap picture(20, 40, TPixelFormat::pf24bit);
  picture.SetPixel(3, 5, kRed);
  picture.SetPixel(15, 39, kRed);
  picture.SetPixel(10, 39, kRed);
  picture.SetPixel(0, 38, kRed);
  picture.SetPixel(1, 39, 0xFE0000);  // nearly red is no marker
  int32_t x = -1;
  int32_t y = -1;
  TSvetoforPictureLib::FindAnchor(picture, x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 39);

  TSvetoforPictureLib::FindAnchor(TBitmap(4, 4, TPixelFormat::pf24bit), x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(SvetoforPictureLib, ReadsTheBitmapsOfADirectoryNamedWithDots) {
  test::TempDir dir;
  TBitmap support(6, 8, TPixelFormat::pf24bit);
  support.SetPixel(2, 7, kRed);
  support.SaveToFile(dir / "3_1.bmp");
  // A palette picture: the marker is found after the conversion to 32 bits.
  TBitmap head(4, 4, TPixelFormat::pf8bit);
  head.SetPalette({0x000000, 0xFFFFFF, kRed});
  head.SetPixel(1, 2, kRed);
  head.SaveToFile(dir / "Head_A.BMP");
  std::ofstream(dir / "broken.bmp") << "BM but nothing else";
  std::ofstream(dir / "readme.txt") << "not a picture";
  fs::create_directory(dir / "Опоры");
  support.SaveToFile(dir / "Опоры" / "pole.bmp");

  TSvetoforPictureLib library;
  std::vector<std::string> warnings;
  library.LoadDirectory(dir.Path(), [&](const std::string& message) { warnings.push_back(message); });
  EXPECT_EQ(warnings.size(), 1u) << "the broken file is reported and left out";

  ASSERT_EQ(library.Count(), 2);
  const int32_t supportIndex = library.IndexOfName("3.1");
  ASSERT_NE(supportIndex, -1);
  const TSvetoforPicture& found = library.Picture(supportIndex);
  EXPECT_EQ(found.Bitmap.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(found.AnchorX, 2);
  EXPECT_EQ(found.AnchorY, 7);

  const int32_t headIndex = library.IndexOfName("Head.A");
  ASSERT_NE(headIndex, -1);
  EXPECT_EQ(library.Picture(headIndex).AnchorX, 1);
  EXPECT_EQ(library.Picture(headIndex).AnchorY, 2);
  EXPECT_EQ(library.IndexOfName("head.a"), -1);
  EXPECT_EQ(library.IndexOfName("pole"), -1);
}

TEST(SvetoforPictureLib, MissingDirectoryGivesAnEmptyLibrary) {
  test::TempDir dir;
  TSvetoforPictureLib library;
  int warnings = 0;
  library.LoadDirectory(dir / "absent", [&](const std::string&) { ++warnings; });
  EXPECT_EQ(library.Count(), 0);
  EXPECT_EQ(warnings, 0);
}

// The program's libraries are read once for the whole run, so an earlier test may have
// read them from another root: the reads themselves are checked here.
TEST(SvetoforPictureLib, ProgramLibrariesComeFromTheDataRoot) {
  test::TempDir root;
  fs::create_directories(root / "Светофоры" / "Опоры");
  TBitmap picture(2, 2, TPixelFormat::pf24bit);
  picture.SaveToFile(root / "Светофоры" / "1_2.bmp");
  picture.SaveToFile(root / "Светофоры" / "Опоры" / "7.bmp");
  test::ScopedDataVariable variable(root.Path().c_str());
  const TSvetoforPictureLib heads = ReadSvetoforHeads();
  const TSvetoforPictureLib supports = ReadSvetoforSupports();
  EXPECT_EQ(heads.Count(), 1);
  EXPECT_EQ(heads.IndexOfName("1.2"), 0);
  EXPECT_EQ(supports.Count(), 1);
  EXPECT_EQ(supports.IndexOfName("7"), 0);
}

}  // namespace
}  // namespace vellmar
