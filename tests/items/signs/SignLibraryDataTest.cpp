// The committed sign and traffic-light libraries (data/DataFiles, written by
// vellmar-datafiles) as a fresh checkout's program meets them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "items/signs/EmfSubItem.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SvetoforPictureLib.h"
#include "platform/files/DirectoryProvider.h"
#include "platform/metafile/MetafilePlayer.h"
#include "platform/text/Cp1251.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

fs::path CommittedData() {
  return test::SourceDir() / "data/DataFiles";
}

uint32_t At(const TBitmap& b, int x, int y) { return b.GetPixel(x, y) & 0xFFFFFF; }

}  // namespace

// Before the library shipped a default folder, a fresh checkout asked for the sign
// directory on first start and warned on every street with signs.
TEST(SignLibraryData, DefaultFolderLeadsToTheSignsWithoutAsking) {
  if (!fs::is_directory(CommittedData())) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  test::ScopedDataVariable root(CommittedData().c_str());
  TDirectoryProvider provider;  // nobody to ask
  std::vector<std::string> warnings;
  TNamedMetafileLib library;
  BuildMetafileLibrary(library, provider, [&](const std::string& w) { warnings.push_back(w); });
  EXPECT_TRUE(warnings.empty());
  EXPECT_GE(library.Count(), 60);
  // The demo street's plates, the second sign kind's picture, a Windows metafile, and
  // names found without regard to letter case.
  for (const char* name : {"5-16.emf", "5-19-1.emf", "1-24.emf", "3-02.wmf", "g2004_5-19-2_BIG.EMF"})
    EXPECT_GE(library.IndexOfName(name), 0) << name;
  EXPECT_EQ(SignNumber("G2004_5-19-2_big.emf"), "5.19.2");
  EXPECT_EQ(SignNumber("3-24_40.emf"), "3.24");

  const TMetafile missing = LoadMissingSignMetafile(
      CommittedData() / "Знаки" / "Знак отсутствует в библиотеке.emf", [&](const std::string& w) { warnings.push_back(w); });
  EXPECT_FALSE(missing.Empty());
  EXPECT_TRUE(warnings.empty());
}

TEST(SignLibraryData, SignsShowTheirColoursAndSpeedLimitsTheirNumbers) {
  if (!fs::is_directory(CommittedData())) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  const auto play = [](const char* name) {
    TMetafile picture;
    picture.LoadFromFile(CommittedData() / "Знаки" / name);
    TMetafilePlayback report;
    TBitmap bitmap = PlayMetafile(picture, 256, 256, &report);
    EXPECT_EQ(report.Skipped, 0) << name;
    return bitmap;
  };
  struct TCase {
    const char* Name;
    int X, Y;  // a pixel of the 256 x 256 texture
    uint32_t Colour;
  };
  const TCase cases[] = {
      {"3-24_40.emf", 128, 8, 0xCC181E},   // the red ring at the top
      {"3-24_40.emf", 128, 40, 0xFFFFFF},  // the white field inside it
      {"1-22.emf", 128, 12, 0xCC181E},     // the red border at the triangle's top
      {"5-16.emf", 10, 128, 0x00529C},     // the blue square
      {"4-01-1.wmf", 30, 128, 0x00529C},   // the blue disc, from a Windows metafile
      {"2-01.emf", 128, 128, 0xFFCC00},    // the yellow diamond
  };
  for (const TCase& c : cases) EXPECT_EQ(At(play(c.Name), c.X, c.Y), c.Colour) << c.Name;

  // The numbers: dark ink in the middle, and 40 is not 60.
  const TBitmap forty = play("3-24_40.emf"), sixty = play("3-24_60.emf");
  int ink = 0, differ = 0;
  for (int y = 90; y < 170; ++y)
    for (int x = 60; x < 196; ++x) {
      ink += At(forty, x, y) < 0x404040;
      differ += At(forty, x, y) != At(sixty, x, y);
    }
  EXPECT_GT(ink, 1000);
  EXPECT_GT(differ, 500);
}

// The crossing signs' walking figure stands on the zebra's stripes: 1.22 once showed the
// figure alone. The lowest dark row of each picture crosses three stripes.
TEST(SignLibraryData, CrossingSignsShowTheFigureOnZebraStripes) {
  if (!fs::is_directory(CommittedData())) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  for (const char* name : {"1-22.emf", "5-19-1.emf", "G2004_5-19-2_big.emf"}) {
    TMetafile picture;
    picture.LoadFromFile(CommittedData() / "Знаки" / name);
    const TBitmap bitmap = PlayMetafile(picture, 256, 256);
    const auto dark = [&](int x, int y) {
      const uint32_t c = At(bitmap, x, y);
      return (c >> 16 & 0xFF) < 80 && (c >> 8 & 0xFF) < 80 && (c & 0xFF) < 80;
    };
    int lowest = -1;
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) lowest = dark(x, y) ? y : lowest;
    }
    ASSERT_GE(lowest, 0) << name;
    // Runs of dark pixels a little above the lowest row, where the stripes are whole.
    const int row = lowest - 2;
    int runs = 0;
    for (int x = 0; x < 256; ++x) runs += dark(x, row) && (x == 0 || !dark(x - 1, row)) ? 1 : 0;
    EXPECT_EQ(runs, 3) << name << ", row " << row;
  }
}

// Plates are twice as wide as tall but play into square textures: their text has to
// stretch with the picture, or it comes out twice too wide and runs off the plate.
TEST(SignLibraryData, PlateTextStaysInsideItsPlate) {
  if (!fs::is_directory(CommittedData())) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  for (const char* name : {"8-01-1_150.emf", "8-02-1_100.emf", "8-05-4.emf"}) {
    TMetafile picture;
    picture.LoadFromFile(CommittedData() / "Знаки" / name);
    const TBitmap bitmap = PlayMetafile(picture, 256, 256);
    int inkNearTheEdges = 0, ink = 0;
    for (int y = 64; y < 192; ++y)
      for (int x = 8; x < 248; ++x) {
        const bool dark = At(bitmap, x, y) < 0x404040;
        ink += dark;
        inkNearTheEdges += dark && (x < 24 || x >= 232);
      }
    EXPECT_EQ(inkNearTheEdges, 0) << name;
    EXPECT_GT(ink, 2000) << name;
  }
}

TEST(SignLibraryData, TrafficLightPicturesAreAnchoredAtTheirMarkers) {
  if (!fs::is_directory(CommittedData())) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  TSvetoforPictureLib heads, supports;
  const auto noWarnings = [](const std::string& w) { ADD_FAILURE() << w; };
  heads.LoadDirectory(CommittedData() / "Светофоры", noWarnings);
  supports.LoadDirectory(CommittedData() / "Светофоры" / "Опоры", noWarnings);
  ASSERT_GE(heads.Count(), 3);
  ASSERT_GE(supports.Count(), 2);
  const int32_t head = heads.IndexOfName(Utf8ToCp1251("Т.1"));
  ASSERT_GE(head, 0);
  // A head hangs by the middle of its bottom edge; a support stands on its pole.
  EXPECT_EQ(heads.Picture(head).AnchorX, 12);
  EXPECT_EQ(heads.Picture(head).AnchorY, heads.Picture(head).Bitmap.Height() - 1);
  const int32_t pole = supports.IndexOfName(Utf8ToCp1251("Стойка"));
  ASSERT_GE(pole, 0);
  EXPECT_EQ(supports.Picture(pole).AnchorX, 8);
  EXPECT_EQ(supports.Picture(pole).AnchorY, 8);
}

}  // namespace vellmar
