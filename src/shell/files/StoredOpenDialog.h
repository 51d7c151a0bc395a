#pragma once
// An open dialog that starts on the file chosen last, kept in the settings under the
// value "FileName" of its section, also across runs. The dialog itself is the prompts'.

#include <QString>
#include <QStringList>

namespace vellmar {

class IShellPrompts;

class TStoredOpenDialog {
 public:
  // Section is the owner's name + "." + the dialog's name ("StreetsHolderModule.OpenDialog").
  TStoredOpenDialog(IShellPrompts& prompts, QString section) : prompts_(prompts), section_(std::move(section)) {}

  // Runs the dialog; on confirmation stores the first chosen file (a warning when the
  // settings cannot be written) and returns them all.
  QStringList Execute();
  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& fileName) { fileName_ = fileName; }
  const QString& Section() const { return section_; }

 private:
  IShellPrompts& prompts_;
  QString section_;
  QString fileName_;
};

}  // namespace vellmar
