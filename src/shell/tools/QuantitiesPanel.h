#pragma once
// The quantities panel: a dockable table of what the current street holds for the
// estimate (per marking type the count, painted length and area; per sign number the
// count and each sign's station, offset and side; per surface kind the area; kerbs,
// barriers and tram lines by length), and a button that writes it as CSV. The table
// is worked out only while the panel shows, once per street: a tab switch or a street
// read anew brings it up to date; while a print has the street, it waits.

#include <cstdint>
#include <functional>

#include <QObject>
#include <QString>

class QAction;
class QDockWidget;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vellmar {

class IPlanWindow;
class TStreetStructure;

class TQuantitiesPanel final : public QObject {
  Q_OBJECT

 public:
  enum TColumn { kNameColumn = 0, kCountColumn = 1, kLengthColumn = 2, kAreaColumn = 3 };
  // Asked for the CSV file's name (caption, suggested path, filter); empty: cancelled.
  using TChooseFile = std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

  // Adds the dock "quantitiesPanel" on the window's right, hidden, and the toolbar's
  // toggle "quantitiesPanelToggle" (Ctrl+Shift+Q). streetBusy tells when another job
  // has the current street. A child of the window.
  TQuantitiesPanel(IPlanWindow& window, std::function<bool()> streetBusy);
  ~TQuantitiesPanel() override;

  QDockWidget& Dock() { return *dock_; }
  // Top-level rows: the sections "Разметка", "Знаки", "Покрытия", "Линейные элементы";
  // their children the types, a sign number's children its signs.
  QTreeWidget& Table() { return *table_; }
  // The line under the table: what was written, or why not.
  QLabel& Note() { return *note_; }
  // Replaces the file dialog (tests); an empty function puts the dialog back.
  static void SetFileChooser(TChooseFile chooser);
  // The button "quantitiesCsv": asks for a file and writes the table there.
  void SaveCsv();
  // The button "quantitiesExport" triggers the action (the plan's export).
  void SetExportAction(QAction* action);

 private:
  void Refresh();

  IPlanWindow& window_;
  std::function<bool()> streetBusy_;
  QDockWidget* dock_;
  QTreeWidget* table_;
  QLabel* note_;
  QAction* toggle_;
  QPushButton* export_;
  // The street the table was worked out for, and its item count then: a street read
  // anew may take the old one's place in memory.
  const TStreetStructure* shown_ = nullptr;
  std::int64_t shownItems_ = -1;
  int changeHook_;
};

}  // namespace vellmar
