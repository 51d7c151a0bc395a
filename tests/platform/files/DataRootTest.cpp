#include "platform/files/DataRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

using test::ScopedDataVariable;

TEST(DataRoot, EnvironmentVariableComesFirstAndFilesResolveInAnyCase) {
  test::TempDir dir;
  const fs::path library = dir / "Разметка" / "Default.LnRazmet";
  fs::create_directories(library.parent_path());
  std::ofstream(library) << "[1.1]\n";
  ScopedDataVariable variable(dir.Path().c_str());

  EXPECT_EQ(FindDataRoot(), dir.Path());
  EXPECT_EQ(ResolveDataPath("\\DataFiles\\Разметка\\Default.LnRazmet"_cp1251), library);
  EXPECT_EQ(ResolveDataPath("\\DATAFILES\\РАЗМЕТКА\\default.lnrazmet"_cp1251), library);
  EXPECT_EQ(ResolveDataPath("Разметка/Default.LnRazmet"_cp1251), library);
  EXPECT_EQ(ResolveDataPath("\\DataFiles\\Разметка\\"_cp1251), dir / "Разметка");
  EXPECT_EQ(ResolveDataPath("\\DataFiles\\Разметка\\ArrowRazmet.std"_cp1251), std::nullopt);
}

TEST(DataRoot, FallsBackBesideTheExecutableThenToTheSharedFolder) {
  const fs::path executableDir = ExecutableDir();
  ASSERT_TRUE(fs::exists(executableDir / "platform_tests"));
  const fs::path beside = executableDir / "DataFiles";
  const fs::path shared = (executableDir / ".." / "share" / "vellmar" / "DataFiles").lexically_normal();
  if (fs::exists(beside) || fs::exists(shared))
    GTEST_SKIP() << "data folders already present beside the build";

  test::TempDir missing;
  ScopedDataVariable variable((missing / "absent").c_str());
  EXPECT_EQ(FindDataRoot(), std::nullopt);
  EXPECT_EQ(ResolveDataPath("\\DataFiles\\x.bmp"), std::nullopt);

  fs::create_directories(shared);
  EXPECT_EQ(FindDataRoot(), shared);
  fs::create_directories(beside);
  EXPECT_EQ(FindDataRoot(), beside);
  // Take away only the folders made here; remove() leaves a folder that is not empty.
  std::error_code ec;
  fs::remove(beside, ec);
  fs::remove(shared, ec);
  fs::remove(shared.parent_path(), ec);
  fs::remove(shared.parent_path().parent_path(), ec);
}

}  // namespace
}  // namespace vellmar
