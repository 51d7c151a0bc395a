// The viewer's texts in the language of the system's locale, or of the setting that
// overrides it: under an English (or any non-Russian) locale no text of the window, its
// buttons, hints, menus or questions is left in Russian; under a Russian one they are.

#include <algorithm>
#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

#include "document/StreetStructure.h"
#include "shell/ui/Translation.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

struct TLanguageCase {
  const char* Name;
  QLocale::Language System;
  const char* Setting;  // MainForm/Language
  bool Russian;
};

class TranslationTest : public ShellTest, public testing::WithParamInterface<TLanguageCase> {};

bool IsCyrillic(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

// Every text the window shows or hints at, and what it asked and said.
QStringList ShownTexts(TMainForm& form, const TScriptedPrompts& prompts) {
  QStringList texts{form.windowTitle()};
  for (const QWidget* widget : form.findChildren<QWidget*>()) {
    texts << widget->toolTip() << widget->windowTitle();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) texts << label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) texts << button->text();
  }
  for (const QAction* action : form.findChildren<QAction*>()) texts << action->text() << action->toolTip();
  return texts + prompts.Questions + prompts.Messages;
}

}  // namespace

TEST_P(TranslationTest, TheWindowSpeaksTheChosenLanguage) {
  const TLanguageCase& c = GetParam();
  WriteSettingString(QStringLiteral("MainForm"), QStringLiteral("Language"), QString::fromLatin1(c.Setting));
  const TTranslation translation{QLocale(c.System)};
  EXPECT_EQ(translation.Language(), c.Russian ? "ru" : "en");
  MakeForm();
  // A question and a message of the streets module as well.
  Streets().StreetAt(0).MarkModified();
  form_->CloseStreetMIClick();
  form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("a.pln")});

  const QStringList texts = ShownTexts(*form_, *prompts_);
  QStringList russian;
  for (const QString& text : texts) {
    if (IsCyrillic(text)) russian << text;
  }
  if (c.Russian) {
    EXPECT_TRUE(russian.contains(QStringLiteral("Открыть файл"))) << russian.join("|").toStdString();
    EXPECT_TRUE(prompts_->Questions.contains(QStringLiteral("Улица не сохранена.Сохранять?")));
  } else {
    EXPECT_TRUE(russian.isEmpty()) << "left in Russian: " << russian.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Open file")));
    EXPECT_EQ(prompts_->Messages, QStringList{QStringLiteral("The file is already open.")});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, TranslationTest,
    testing::Values(TLanguageCase{"EnglishSystem", QLocale::English, "", false},
                    TLanguageCase{"GermanSystem", QLocale::German, "", false},
                    TLanguageCase{"RussianSystem", QLocale::Russian, "", true},
                    TLanguageCase{"RussianSystemEnglishSetting", QLocale::Russian, "en", false},
                    TLanguageCase{"EnglishSystemRussianSetting", QLocale::English, "ru", true}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace vellmar::test
