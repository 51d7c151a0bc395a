#include "platform/files/PathLookup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(SplitWindowsPath, DropsDriveLettersAndSplitsOnBothSeparators) {
  const auto drive = SplitWindowsPath("C:\\Plans\\x.bmp");
  EXPECT_TRUE(drive.Absolute);
  EXPECT_EQ(drive.Components, (std::vector<std::string>{"Plans", "x.bmp"}));

  const auto mixed = SplitWindowsPath("c:/a\\b//c\\.\\");
  EXPECT_TRUE(mixed.Absolute);
  EXPECT_EQ(mixed.Components, (std::vector<std::string>{"a", "b", "c"}));

  const auto driveRelative = SplitWindowsPath("C:rel\\x");
  EXPECT_FALSE(driveRelative.Absolute);
  EXPECT_EQ(driveRelative.Components, (std::vector<std::string>{"rel", "x"}));

  const auto unc = SplitWindowsPath("\\\\server\\share\\f");
  EXPECT_TRUE(unc.Absolute);
  EXPECT_EQ(unc.Components, (std::vector<std::string>{"server", "share", "f"}));

  EXPECT_EQ(SplitWindowsPath("..\\x").Components, (std::vector<std::string>{"..", "x"}));
  EXPECT_TRUE(SplitWindowsPath("").Components.empty());
  EXPECT_TRUE(SplitWindowsPath("C:").Components.empty());
}

class StoredPaths : public ::testing::Test {
 protected:
  StoredPaths() {
    street = dir / "Планы" / "Улица" / "street.pln";
    underlay = dir / "Планы" / "Улица" / "Подложка.TILES";
    texture = dir / "Планы" / "Текстуры" / "Асфальт.bmp";
    Touch(street);
    Touch(underlay);
    Touch(texture);
  }

  // The 1251 bytes a Windows document would hold for a UTF-8 name.
  static std::string Stored(const std::string& utf8) { return Utf8ToCp1251(utf8); }

  test::TempDir dir;
  fs::path street, underlay, texture;
};

TEST_F(StoredPaths, RelativeNamesMatchCyrillicAndLatinInAnyCase) {
  EXPECT_EQ(ResolveStoredPath(Stored("подложка.tiles"), street), underlay);
  EXPECT_EQ(ResolveStoredPath(Stored("..\\ТЕКСТУРЫ\\асфальт.BMP"), street), texture);
  EXPECT_EQ(ResolveStoredPath(Stored("../текстуры/АСФАЛЬТ.bmp"), street), texture);
}

TEST_F(StoredPaths, AbsoluteNamesWithDriveLettersAndBackslashes) {
  std::string windows = "D:" + texture.string();
  for (char& c : windows) c = c == '/' ? '\\' : c;
  EXPECT_EQ(ResolveStoredPath(Cp1251ToUpper(Stored(windows)), street), texture);
}

TEST_F(StoredPaths, FileMovedWithTheStreetIsFoundBesideIt) {
  EXPECT_EQ(ResolveStoredPath(Stored("C:\\Старое место\\Проект\\ПОДЛОЖКА.tiles"), street), underlay);
  EXPECT_EQ(ResolveStoredPath(Stored("Старое место/Подложка.tiles"), street), underlay);
}

TEST_F(StoredPaths, MissingFilesDirectoriesAndDamagedNamesAreNotFound) {
  EXPECT_EQ(ResolveStoredPath(Stored("C:\\Нет\\такого.tiles"), street), std::nullopt);
  EXPECT_EQ(ResolveStoredPath("", street), std::nullopt);
  EXPECT_EQ(ResolveStoredPath("C:\\", street), std::nullopt);
  EXPECT_EQ(ResolveStoredPath(Stored("..\\Текстуры"), street), std::nullopt);
  // A NUL inside a stored name must not match the file named by its first part.
  EXPECT_EQ(ResolveStoredPath(std::string("street.pln\0.tiles", 17), street), std::nullopt);
  // A street that was never saved has no folder to look in.
  EXPECT_EQ(ResolveStoredPath(Stored("Подложка.TILES"), fs::path()), std::nullopt);
}

TEST(FindPathNoCase, ExactNameWinsAndOtherwiseTheChoiceIsStable) {
  test::TempDir dir;
  Touch(dir / "Tex.bmp");
  Touch(dir / "TEX.bmp");
  EXPECT_EQ(FindPathNoCase(dir.Path(), {"Tex.bmp"}), dir / "Tex.bmp");
  EXPECT_EQ(FindPathNoCase(dir.Path(), {"tex.BMP"}), dir / "TEX.bmp");
  EXPECT_EQ(FindPathNoCase(dir.Path(), {}), dir.Path());
}

TEST(FindPathNoCase, InnerComponentsOnlyMatchDirectories) {
  // Regression: a file "sub" must not hide the folder "SUB" that holds the target.
  test::TempDir dir;
  Touch(dir / "sub");
  Touch(dir / "SUB" / "x.bmp");
  EXPECT_EQ(FindPathNoCase(dir.Path(), {"sub", "X.BMP"}), dir / "SUB" / "x.bmp");
  EXPECT_EQ(FindPathNoCase(dir.Path(), {"sub", "y.bmp"}), std::nullopt);
}

}  // namespace
}  // namespace vellmar
