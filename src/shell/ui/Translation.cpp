#include "shell/ui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/ui/Settings.h"

// The resource lives in a static library: nothing would pull it in without this call.
static void InitTranslationResource() { Q_INIT_RESOURCE(vellmar_translations); }

namespace vellmar {

namespace {

const QString kRussian = QStringLiteral("ru");
const QString kEnglish = QStringLiteral("en");
// Set by the translation alive now; the windows live on the one thread.
TLanguage shellLanguage = TLanguage::Russian;

}  // namespace

QString ChooseLanguage(const QLocale& system) {
  const QString chosen = ReadSettingString(QStringLiteral("MainForm"), QStringLiteral("Language")).trimmed().toLower();
  if (chosen == kRussian || chosen == kEnglish) return chosen;
  return system.language() == QLocale::Russian ? kRussian : kEnglish;
}

TTranslation::TTranslation(const QLocale& system) : language_(ChooseLanguage(system)) {
  InitTranslationResource();
  shellLanguage = language_ == kEnglish ? TLanguage::English : TLanguage::Russian;
  // Qt's own texts (the buttons of message boxes), where the system has them.
  Install(QStringLiteral("qtbase_") + language_, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (language_ == kEnglish) Install(QStringLiteral("vellmar_en"), QStringLiteral(":/translations"));
}

TTranslation::~TTranslation() {
  shellLanguage = TLanguage::Russian;
  for (const auto& translator : translators_) QCoreApplication::removeTranslator(translator.get());
}

TLanguage ShellLanguage() { return shellLanguage; }

void TTranslation::Install(const QString& name, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(name, directory)) return;
  QCoreApplication::installTranslator(translator.get());
  translators_.push_back(std::move(translator));
}

}  // namespace vellmar
