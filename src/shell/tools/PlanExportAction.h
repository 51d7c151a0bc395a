#pragma once
// "Export…": the current street's shown kinds written as DXF, GeoPackage
// or GeoJSON (the file type chosen in the save dialog), as vellmar-export writes them.
// The export runs on the window's thread, which owns the street, under a progress
// dialog that counts the items done and whose Cancel stops it with nothing written;
// the status line tells what was written or why not.

#include <functional>

#include <QObject>
#include <QString>

class QAction;

namespace vellmar {

class IPlanWindow;

class TPlanExportAction final : public QObject {
  Q_OBJECT

 public:
  using TChooseFile = std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

  // Adds the window's action "exportPlan" (Ctrl+E), which the quantities panel's
  // button "Экспорт…" triggers too. streetBusy tells when another job has the current
  // street. A child of the window.
  TPlanExportAction(IPlanWindow& window, std::function<bool()> streetBusy);

  QAction& Action() { return *action_; }
  // Replaces the save dialog (tests); an empty function puts the dialog back.
  static void SetFileChooser(TChooseFile chooser);
  // Asks for the file and exports to it.
  void Execute();
  // Exports to path; the status line's text tells how it ended, and so does the result.
  bool ExportTo(const QString& path);

 private:
  IPlanWindow& window_;
  std::function<bool()> streetBusy_;
  QAction* action_;
};

}  // namespace vellmar
