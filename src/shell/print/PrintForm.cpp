#include "shell/print/PrintForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QOpenGLContext>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include <exception>

#include "document/KindRebuild.h"
#include "document/StreetStructure.h"
#include "document/ViewPicture.h"
#include "document/ViewPrint.h"
#include "items/plan/PlanDefineItem.h"
#include "items/plan/SheetPrint.h"
#include "render/PaperPage.h"
#include "shell/print/PrinterSend.h"
#include "shell/print/PrintJob.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

constexpr int kPreviewWidth = 480;
constexpr int kMaxPictureSide = 16384;
constexpr int kProgressIntervalMs = 50;

TPrintForm::TChooseFile& FileChooser() {
  static TPrintForm::TChooseFile chooser;
  return chooser;
}

QString ChooseFile(QWidget* owner, const QString& caption, const QString& suggested, const QString& filter) {
  if (FileChooser()) return FileChooser()(caption, suggested, filter);
  return QFileDialog::getSaveFileName(owner, caption, suggested, filter);
}

// The suggested export beside the street, named after it.
QString Suggested(const TStreetStructure& street, const QString& extension) {
  const QString file = QString::fromStdString(street.FileName().string());
  const QString base = file.isEmpty() ? QDir::home().filePath(QStringLiteral("plan")) : file.left(file.lastIndexOf('.'));
  return base + extension;
}

}  // namespace

void TPrintForm::SetFileChooser(TChooseFile chooser) {
  FileChooser() = std::move(chooser);
}

TPrintForm::TPrintForm(TSource source, QSize pictureSize, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
  setWindowTitle(tr("Печать"));
  auto* columns = new QHBoxLayout(this);
  auto* settings = new QFormLayout();
  columns->addLayout(settings);

  pageChoice_ = new QComboBox(this);
  pageChoice_->addItem(tr("Текущий вид"));
  const std::vector<TPlanDefineItem*> sheets = PlanSheets(source_.Street());
  for (size_t i = 0; i < sheets.size(); ++i) {
    const TPlanDefineItem& sheet = *sheets[i];
    pageChoice_->addItem(tr("Лист %1: %2 × %3 мм, 1:%4")
                             .arg(i + 1)
                             .arg(sheet.FormatWidth())
                             .arg(sheet.FormatHeight())
                             .arg(sheet.SheetScale() > 0 ? qRound(1.0 / sheet.SheetScale()) : 0));
  }
  settings->addRow(tr("Что печатать"), pageChoice_);
  paperChoice_ = new QComboBox(this);
  for (const char* name : {"A4", "A3", "A2", "A1", "A0", "A5", "A6"}) paperChoice_->addItem(QString::fromLatin1(name));
  settings->addRow(tr("Бумага"), paperChoice_);
  landscape_ = new QCheckBox(tr("Альбомная"), this);
  settings->addRow(QString(), landscape_);
  scale_ = new QSpinBox(this);
  scale_->setRange(1, 10000000);
  scale_->setValue(500);
  scale_->setPrefix(QStringLiteral("1:"));
  settings->addRow(tr("Масштаб"), scale_);

  auto* print = new QPushButton(tr("Печать…"), this);
  auto* exportPdf = new QPushButton(tr("Экспорт PDF…"), this);
  settings->addRow(print);
  settings->addRow(exportPdf);

  pictureWidth_ = new QSpinBox(this);
  pictureHeight_ = new QSpinBox(this);
  for (QSpinBox* side : {pictureWidth_, pictureHeight_}) {
    side->setRange(1, kMaxPictureSide);
    side->setSuffix(tr(" пикс."));
  }
  pictureWidth_->setValue(std::max(1, pictureSize.width()));
  pictureHeight_->setValue(std::max(1, pictureSize.height()));
  settings->addRow(tr("Ширина изображения"), pictureWidth_);
  settings->addRow(tr("Высота изображения"), pictureHeight_);
  auto* exportImage = new QPushButton(tr("Экспорт изображения…"), this);
  settings->addRow(exportImage);
  auto* close = new QPushButton(tr("Закрыть"), this);
  settings->addRow(close);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  settings->addRow(status_);
  progress_ = new QWidget(this);
  auto* progressRow = new QHBoxLayout(progress_);
  progressRow->setContentsMargins(0, 0, 0, 0);
  bar_ = new QProgressBar(progress_);
  cancel_ = new QPushButton(tr("Отмена"), progress_);
  progressRow->addWidget(bar_, 1);
  progressRow->addWidget(cancel_);
  progress_->hide();
  settings->addRow(progress_);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(kProgressIntervalMs);
  settings_ = {pageChoice_, paperChoice_, landscape_, scale_,         print,
               exportPdf,   pictureWidth_, pictureHeight_, exportImage};

  preview_ = new QLabel(this);
  preview_->setMinimumSize(kPreviewWidth, kPreviewWidth);
  preview_->setAlignment(Qt::AlignCenter);
  columns->addWidget(preview_, 1);

  connect(print, &QPushButton::clicked, this, &TPrintForm::PrintExecute);
  connect(exportPdf, &QPushButton::clicked, this, &TPrintForm::ExportPdfExecute);
  connect(exportImage, &QPushButton::clicked, this, &TPrintForm::ExportImageExecute);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(cancel_, &QPushButton::clicked, this, &TPrintForm::CancelPdf);
  connect(progressTimer_, &QTimer::timeout, this, &TPrintForm::ShowProgress);
  connect(pageChoice_, &QComboBox::currentIndexChanged, this, &TPrintForm::UpdatePreview);
  connect(paperChoice_, &QComboBox::currentIndexChanged, this, &TPrintForm::UpdatePreview);
  connect(landscape_, &QCheckBox::toggled, this, &TPrintForm::UpdatePreview);
  connect(scale_, &QSpinBox::valueChanged, this, &TPrintForm::UpdatePreview);
  // A street with sheets is most likely printed by its first sheet.
  pageChoice_->setCurrentIndex(sheets.empty() ? 0 : 1);
  UpdatePreview();
}

TPrintForm::~TPrintForm() {
  if (!job_) return;
  job_.reset();
  if (source_.Lend) source_.Lend(false);
}

void TPrintForm::closeEvent(QCloseEvent* event) {
  if (job_) {
    closeWhenStopped_ = true;
    job_->Cancel();
    hide();
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TPrintForm::Report(const QString& text) {
  status_->setText(text);
}

TPaper TPrintForm::Paper() const {
  const int page = pageChoice_->currentIndex();
  if (page > 0) return SheetPaper(*PlanSheets(source_.Street()).at(static_cast<size_t>(page - 1)));
  TPaper paper;
  PaperSizeByName(paperChoice_->currentText().toStdString(), paper.WidthMm, paper.HeightMm);
  if (landscape_->isChecked()) std::swap(paper.WidthMm, paper.HeightMm);
  return paper;
}

TPdfDocument::TDrawPage TPrintForm::PageDrawing() {
  const int page = pageChoice_->currentIndex();
  TStreetStructure& street = source_.Street();
  if (page > 0) {
    TPlanDefineItem* sheet = PlanSheets(street).at(static_cast<size_t>(page - 1));
    return [&street, sheet](TdxRenderer& renderer, CairoDevice& device) {
      DrawSheetPage(renderer, device, street, *sheet);
    };
  }
  TViewPrint print;
  print.Paper = Paper();
  print.ScaleDenominator = scale_->value();
  print.Kinds = source_.Kinds();
  const TViewState view = source_.View();
  return [&street, view, print](TdxRenderer& renderer, CairoDevice&) { DrawViewPage(renderer, street, view, print); };
}

void TPrintForm::UpdatePreview() {
  const bool view = pageChoice_->currentIndex() == 0;
  for (QWidget* setting : {static_cast<QWidget*>(paperChoice_), static_cast<QWidget*>(landscape_),
                           static_cast<QWidget*>(scale_)})
    setting->setEnabled(view);
  try {
    const TOffscreenFrame page = RenderPaperPicture(Paper(), kPreviewWidth, PageDrawing());
    const QImage image(reinterpret_cast<const uchar*>(page.Pixels.data()), static_cast<int>(page.Width),
                       static_cast<int>(page.Height), static_cast<qsizetype>(page.Width) * 4,
                       QImage::Format_ARGB32);
    preview_->setPixmap(QPixmap::fromImage(image.copy()));
    Report(QString());
  } catch (const std::exception& e) {
    preview_->setPixmap(QPixmap());
    Report(ErrorText(e));
  }
}

void TPrintForm::StartPdf(const QString& path, std::function<void()> written) {
  if (job_) return;
  try {
    TStreetStructure& street = source_.Street();
    const std::filesystem::path target = LocalPath(path);
    const int page = pageChoice_->currentIndex();
    TKindSet kinds;
    TPrintJob::TWork work;
    if (page > 0) {
      kinds = SheetPageKinds(*PlanSheets(street).at(static_cast<size_t>(page - 1)));
      work = [&street, page, target](const TPrintControl& control) {
        PrintSheetsToPdf(street, {page}, target, {}, control);
      };
    } else {
      TViewPrint print;
      print.Paper = Paper();
      print.ScaleDenominator = scale_->value();
      print.Kinds = source_.Kinds();
      kinds = print.Kinds;
      work = [&street, view = source_.View(), print, target](const TPrintControl& control) {
        PrintViewToPdf(street, view, print, target, control);
      };
    }
    // The worker only reads the items: what the page shows is built here, on the
    // window's thread, as a frame would build it; collections that handed their
    // vertices to the window's device are built again for the page's.
    street.RebuildKinds(KindsToBuildForDevice(street, kinds, nullptr));
    job_ = std::make_unique<TPrintJob>(std::move(work));
    connect(job_.get(), &TPrintJob::Finished, this, &TPrintForm::PdfEnded);
    // Lent before this thread can draw again: nothing runs here until the call returns.
    if (source_.Lend) source_.Lend(true);
    written_ = std::move(written);
    SetBusy(true);
    Report(tr("Запись PDF…"));
  } catch (const std::exception& e) {
    Report(ErrorText(e));
  }
}

void TPrintForm::StartPdfFile(const QString& path) {
  StartPdf(path, [this, path] { Report(tr("PDF записан: %1").arg(path)); });
}

void TPrintForm::CancelPdf() {
  if (job_) job_->Cancel();
}

void TPrintForm::SetBusy(bool busy) {
  for (QWidget* setting : settings_) setting->setEnabled(!busy);
  progress_->setVisible(busy);
  if (busy) {
    // Busy without a count until the worker has counted the page's items.
    bar_->setRange(0, 0);
    progressTimer_->start();
  } else {
    progressTimer_->stop();
    UpdatePreview();
  }
}

void TPrintForm::ShowProgress() {
  if (!job_ || job_->Total() == 0) return;
  // Item counts of one street fit an int.
  bar_->setRange(0, static_cast<int>(job_->Total()));
  bar_->setValue(static_cast<int>(std::min(job_->Done(), job_->Total())));
}

void TPrintForm::PdfEnded() {
  // The bar ends where the print ended, however short it was.
  ShowProgress();
  const std::unique_ptr<TPrintJob> job = std::move(job_);
  const std::function<void()> written = std::move(written_);
  written_ = nullptr;
  if (source_.Lend) source_.Lend(false);
  SetBusy(false);
  if (job->Cancelled()) {
    Report(tr("Запись PDF отменена"));
  } else if (!job->Error().isEmpty()) {
    Report(job->Error());
  } else if (written) {
    written();
  }
  emit PdfFinished();
  if (closeWhenStopped_) close();
}

void TPrintForm::ExportPdfExecute() {
  const QString path =
      ChooseFile(this, tr("Экспорт PDF"), Suggested(source_.Street(), QStringLiteral(".pdf")), tr("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  StartPdfFile(path);
}

void TPrintForm::ExportImageExecute() {
  const QString path =
      ChooseFile(this, tr("Экспорт изображения"), Suggested(source_.Street(), QStringLiteral(".png")),
                 tr("Изображения PNG (*.png)"));
  if (path.isEmpty()) return;
  try {
    // The picture is drawn in a context of its own, as the command-line renderer draws
    // it; the plan's context must let go of the thread first (the widget takes it back
    // when it next paints).
    if (QOpenGLContext* current = QOpenGLContext::currentContext()) current->doneCurrent();
    SaveViewPng(source_.Street(), source_.View(), source_.Kinds(), static_cast<uint32_t>(pictureWidth_->value()),
                static_cast<uint32_t>(pictureHeight_->value()), LocalPath(path));
    Report(tr("Изображение записано: %1").arg(path));
  } catch (const std::exception& e) {
    Report(ErrorText(e));
  }
}

void TPrintForm::PrintExecute() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  // "Print to file" in the dialog: the PDF itself is the result.
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    const QString path = printer.outputFileName();
    StartPdfFile(path);
    return;
  }
  scratch_ = std::make_unique<QTemporaryDir>();
  if (!scratch_->isValid()) {
    Report(tr("Не удалось создать временную папку: %1").arg(scratch_->errorString()));
    return;
  }
  StartPdf(scratch_->filePath(QStringLiteral("page.pdf")),
           [this, name = printer.printerName(), copies = printer.copyCount()] { SendToPrinter(name, copies); });
}

void TPrintForm::SendToPrinter(const QString& printer, int copies) {
  std::unique_ptr<QTemporaryDir> scratch = std::move(scratch_);
  const QString pdf = scratch->filePath(QStringLiteral("page.pdf"));
  // The page goes to the printer as the PDF it is, through the print system's queue; the
  // window goes on meanwhile. A send the form is closed on is finished by its destructor.
  auto* send = new TPrinterSend(std::move(scratch), pdf, printer, copies, this);
  Report(tr("Отправка на принтер «%1»…").arg(printer));
  connect(send, &TPrinterSend::Ended, this, [this, send, printer](bool sent, const QString& detail) {
    if (sent)
      Report(tr("Отправлено на принтер «%1»").arg(printer));
    else
      Report(tr("Не удалось отправить на принтер «%1»: %2").arg(printer, detail));
    send->deleteLater();
  });
}

}  // namespace vellmar
