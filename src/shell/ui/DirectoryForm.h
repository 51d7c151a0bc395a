#pragma once
// The data directories the user chooses by purpose ("Каталог словарей"): the dialog that
// shows and changes them, and the link between the core's directory provider and the
// settings ("Directory\Dirs" holds one value per purpose, "Directory\Names" the purposes
// asked for, most recent first).

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace vellmar {

class IShellPrompts;

// Hands the stored choices to the core's directory provider and lets it ask the user
// through the prompts' directory dialog. The prompts must outlive the provider's use
// of them.
void InstallDirectorySettings(IShellPrompts& prompts);

class TDirectoryForm final : public QDialog {
  Q_OBJECT

 public:
  // Purpose is selected in the list (nothing when it is not in it).
  TDirectoryForm(IShellPrompts& prompts, const QString& purpose, QWidget* owner);

  QComboBox& DirNamesBox() { return *dirNamesBox_; }
  QLineEdit& DirEdit() { return *dirEdit_; }
  // The folder browser for the selected purpose; the choice is stored at once, even if
  // the dialog is then cancelled.
  void DirSBClick();

 private:
  void DirNamesBoxChange();

  IShellPrompts& prompts_;
  QComboBox* dirNamesBox_;
  QLineEdit* dirEdit_;
};

}  // namespace vellmar
