#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "support/TestSupport.h"

namespace vellmar {

namespace {

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(TStream& stream, const std::string& text) {
  stream.Write(text.data(), text.size());
}

int EntryCount(const std::filesystem::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

}  // namespace

TEST(AtomicFile, CommitReplacesTheTargetAndKeepsItsPermissions) {
  test::TempDir dir;
  const auto target = dir / "street.pln";
  { std::ofstream(target) << "old"; }
  std::filesystem::permissions(target,
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  TAtomicFile file(target);
  WriteText(file.Stream(), "new content");
  EXPECT_EQ(FileText(target), "old");
  file.Commit();
  EXPECT_EQ(FileText(target), "new content");
  EXPECT_EQ(std::filesystem::status(target).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(EntryCount(dir.Path()), 1);
  EXPECT_THROW(file.Commit(), EVellmarError);
}

// A save that fails half-way must neither truncate the user's file nor leave
// temporary files behind.
TEST(AtomicFile, FailedSaveLeavesTheOldFileWhole) {
  test::TempDir dir;
  const auto target = dir / "street.pln";
  { std::ofstream(target) << "old"; }
  EXPECT_THROW(
      {
        TAtomicFile file(target);
        WriteText(file.Stream(), std::string(200000, 'x'));
        throw std::runtime_error("writer failed");
      },
      std::runtime_error);
  EXPECT_EQ(FileText(target), "old");
  EXPECT_EQ(EntryCount(dir.Path()), 1);
}

TEST(AtomicFile, SavesThroughASymbolicLinkIntoItsTarget) {
  test::TempDir dir;
  const auto real = dir / "real.pln";
  const auto link = dir / "link.pln";
  { std::ofstream(real) << "old"; }
  std::filesystem::create_symlink(real, link);
  TAtomicFile file(link);
  WriteText(file.Stream(), "new");
  file.Commit();
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(FileText(real), "new");
}

// The failure names the file the caller asked for, never the temporary beside it.
TEST(AtomicFile, MissingOrReadOnlyDirectoryRaisesWithTheTargetsPath) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "locked");
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  struct TCase {
    std::filesystem::path Target;
    std::string Reason;
  };
  std::vector<TCase> cases = {{dir / "gone" / "street.pln", "No such file or directory"}};
  // root writes into a read-only folder all the same.
  if (::geteuid() != 0) cases.push_back({dir / "locked" / "street.pln", "Permission denied"});
  for (const TCase& c : cases) {
    try {
      TAtomicFile file(c.Target);
      ADD_FAILURE() << "created " << c.Target;
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()), "TAtomicFile.Create: cannot write " + c.Target.string() + ": " + c.Reason);
      EXPECT_NE(e.Code(), 0);
    }
  }
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_all);
}

}  // namespace vellmar
