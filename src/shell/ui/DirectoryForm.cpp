#include "shell/ui/DirectoryForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "platform/files/DirectoryProvider.h"
#include "shell/ui/FormPosition.h"
#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

const QString kNamesSection = QStringLiteral("Directory\\Names");
const QString kDirsSection = QStringLiteral("Directory\\Dirs");
const QString kList = QStringLiteral("List");
constexpr int kNamesLimit = 100;

}  // namespace

void InstallDirectorySettings(IShellPrompts& prompts) {
  TDirectoryProvider& provider = DirectoryProvider();
  for (const QString& purpose : SettingNames(kDirsSection)) {
    provider.SetDirectory(ToCp1251(purpose), LocalPath(ReadSettingString(kDirsSection, purpose)));
  }
  provider.SetAsker([&prompts](TDirectoryProvider&, const std::string& purpose) {
    const QString name = FromCp1251(purpose);
    AddToRecentList(kNamesSection, kList, name, kNamesLimit);
    return prompts.EditDataDirectories(name);
  });
}

TDirectoryForm::TDirectoryForm(IShellPrompts& prompts, const QString& purpose, QWidget* owner)
    : QDialog(owner), prompts_(prompts) {
  setObjectName(QStringLiteral("DirectoryForm"));
  setWindowTitle(tr("Каталоги"));
  auto* form = new QFormLayout(this);
  dirNamesBox_ = new QComboBox(this);
  QStringList purposes = {QStringLiteral("Каталог для вывода данных паспорта"), QStringLiteral("Каталог словарей"),
                          QStringLiteral("Каталог библиотеки метафайлов")};
  ReadSettingList(kNamesSection, kList, purposes);
  dirNamesBox_->addItems(purposes);
  form->addRow(tr("Назначение:"), dirNamesBox_);
  auto* row = new QHBoxLayout();
  dirEdit_ = new QLineEdit(this);
  dirEdit_->setReadOnly(true);
  auto* browse = new QToolButton(this);
  browse->setText(QStringLiteral("…"));
  row->addWidget(dirEdit_, 1);
  row->addWidget(browse);
  form->addRow(tr("Расположение:"), row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QToolButton::clicked, this, &TDirectoryForm::DirSBClick);
  connect(dirNamesBox_, &QComboBox::currentIndexChanged, this, &TDirectoryForm::DirNamesBoxChange);
  dirNamesBox_->setCurrentIndex(dirNamesBox_->findText(purpose));
  DirNamesBoxChange();
  resize(520, sizeHint().height());
  RestoreFormPosition(*this, objectName(), true);
}

void TDirectoryForm::DirNamesBoxChange() {
  const QString purpose = dirNamesBox_->currentText();
  dirEdit_->setText(purpose.isEmpty() ? QString()
                                      : QString::fromStdString(
                                            DirectoryProvider().GetDirectory(ToCp1251(purpose)).string()));
}

void TDirectoryForm::DirSBClick() {
  const QString purpose = dirNamesBox_->currentText();
  if (purpose.isEmpty()) return;
  const QString chosen = prompts_.ChooseDirectory(purpose, dirEdit_->text());
  if (chosen.isEmpty()) return;
  dirEdit_->setText(chosen);
  WriteSettingString(kDirsSection, purpose, chosen);
  DirectoryProvider().SetDirectory(ToCp1251(purpose), LocalPath(chosen));
}

}  // namespace vellmar
