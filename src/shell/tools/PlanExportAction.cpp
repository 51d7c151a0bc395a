#include "shell/tools/PlanExportAction.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>

#include "document/StreetStructure.h"
#include "export/PlanExport.h"
#include "platform/Error.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

constexpr int kMessageMs = 10000;
// Below this many items the export is over before a progress dialog would show.
constexpr int kProgressDelayMs = 400;

TPlanExportAction::TChooseFile& FileChooser() {
  static TPlanExportAction::TChooseFile chooser;
  return chooser;
}

}  // namespace

void TPlanExportAction::SetFileChooser(TChooseFile chooser) { FileChooser() = std::move(chooser); }

TPlanExportAction::TPlanExportAction(IPlanWindow& window, std::function<bool()> streetBusy)
    : QObject(&window.Window()), window_(window), streetBusy_(std::move(streetBusy)), action_(new QAction(this)) {
  action_->setObjectName(QStringLiteral("exportPlan"));
  action_->setIcon(QIcon(ToolBarPicture(TToolBarPicture::Export, window.Window().devicePixelRatioF())));
  action_->setText(tr("Экспорт…"));
  action_->setToolTip(tr("Экспорт показанных слоёв в DXF, GeoPackage или GeoJSON (Ctrl+E)"));
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  // A window action (its shortcut works wherever the window has the focus) and a button
  // of the quantities panel; the tool row keeps its room for the view tools.
  window.Window().addAction(action_);
  connect(action_, &QAction::triggered, this, &TPlanExportAction::Execute);
}

void TPlanExportAction::Execute() {
  const QString file = QString::fromStdString(window_.Drawer().Street().FileName().string());
  const QString suggested =
      (file.isEmpty() ? QDir::home().filePath(QStringLiteral("plan")) : file.left(file.lastIndexOf('.'))) +
      QStringLiteral(".dxf");
  const QString caption = tr("Экспорт плана");
  const QString filter = tr("Чертёж DXF (*.dxf);;GeoPackage (*.gpkg);;GeoJSON (*.geojson)");
  const QString path = FileChooser() ? FileChooser()(caption, suggested, filter)
                                     : QFileDialog::getSaveFileName(&window_.Window(), caption, suggested, filter);
  if (!path.isEmpty()) ExportTo(path);
}

bool TPlanExportAction::ExportTo(const QString& path) {
  QStatusBar& status = window_.StatusLine();
  if (streetBusy_ && streetBusy_()) {
    status.showMessage(tr("Экспорт подождёт: план сейчас печатается"), kMessageMs);
    return false;
  }
  QProgressDialog progress(tr("Экспорт %1").arg(QDir::toNativeSeparators(path)), tr("Отмена"), 0, 0,
                           &window_.Window());
  progress.setObjectName(QStringLiteral("exportProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kProgressDelayMs);
  TExportOptions options;
  options.Kinds = window_.VisibleLayers();
  options.Progress = [&progress](std::int64_t done, std::int64_t total) {
    progress.setMaximum(static_cast<int>(std::min<std::int64_t>(total, INT32_MAX)));
    progress.setValue(static_cast<int>(std::min<std::int64_t>(done, INT32_MAX)));
    QApplication::processEvents();
    return !progress.wasCanceled();
  };
  try {
    ExportPlan(window_.Drawer().Street(), LocalPath(path), options);
    status.showMessage(tr("Экспорт записан: %1").arg(QDir::toNativeSeparators(path)), kMessageMs);
    return true;
  } catch (const std::exception& e) {
    status.showMessage(progress.wasCanceled() ? tr("Экспорт отменён") : tr("Экспорт не записан: %1").arg(ErrorText(e)),
                       kMessageMs);
    return false;
  }
}

}  // namespace vellmar
