#include "platform/files/DirectoryProvider.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

const std::string kPurpose{"Каталог библиотеки метафайлов"_cp1251};

TEST(DirectoryProvider, WithoutAChoiceThePurposeFolderOfTheDataRootIsUsed) {
  test::TempDir root;
  test::ScopedDataVariable variable(root.Path().c_str());
  TDirectoryProvider provider;
  // Not there yet: the place is still named, so that a message can say where it looked.
  EXPECT_EQ(provider.GetDirectory(kPurpose), root / "DefaultDirs" / "Каталог библиотеки метафайлов");

  // The folder shipped with the data files is found whatever its letter case.
  fs::create_directories(root / "defaultdirs" / "КАТАЛОГ библиотеки метафайлов");
  EXPECT_EQ(provider.GetDirectory(kPurpose), root / "defaultdirs" / "КАТАЛОГ библиотеки метафайлов");

  provider.SetDirectory(kPurpose, "/srv/signs");
  EXPECT_EQ(provider.GetDirectory(kPurpose), fs::path("/srv/signs"));
}

TEST(DirectoryProvider, AskingNeedsSomeoneToAsk) {
  TDirectoryProvider provider;
  fs::path directory = "/unchanged";
  EXPECT_FALSE(provider.AskDirectory(kPurpose, directory));
  EXPECT_EQ(directory, fs::path("/unchanged"));

  provider.SetAsker([](TDirectoryProvider&, const std::string&) { return false; });
  EXPECT_FALSE(provider.AskDirectory(kPurpose, directory));
  EXPECT_EQ(directory, fs::path("/unchanged"));

  provider.SetAsker([](TDirectoryProvider& p, const std::string& purpose) {
    p.SetDirectory(purpose, "/chosen");
    return true;
  });
  EXPECT_TRUE(provider.AskDirectory(kPurpose, directory));
  EXPECT_EQ(directory, fs::path("/chosen"));
}

}  // namespace
}  // namespace vellmar
