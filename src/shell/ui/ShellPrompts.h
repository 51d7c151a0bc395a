#pragma once
// Everything the shell asks the user or tells them goes through this interface: message
// boxes, the three-way save question and the file dialogs. The window installs the
// dialog-based prompts; tests install scripted ones and drive the real window.

#include <QString>
#include <QStringList>

class QWidget;

namespace vellmar {

enum class TAnswer { Yes, No, Cancel };

class IShellPrompts {
 public:
  virtual ~IShellPrompts() = default;
  virtual void ShowMessage(const QString& text) = 0;
  // An error told to people: what happened, to which file and what to do, with the error
  // icon; the program's own text of it (class, operation, figures) under "Details".
  virtual void ShowError(const QString& text, const QString& details) = 0;
  // A warning with the buttons Yes, No and Cancel; closing the box counts as Cancel.
  virtual TAnswer AskYesNoCancel(const QString& text) = 0;
  // The chosen street files in the dialog's order; empty when cancelled. Initial is the
  // file the dialog starts on.
  virtual QStringList ChooseStreetFiles(const QString& initial) = 0;
  // The file name to save a street as; empty when cancelled.
  virtual QString ChooseSaveName(const QString& initial) = 0;
  // A directory chosen in the folder browser titled caption, starting on initial when
  // that exists; empty when cancelled.
  virtual QString ChooseDirectory(const QString& caption, const QString& initial) = 0;
  // The data-directories dialog opened on purpose; true when closed with OK.
  virtual bool EditDataDirectories(const QString& purpose) = 0;
};

// Real message boxes and file dialogs over the given window.
class TDialogPrompts final : public IShellPrompts {
 public:
  explicit TDialogPrompts(QWidget* owner) : owner_(owner) {}
  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text, const QString& details) override;
  TAnswer AskYesNoCancel(const QString& text) override;
  QStringList ChooseStreetFiles(const QString& initial) override;
  QString ChooseSaveName(const QString& initial) override;
  QString ChooseDirectory(const QString& caption, const QString& initial) override;
  bool EditDataDirectories(const QString& purpose) override;

 private:
  QWidget* owner_;
};

// For a run nobody watches (the viewer taking a picture): messages go to the standard
// error, each on a line of its own after the program's name; questions are cancelled and
// dialogs closed unanswered.
class TConsolePrompts final : public IShellPrompts {
 public:
  void ShowMessage(const QString& text) override;
  // The message with its details after it in brackets.
  void ShowError(const QString& text, const QString& details) override;
  TAnswer AskYesNoCancel(const QString& text) override;
  QStringList ChooseStreetFiles(const QString&) override { return {}; }
  QString ChooseSaveName(const QString&) override { return {}; }
  QString ChooseDirectory(const QString&, const QString&) override { return {}; }
  bool EditDataDirectories(const QString&) override { return false; }
};

}  // namespace vellmar
