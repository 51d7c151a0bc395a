#include "shell/files/StoredOpenDialog.h"

#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"

namespace vellmar {

namespace {

const QString kFileName = QStringLiteral("FileName");

}  // namespace

QStringList TStoredOpenDialog::Execute() {
  if (fileName_.isEmpty()) fileName_ = ReadSettingString(section_, kFileName);
  const QStringList chosen = prompts_.ChooseStreetFiles(fileName_);
  if (chosen.isEmpty()) return chosen;
  fileName_ = chosen.front();
  WriteSettingsOrWarn([&] { WriteSettingString(section_, kFileName, fileName_); },
                      [this](const QString& text) { prompts_.ShowMessage(text); });
  return chosen;
}

}  // namespace vellmar
