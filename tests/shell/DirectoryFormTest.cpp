// The data-directory dialog and its settings.

#include <QComboBox>
#include <QLineEdit>

#include "platform/files/DirectoryProvider.h"
#include "platform/text/Cp1251.h"
#include "shell/ui/DirectoryForm.h"
#include "ShellFixture.h"

namespace vellmar::test {

TEST(DirectoryForm, StartsWithTheThreePurposesAndSelectsTheAskedOne) {
  ClearSettings();
  TScriptedPrompts prompts;
  TDirectoryForm form(prompts, QStringLiteral("Каталог словарей"), nullptr);
  ASSERT_EQ(form.DirNamesBox().count(), 3);
  EXPECT_EQ(form.DirNamesBox().itemText(2), QStringLiteral("Каталог библиотеки метафайлов"));
  EXPECT_EQ(form.DirNamesBox().currentIndex(), 1);
  EXPECT_TRUE(form.DirEdit().text().endsWith(QStringLiteral("DefaultDirs/Каталог словарей")))
      << form.DirEdit().text().toStdString();
  TDirectoryForm unknown(prompts, QStringLiteral("Нет такого"), nullptr);
  EXPECT_EQ(unknown.DirNamesBox().currentIndex(), -1);
}

TEST(DirectoryForm, ABrowsedFolderIsStoredAtOnceAndReachesTheProvider) {
  ClearSettings();
  TempDir dir;
  TScriptedPrompts prompts;
  const QString purpose = QStringLiteral("Каталог библиотеки метафайлов");
  {
    TDirectoryForm form(prompts, purpose, nullptr);
    prompts.DirectoryToChoose = Q(dir.Path());
    form.DirSBClick();
    EXPECT_EQ(form.DirEdit().text(), Q(dir.Path()));
    form.reject();
  }
  EXPECT_EQ(ReadSettingString("Directory\\Dirs", purpose), Q(dir.Path()));
  EXPECT_EQ(DirectoryProvider().GetDirectory(Utf8ToCp1251(purpose.toStdString())), dir.Path());
  // A new run hands the stored choice to the provider.
  DirectoryProvider().SetDirectory(Utf8ToCp1251(purpose.toStdString()), {});
  InstallDirectorySettings(prompts);
  EXPECT_EQ(DirectoryProvider().GetDirectory(Utf8ToCp1251(purpose.toStdString())), dir.Path());
  // The provider asks through the prompts and remembers the purpose asked for.
  std::filesystem::path asked;
  EXPECT_TRUE(DirectoryProvider().AskDirectory(Utf8ToCp1251("Каталог словарей"), asked));
  EXPECT_EQ(prompts.DirectoriesEdited, QStringList{QStringLiteral("Каталог словарей")});
  QStringList names;
  ReadSettingList("Directory\\Names", "List", names);
  EXPECT_EQ(names.value(0), QStringLiteral("Каталог словарей"));
  DirectoryProvider().SetAsker({});
  DirectoryProvider().SetDirectory(Utf8ToCp1251(purpose.toStdString()), {});
}

TEST(DirectoryForm, ThePurposeListComesFromTheSettingsWhenStored) {
  ClearSettings();
  WriteSettingList("Directory\\Names", "List", {"B", "A"});
  TScriptedPrompts prompts;
  TDirectoryForm form(prompts, "A", nullptr);
  ASSERT_EQ(form.DirNamesBox().count(), 2);
  EXPECT_EQ(form.DirNamesBox().itemText(0), QStringLiteral("B"));
  EXPECT_EQ(form.DirNamesBox().currentIndex(), 1);
}

}  // namespace vellmar::test
