#include "shell/ui/ShellPrompts.h"

#include <cstdio>

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "shell/ui/DirectoryForm.h"

namespace vellmar {

namespace {

const QString kCaption = QStringLiteral("Vellmar");
const QString kStreetFilter = QStringLiteral("Vellmar (*.pln)");

}  // namespace

void TDialogPrompts::ShowMessage(const QString& text) { QMessageBox::information(owner_, kCaption, text); }

void TDialogPrompts::ShowError(const QString& text, const QString& details) {
  QMessageBox box(QMessageBox::Critical, kCaption, text, QMessageBox::Ok, owner_);
  box.setDetailedText(details);
  box.exec();
}

TAnswer TDialogPrompts::AskYesNoCancel(const QString& text) {
  const auto button = QMessageBox::warning(owner_, kCaption, text,
                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (button == QMessageBox::Yes) return TAnswer::Yes;
  if (button == QMessageBox::No) return TAnswer::No;
  return TAnswer::Cancel;
}

QStringList TDialogPrompts::ChooseStreetFiles(const QString& initial) {
  return QFileDialog::getOpenFileNames(owner_, QString(), initial, kStreetFilter);
}

QString TDialogPrompts::ChooseSaveName(const QString& initial) {
  QFileDialog dialog(owner_, QString(), initial, kStreetFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("pln"));
  if (!initial.isEmpty()) dialog.selectFile(initial);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                 : QString();
}

}  // namespace vellmar

namespace vellmar {

QString TDialogPrompts::ChooseDirectory(const QString& caption, const QString& initial) {
  const QString start = QDir(initial).exists() ? initial : QString();
  return QFileDialog::getExistingDirectory(owner_, caption, start);
}

bool TDialogPrompts::EditDataDirectories(const QString& purpose) {
  TDirectoryForm form(*this, purpose, owner_);
  return form.exec() == QDialog::Accepted;
}

void TConsolePrompts::ShowMessage(const QString& text) {
  std::fprintf(stderr, "vellmar: %s\n", text.toLocal8Bit().constData());
}

void TConsolePrompts::ShowError(const QString& text, const QString& details) {
  ShowMessage(details.isEmpty() ? text : text + QStringLiteral(" (") + details + QLatin1Char(')'));
}

TAnswer TConsolePrompts::AskYesNoCancel(const QString& text) {
  ShowMessage(text);
  return TAnswer::Cancel;
}

}  // namespace vellmar
