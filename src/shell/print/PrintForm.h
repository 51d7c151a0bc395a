#pragma once
// The print window: the current view on chosen paper at 1:N, or one of the street's plan
// sheets, with a preview drawn by the same device and primitives as the PDF; printing
// through the system's print dialog (CUPS behind QPrinter), export to PDF, and the view
// as a PNG picture of any size. It never blocks the window's event loop: errors and
// results show in its status line, not in message boxes. A PDF is written on a worker
// thread with a bar of the items drawn and a button that cancels it, leaving the file
// that was there before as it was; the window lends the street to the print meanwhile.
//
// The form owns its widgets and the print in progress. It reads the street and the view
// through the given functions each time it draws, so a street replaced meanwhile is
// never used stale; closing the form stops its print.

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "document/KindSet.h"
#include "document/ViewState.h"
#include "render/PdfDocument.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTemporaryDir;
class QTimer;

namespace vellmar {

class TPrintJob;
class TStreetStructure;

class TPrintForm final : public QDialog {
  Q_OBJECT

 public:
  struct TSource {
    std::function<TStreetStructure&()> Street;
    std::function<TViewState()> View;
    std::function<TKindSet()> Kinds;
    // Told true before a PDF starts on the worker thread and false once it has ended:
    // the street must stay as it is and be drawn by nobody else meanwhile.
    std::function<void(bool lent)> Lend;
  };
  // The file an export writes, or empty when the user cancelled.
  using TChooseFile = std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

  TPrintForm(TSource source, QSize pictureSize, QWidget* parent);
  // Stops the print in progress and waits for its thread.
  ~TPrintForm() override;
  // Tests choose the files themselves; nullptr gives the file dialog back.
  static void SetFileChooser(TChooseFile chooser);

  // 0 is the current view, N the street's sheet N.
  QComboBox& PageChoice() { return *pageChoice_; }
  QLabel& Preview() { return *preview_; }
  QLabel& Status() { return *status_; }
  QSpinBox& PictureWidth() { return *pictureWidth_; }
  QSpinBox& PictureHeight() { return *pictureHeight_; }
  QProgressBar& ProgressBar() { return *bar_; }
  QPushButton& CancelButton() { return *cancel_; }
  bool Busy() const { return job_ != nullptr; }

  void PrintExecute();
  void ExportPdfExecute();
  void ExportImageExecute();
  // Starts writing the chosen page as a PDF at Path on the worker thread; Written runs
  // once the file is in place. A failure or a cancel is told in the status line.
  void StartPdf(const QString& path, std::function<void()> written);
  // StartPdf for a PDF that is the result itself: the status line names it once written.
  void StartPdfFile(const QString& path);
  void CancelPdf();

 signals:
  // A print started on the worker thread has ended, written, failed or cancelled.
  void PdfFinished();

 protected:
  // Closing during a print hides the form at once and stops the print; the form closes
  // for good once the worker has let go, so that closing never waits for it.
  void closeEvent(QCloseEvent* event) override;

 private:
  void UpdatePreview();
  TPaper Paper() const;
  TPdfDocument::TDrawPage PageDrawing();
  void Report(const QString& text);
  void ShowProgress();
  void PdfEnded();
  void SetBusy(bool busy);
  void SendToPrinter(const QString& printer, int copies);

  TSource source_;
  QComboBox* pageChoice_ = nullptr;
  QComboBox* paperChoice_ = nullptr;
  QCheckBox* landscape_ = nullptr;
  QSpinBox* scale_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* status_ = nullptr;
  QSpinBox* pictureWidth_ = nullptr;
  QSpinBox* pictureHeight_ = nullptr;
  QWidget* progress_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  // Disabled while a print runs.
  std::vector<QWidget*> settings_;
  QTimer* progressTimer_ = nullptr;
  std::unique_ptr<TPrintJob> job_;
  std::function<void()> written_;
  bool closeWhenStopped_ = false;
  // The page on its way to a printer, kept until it is sent.
  std::unique_ptr<QTemporaryDir> scratch_;
};

}  // namespace vellmar
