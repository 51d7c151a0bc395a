// Streets whose files another program writes: read anew keeping the view when the tab
// has no changes, asked about when it has; a save by renaming a new file over the old
// one (which takes the old file out of the system's watch) counts as much as a write.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QSignalSpy>

#include "document/StreetStructure.h"
#include "shell/files/StreetReload.h"
#include "shell/ui/ShellText.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

enum class TWrite { AtomicRename, InPlace };

struct TReloadCase {
  const char* Name;
  TWrite Write;
  bool Modified;
  TAnswer Answer;  // to the question, when there is one
  bool Reloads;
};

class ReloadTest : public ShellTest, public testing::WithParamInterface<TReloadCase> {
 protected:
  // What another program saves: the street of the file under a new name, with another view.
  void WriteElsewhere(const QString& file, TWrite how) {
    TStreetStructure street;
    street.LoadFromFile(LocalPath(file));
    street.SetStreetName("written elsewhere");
    street.SetView({0.0f, 0.0f, 0.0f}, 0.5f, 0.0f);
    if (how == TWrite::AtomicRename) {
      street.SaveToFile(LocalPath(file));
      return;
    }
    const std::filesystem::path scratch = dir_ / "scratch.pln";
    street.SaveToFile(scratch);
    std::ifstream in(scratch, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(LocalPath(file), std::ios::binary | std::ios::trunc) << bytes;
  }
};

}  // namespace

TEST_P(ReloadTest, AStreetWrittenByAnotherProgramIsReadAnewOrAskedAbout) {
  const TReloadCase& c = GetParam();
  const QString file = DemoCopy("watched.pln");
  form_->OpenFiles({file});
  const TViewState view{{12.5f, -3.0f, 0.0f}, 0.037f, 0.25f};
  Drawer().SetView(view);
  if (c.Modified) Streets().StreetAt(0).MarkModified();
  prompts_->Answers = {c.Answer};
  const TStreetStructure* before = &Streets().StreetAt(0);
  QSignalSpy changed(&form_->Reload().Watch(), &TStreetFileWatch::Changed);
  Settle();
  // What the first frame of the process warned about (data files the tests lack) is not ours.
  prompts_->Messages.clear();
  const int frames = form_->FrameCount();

  WriteElsewhere(file, c.Write);
  ASSERT_TRUE(changed.wait(30000)) << "the change of the file went unnoticed";
  WaitForOpening();
  Settle();

  EXPECT_EQ(prompts_->Questions.size(), c.Modified ? 1 : 0);
  TStreetStructure& street = Streets().StreetAt(0);
  if (c.Reloads) {
    EXPECT_EQ(street.StreetName(), "written elsewhere");
    EXPECT_GT(form_->FrameCount(), frames) << "the street read anew was never drawn";
    EXPECT_FALSE(street.Modified());
    const TViewState kept = Drawer().View();
    EXPECT_EQ(kept.Centre.x, view.Centre.x);
    EXPECT_EQ(kept.Centre.y, view.Centre.y);
    EXPECT_EQ(kept.Scale, view.Scale) << "the view of the file replaced the one on the screen";
    EXPECT_EQ(kept.Rotation, view.Rotation);
  } else {
    EXPECT_EQ(&street, before);
    EXPECT_NE(street.StreetName(), "written elsewhere");
    EXPECT_TRUE(street.Modified());
  }
  EXPECT_EQ(Streets().StreetCount(), 1);
  EXPECT_TRUE(prompts_->Messages.isEmpty()) << prompts_->Messages.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Writes, ReloadTest,
    testing::Values(TReloadCase{"AtomicRenameOfAnUnchangedTab", TWrite::AtomicRename, false, TAnswer::Cancel, true},
                    TReloadCase{"InPlaceWriteOfAnUnchangedTab", TWrite::InPlace, false, TAnswer::Cancel, true},
                    TReloadCase{"ChangedTabKeptWhenTheUserSaysNo", TWrite::AtomicRename, true, TAnswer::No, false},
                    TReloadCase{"ChangedTabReadAnewWhenTheUserSaysYes", TWrite::AtomicRename, true, TAnswer::Yes,
                                true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ShellTest, ASecondRenameSaveIsSeenToo) {
  // After the first rename the watch must follow the new file, not the unlinked old one.
  const QString file = DemoCopy("twice.pln");
  form_->OpenFiles({file});
  QSignalSpy changed(&form_->Reload().Watch(), &TStreetFileWatch::Changed);
  for (const char* name : {"first", "second"}) {
    TStreetStructure street;
    street.LoadFromFile(LocalPath(file));
    street.SetStreetName(name);
    street.SaveToFile(LocalPath(file));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Streets().StreetAt(0).StreetName() == name; }, 30000)) << name;
  }
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(ShellTest, ADamagedRewriteIsReportedAndTheTabStaysAsItWas) {
  const QString file = DemoCopy("damaged.pln");
  form_->OpenFiles({file});
  const TStreetStructure* before = &Streets().StreetAt(0);
  QSignalSpy changed(&form_->Reload().Watch(), &TStreetFileWatch::Changed);
  Settle();
  prompts_->Messages.clear();
  std::ofstream(LocalPath(file), std::ios::binary | std::ios::trunc) << "TAGSSIZE\x08\x00\x00\x00STREET  garbage";
  ASSERT_TRUE(changed.wait(30000));
  WaitForOpening();
  EXPECT_EQ(prompts_->Messages.size(), 1);
  EXPECT_EQ(&Streets().StreetAt(0), before);
  EXPECT_EQ(Streets().StreetCount(), 1);
}

}  // namespace vellmar::test
