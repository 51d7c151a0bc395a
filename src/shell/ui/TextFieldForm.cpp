#include "shell/ui/TextFieldForm.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellmar {

TTextFieldForm::TTextFieldForm(QWidget& parent, const QString& formName, const QString& prompt,
                               const QString& fieldName, const QString& okText, TAccept accept)
    : QObject(&parent), accept_(std::move(accept)), dialog_(new QDialog(&parent)) {
  dialog_->setObjectName(formName);
  auto* column = new QVBoxLayout(dialog_);
  column->addWidget(new QLabel(prompt, dialog_));
  field_ = new QLineEdit(dialog_);
  field_->setObjectName(fieldName);
  column->addWidget(field_);
  error_ = new QLabel(dialog_);
  error_->setObjectName(QStringLiteral("error"));
  error_->setStyleSheet(QStringLiteral("color: #b00000"));
  error_->setWordWrap(true);
  column->addWidget(error_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog_);
  if (!okText.isEmpty()) buttons->button(QDialogButtonBox::Ok)->setText(okText);
  column->addWidget(buttons);
  // Enter in the field presses the default button, which is Ok.
  connect(buttons, &QDialogButtonBox::accepted, this, &TTextFieldForm::Apply);
  connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
}

void TTextFieldForm::Show(const QString& title, const QString& text) {
  dialog_->setWindowTitle(title);
  field_->setText(text);
  error_->clear();
  field_->selectAll();
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
  field_->setFocus();
}

void TTextFieldForm::Apply() {
  const QString error = accept_(field_->text());
  error_->setText(error);
  if (error.isEmpty()) {
    dialog_->accept();
  } else {
    field_->selectAll();
    field_->setFocus();
  }
}

}  // namespace vellmar
