// The streets open when the window closed come back at the next start, with their views
// and the current tab; a file gone since is named once and the rest still open; the
// setting turns it off.

#include <filesystem>
#include <string>

#include <QTabBar>

#include "document/StreetStructure.h"
#include "shell/ui/ShellText.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

struct TSessionCase {
  const char* Name;
  bool RemoveSecond;   // the second street's file vanishes before the next start
  bool TurnedOff;      // Session/Restore=0
  QStringList Tabs;    // after the restore
  int Messages;
};

class SessionTest : public ShellTest, public testing::WithParamInterface<TSessionCase> {};

QStringList Captions(TMainForm& form) {
  QStringList tabs;
  for (int i = 0; i < form.StreetsTab().count(); ++i) tabs << form.StreetsTab().tabText(i);
  return tabs;
}

}  // namespace

TEST_P(SessionTest, StreetsOpenAtCloseComeBackWithViewsAndCurrentTab) {
  const TSessionCase& c = GetParam();
  const QString first = DemoCopy("first.pln"), second = DemoCopy("second.pln"), third = DemoCopy("third.pln");
  form_->OpenFiles({first, second, third});
  const TViewState views[] = {{{1.0f, 2.0f, 0.0f}, 0.02f, 0.1f}, {{-5.0f, 7.5f, 0.0f}, 0.003f, -1.25f},
                              {{100.0f, 0.5f, 0.0f}, 0.25f, 3.0f}};
  for (int i = 0; i < 3; ++i) {
    form_->StreetsTab().setCurrentIndex(i);
    Drawer().SetView(views[i]);
  }
  form_->StreetsTab().setCurrentIndex(2);
  // A new street never saved has no file to come back from.
  Streets().NewStreet();
  Streets().SetCurrentIndex(2);
  form_->PlanChanged();
  ASSERT_TRUE(form_->close());
  if (c.RemoveSecond) std::filesystem::remove(LocalPath(second));
  if (c.TurnedOff) WriteSettingString(QStringLiteral("Session"), QStringLiteral("Restore"), QStringLiteral("0"));

  MakeForm();
  form_->RestoreSession();
  WaitForOpening();
  Settle();
  EXPECT_EQ(Captions(*form_), c.Tabs);
  ASSERT_EQ(prompts_->Messages.size(), c.Messages) << prompts_->Messages.join("|").toStdString();
  if (c.Messages == 1) {
    EXPECT_TRUE(prompts_->Messages[0].contains(second)) << "the message names the file gone";
  }
  if (c.TurnedOff) return;
  EXPECT_EQ(form_->StreetsTab().currentIndex(), c.Tabs.indexOf(QStringLiteral("third.pln")));
  for (int i = 0; i < Streets().StreetCount(); ++i) {
    const int kept = QStringList{"first.pln", "second.pln", "third.pln"}.indexOf(Captions(*form_)[i]);
    const TViewState view = StreetView(Streets().StreetAt(i));
    EXPECT_EQ(view.Centre.x, views[kept].Centre.x) << i;
    EXPECT_EQ(view.Centre.y, views[kept].Centre.y) << i;
    EXPECT_EQ(view.Scale, views[kept].Scale) << i;
    EXPECT_EQ(view.Rotation, views[kept].Rotation) << i;
    EXPECT_FALSE(Streets().StreetAt(i).Modified()) << "a restored view is no change to save";
  }
}

// A file named on the command line that the last session was still reading was dropped
// as already on its way, and the session's current tab stayed current.
TEST_F(ShellTest, AFileNamedAgainWhileTheSessionReadsItBecomesCurrent) {
  const QString first = DemoCopy("first.pln"), second = DemoCopy("second.pln"), third = DemoCopy("third.pln");
  form_->OpenFiles({first, second, third});
  ASSERT_EQ(Streets().CurrentIndex(), 2);
  ASSERT_TRUE(form_->close());
  MakeForm();
  form_->RestoreSession();
  form_->OpenFilesInBackground({first});
  WaitForOpening();
  Settle();
  EXPECT_EQ(Captions(*form_), (QStringList{"first.pln", "second.pln", "third.pln"}));
  EXPECT_EQ(Streets().CurrentFileName(), first);
  EXPECT_EQ(form_->StreetsTab().currentIndex(), 0);
  EXPECT_TRUE(prompts_->Messages.isEmpty()) << prompts_->Messages.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Restarts, SessionTest,
    testing::Values(TSessionCase{"AllThere", false, false, {"first.pln", "second.pln", "third.pln"}, 0},
                    TSessionCase{"OneVanished", true, false, {"first.pln", "third.pln"}, 1},
                    TSessionCase{"TurnedOff", false, true, {"Street.pln"}, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace vellmar::test
