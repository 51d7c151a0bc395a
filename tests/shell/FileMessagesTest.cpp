// Messages for people when files fail: the message names the file and says what to do,
// the program's own text goes under the details, and a damaged file opened at start
// leaves no empty street behind when another file opened.

#include <filesystem>
#include <fstream>
#include <string_view>

#include <QTabBar>

#include "shell/files/FileMessages.h"
#include "ShellFixture.h"

namespace vellmar::test {
namespace {

using namespace std::string_view_literals;

QStringList Tabs(TMainForm& form) {
  QStringList tabs;
  for (int i = 0; i < form.StreetsTab().count(); ++i) tabs << form.StreetsTab().tabText(i);
  return tabs;
}

TEST_F(ShellTest, AFileThatFailsAtStartIsNamedWithWhatToDoAndLeavesNoEmptyStreet) {
  struct TCase {
    const char* What;
    const char* Name;
    std::string_view Bytes;  // empty: no such file
    const char* Says;   // a part of the message
  };
  const TCase cases[] = {
      {"damaged", "damaged.pln", "TAGSSIZE\x08\x00\x00\x00STREET  garbage"sv, "_autosave_damaged.pln"},
      {"not a street", "notes.pln", "just some text"sv, "_autosave_notes.pln"},
      {"missing", "gone.pln", ""sv, "не найден"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    MakeForm();
    const std::filesystem::path bad = dir_ / c.Name;
    std::filesystem::remove(bad);
    if (!c.Bytes.empty()) std::ofstream(bad, std::ios::binary).write(c.Bytes.data(), static_cast<std::streamsize>(c.Bytes.size()));
    // As the command line opens them: in the background, on the first empty street.
    form_->OpenFilesInBackground({Q(bad), DemoCopy("good.pln")});
    WaitForOpening();
    Settle();
    ASSERT_EQ(prompts_->Messages.size(), 1);
    const QString message = prompts_->Messages[0];
    EXPECT_TRUE(message.contains(QString::fromLatin1(c.Name))) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.Says))) << message.toStdString();
    ASSERT_EQ(prompts_->Details.size(), 1);
    EXPECT_FALSE(prompts_->Details[0].isEmpty());
    EXPECT_FALSE(message.contains(prompts_->Details[0])) << "the program's own text belongs under the details";
    EXPECT_EQ(Tabs(*form_), QStringList{QStringLiteral("good.pln")});
  }
}

TEST(FileMessages, SaveFailureNamesTheFileAndItsFolder) {
  const QString text = SaveFailureText(QStringLiteral("/nowhere/at/all/street.pln"));
  EXPECT_TRUE(text.contains(QStringLiteral("«street.pln»")));
  EXPECT_TRUE(text.contains(QStringLiteral("/nowhere/at/all")));
}

}  // namespace
}  // namespace vellmar::test
