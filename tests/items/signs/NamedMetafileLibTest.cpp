#include "items/signs/NamedMetafileLib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/files/DirectoryProvider.h"
#include "platform/metafile/MetafileSamples.h"
#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Enhanced(int32_t right) {
  return test::EnhancedSample({0, 0, right, 1000}, {0, 0, 40, 40});
}

struct TCollected {
  std::vector<std::string> Messages;
  TWarningSink Sink() {
    return [this](const std::string& message) { Messages.push_back(message); };
  }
};

TEST(NamedMetafileLib, ReadsEnhancedThenWindowsFilesInNameOrderWhateverTheirCase) {
  test::TempDir dir;
  WriteFile(dir / "b.emf", Enhanced(200));
  WriteFile(dir / "A.EMF", Enhanced(100));
  WriteFile(dir / "Знак.Emf", Enhanced(300));
  WriteFile(dir / "d.WMF", test::WindowsSample(true));
  WriteFile(dir / "C.wmf", test::WindowsSample(false));
  WriteFile(dir / "notes.txt", {1, 2, 3});
  WriteFile(dir / "emf", Enhanced(400));
  fs::create_directory(dir / "folder.emf");

  TNamedMetafileLib library;
  TCollected warnings;
  library.LoadDirectory(dir.Path(), warnings.Sink());
  EXPECT_TRUE(warnings.Messages.empty());

  ASSERT_EQ(library.Count(), 5);
  EXPECT_EQ(library.Name(0), "A.EMF");
  EXPECT_EQ(library.Name(1), "b.emf");
  EXPECT_EQ(library.Name(2), Utf8ToCp1251("Знак.Emf"));
  EXPECT_EQ(library.Name(3), "C.wmf");
  EXPECT_EQ(library.Name(4), "d.WMF");
  EXPECT_EQ(library.Metafile(3).Format(), TMetafileFormat::Windows);

  EXPECT_EQ(library.IndexOfName("a.emf"), 0);
  EXPECT_EQ(library.IndexOfName("D.wmf"), 4);
  EXPECT_EQ(library.IndexOfName("ЗНАК.EMF"_cp1251), 2);
  EXPECT_EQ(library.IndexOfName("A"), -1);
  EXPECT_THROW(library.Metafile(5), EVellmarError);
}

TEST(NamedMetafileLib, ContentLookUpFindsTheLastEqualPicture) {
  test::TempDir dir;
  WriteFile(dir / "1.emf", Enhanced(100));
  WriteFile(dir / "2.emf", Enhanced(200));
  WriteFile(dir / "3.emf", Enhanced(100));
  TNamedMetafileLib library;
  library.LoadDirectory(dir.Path(), nullptr);
  ASSERT_EQ(library.Count(), 3);

  TMetafile same;
  same.LoadFromFile(dir / "1.emf");
  EXPECT_EQ(library.IndexOfMetafile(same), 2);
  TMetafile second;
  second.LoadFromFile(dir / "2.emf");
  EXPECT_EQ(library.IndexOfMetafile(second), 1);
  // Equal sizes in the header are not enough: the bytes decide.
  std::vector<uint8_t> changed = Enhanced(200);
  changed.back() ^= 1;
  WriteFile(dir / "other", changed);
  TMetafile other;
  other.LoadFromFile(dir / "other");
  EXPECT_EQ(library.IndexOfMetafile(other), -1);
}

TEST(NamedMetafileLib, EmptyDirectoryIsReportedOnce) {
  test::TempDir dir;
  TNamedMetafileLib library;
  TCollected warnings;
  library.LoadDirectory(dir.Path(), warnings.Sink());
  EXPECT_EQ(library.Count(), 0);
  ASSERT_EQ(warnings.Messages.size(), 1u);
  const std::string expected =
      std::string(12, ' ') +
      Utf8ToCp1251("Предупреждение !!! \rНе найдено ни одного метафайла в каталоге \"") +
      Utf8ToCp1251(dir.Path().string()) + "\".";
  EXPECT_EQ(warnings.Messages[0], expected);
}

TEST(NamedMetafileLib, UnreadableFileIsLeftOutAndTheRestStillLoad) {
  test::TempDir dir;
  WriteFile(dir / "a.emf", Enhanced(100));
  WriteFile(dir / "b.emf", {'n', 'o', 't', ' ', 'a', ' ', 'm', 'e', 't', 'a', 'f', 'i', 'l', 'e'});
  WriteFile(dir / "c.wmf", test::WindowsSample(true));
  TNamedMetafileLib library;
  TCollected warnings;
  library.LoadDirectory(dir.Path(), warnings.Sink());
  EXPECT_EQ(library.Count(), 2);
  EXPECT_EQ(library.IndexOfName("c.wmf"), 1);
  ASSERT_EQ(warnings.Messages.size(), 1u);
  EXPECT_NE(warnings.Messages[0].find("TMetafile"), std::string::npos);
}

TEST(NamedMetafileLib, UnavailableDirectoryRaisesAfterAskingTheUser) {
  test::TempDir dir;
  TDirectoryProvider provider;
  const std::string purpose = TNamedMetafileLib::DirectoryPurpose();
  provider.SetDirectory(purpose, dir / "gone");
  int asked = 0;
  provider.SetAsker([&](TDirectoryProvider&, const std::string& p) {
    EXPECT_EQ(p, purpose);
    ++asked;
    return false;
  });
  TNamedMetafileLib library;
  try {
    BuildMetafileLibrary(library, provider, nullptr);
    FAIL() << "an unavailable directory must raise";
  } catch (const EVellmarError& e) {
    EXPECT_EQ(std::string(e.what()),
              Utf8ToCp1251("Недоступен каталог \"" + (dir / "gone").string() + "\" (библиотека метафайлов)"));
  }
  EXPECT_EQ(asked, 1);

  // The user picks a directory that exists: it is read.
  WriteFile(dir / "x.emf", Enhanced(100));
  provider.SetAsker([&](TDirectoryProvider& p, const std::string& which) {
    p.SetDirectory(which, dir.Path());
    return true;
  });
  BuildMetafileLibrary(library, provider, nullptr);
  EXPECT_EQ(library.IndexOfName("X.EMF"), 0);
}

TEST(NamedMetafileLib, ProgramsLibraryRaisesOnceThenStaysEmpty) {
  test::TempDir dir;
  DirectoryProvider().SetDirectory(TNamedMetafileLib::DirectoryPurpose(), dir / "gone");
  EXPECT_THROW(MetafileLibrary(), EVellmarError);
  // Signs drawn later find nothing instead of raising for every sign.
  EXPECT_EQ(MetafileLibrary().Count(), 0);
  EXPECT_EQ(&MetafileLibrary(), &MetafileLibrary());
}

TEST(NamedMetafileLib, MissingSignPictureDegradesToAnEmptyPictureAndOneWarning) {
  TCollected warnings;
  EXPECT_TRUE(LoadMissingSignMetafile(std::nullopt, warnings.Sink()).Empty());
  EXPECT_EQ(warnings.Messages.size(), 1u);

  test::TempDir dir;
  WriteFile(dir / "missing.emf", Enhanced(100));
  const TMetafile picture = LoadMissingSignMetafile(dir / "missing.emf", warnings.Sink());
  EXPECT_EQ(picture.Format(), TMetafileFormat::Enhanced);
  EXPECT_EQ(warnings.Messages.size(), 1u);
}

}  // namespace
}  // namespace vellmar
