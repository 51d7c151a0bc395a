#pragma once
// The print window: the current view on chosen paper at 1:N, or one of the street's plan
// sheets, with a preview drawn by the same device and primitives as the PDF; printing
// through the system's print dialog (CUPS behind QPrinter), export to PDF, and the view
// as a PNG picture of any size. It never blocks the window's event loop: errors and
// results show in its status line, not in message boxes.
//
// The form owns its widgets only. It reads the street and the view through the given
// functions each time it draws, so a street replaced meanwhile is never used stale.

#include <QDialog>
#include <QString>

#include <functional>

#include "document/KindSet.h"
#include "document/ViewState.h"
#include "render/PdfDocument.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace vellmar {

class TStreetStructure;

class TPrintForm final : public QDialog {
  Q_OBJECT

 public:
  struct TSource {
    std::function<TStreetStructure&()> Street;
    std::function<TViewState()> View;
    std::function<TKindSet()> Kinds;
  };
  // The file an export writes, or empty when the user cancelled.
  using TChooseFile = std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

  TPrintForm(TSource source, QSize pictureSize, QWidget* parent);
  // Tests choose the files themselves; nullptr gives the file dialog back.
  static void SetFileChooser(TChooseFile chooser);

  // 0 is the current view, N the street's sheet N.
  QComboBox& PageChoice() { return *pageChoice_; }
  QLabel& Preview() { return *preview_; }
  QLabel& Status() { return *status_; }
  QSpinBox& PictureWidth() { return *pictureWidth_; }
  QSpinBox& PictureHeight() { return *pictureHeight_; }

  void PrintExecute();
  void ExportPdfExecute();
  void ExportImageExecute();
  // The chosen page as a PDF at Path; false with the reason in the status line.
  bool WritePdf(const QString& path);

 private:
  void UpdatePreview();
  TPaper Paper() const;
  TPdfDocument::TDrawPage PageDrawing();
  void Report(const QString& text);

  TSource source_;
  QComboBox* pageChoice_ = nullptr;
  QComboBox* paperChoice_ = nullptr;
  QCheckBox* landscape_ = nullptr;
  QSpinBox* scale_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* status_ = nullptr;
  QSpinBox* pictureWidth_ = nullptr;
  QSpinBox* pictureHeight_ = nullptr;
};

}  // namespace vellmar
