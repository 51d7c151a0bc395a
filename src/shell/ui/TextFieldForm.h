#pragma once
// A small window that asks for one line of text: a prompt, the field, a red line that says
// what is wrong with the text, and OK / Cancel. OK (or Enter in the field) hands the text
// to the window's owner, whose answer either closes the window or is shown in the red line
// with the field ready for another try. The window is a child of the given one and stays
// made between uses.

#include <functional>

#include <QObject>
#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace vellmar {

class TTextFieldForm final : public QObject {
  Q_OBJECT

 public:
  // Takes the text; what is wrong with it, empty when it was taken.
  using TAccept = std::function<QString(const QString& text)>;

  // The window is named formName, the field fieldName, the red line "error".
  TTextFieldForm(QWidget& parent, const QString& formName, const QString& prompt, const QString& fieldName,
                 const QString& okText, TAccept accept);

  // Shown (or raised) with the field holding text, all of it selected, and the red line empty.
  void Show(const QString& title, const QString& text);
  QDialog& Dialog() { return *dialog_; }
  QLineEdit& Field() { return *field_; }

 private:
  void Apply();

  TAccept accept_;
  QDialog* dialog_;
  QLineEdit* field_;
  QLabel* error_;
};

}  // namespace vellmar
