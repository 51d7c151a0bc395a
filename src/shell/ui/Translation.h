#pragma once
// The language of the viewer's texts: Russian as the code writes them, or the English
// translation built into the program. The setting "Language" of the section "MainForm"
// ("ru" or "en") goes before the system's locale; a locale of any language but Russian
// gets English. Texts stored in street files (kind names, idents) are never translated.
// The object installs its translators into the application and takes them out again
// when it goes, so it lives as long as the windows it serves.

#include <memory>
#include <vector>

#include <QLocale>
#include <QString>

#include "platform/text/Language.h"

class QTranslator;

namespace vellmar {

class TTranslation {
 public:
  explicit TTranslation(const QLocale& system = QLocale::system());
  ~TTranslation();
  TTranslation(const TTranslation&) = delete;
  TTranslation& operator=(const TTranslation&) = delete;

  // "ru" or "en".
  const QString& Language() const { return language_; }

 private:
  void Install(const QString& name, const QString& directory);

  QString language_;
  std::vector<std::unique_ptr<QTranslator>> translators_;
};

// The language chosen for the locale and the setting.
QString ChooseLanguage(const QLocale& system);
// The language of the translation alive now, for the texts the core makes (kind and field
// names, stations); Russian, the texts' own language, when none is.
TLanguage ShellLanguage();

}  // namespace vellmar
