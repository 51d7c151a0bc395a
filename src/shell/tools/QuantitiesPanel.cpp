#include "shell/tools/QuantitiesPanel.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "export/Quantities.h"
#include "platform/AtomicFile.h"
#include "platform/text/Numbers.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

constexpr int kMinimumWidth = 380;

TQuantitiesPanel::TChooseFile& FileChooser() {
  static TQuantitiesPanel::TChooseFile chooser;
  return chooser;
}

std::int64_t ItemCount(TStreetStructure& street) {
  std::int64_t count = 0;
  for (int32_t kind = 0; kind < kKindCount; ++kind) count += street.ItemList(kind).Count();
  return count;
}

QString Metres(double value) { return QString::fromStdString(FormatFixed(value + 0.0, 2)); }

QTreeWidgetItem* Row(QTreeWidgetItem* parent, const QString& name, const QString& count, const QString& length,
                     const QString& area) {
  auto* row = new QTreeWidgetItem(parent);
  row->setText(TQuantitiesPanel::kNameColumn, name);
  row->setText(TQuantitiesPanel::kCountColumn, count);
  row->setText(TQuantitiesPanel::kLengthColumn, length);
  row->setText(TQuantitiesPanel::kAreaColumn, area);
  for (const int column : {TQuantitiesPanel::kCountColumn, TQuantitiesPanel::kLengthColumn, TQuantitiesPanel::kAreaColumn}) {
    row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  return row;
}

QTreeWidgetItem* Section(QTreeWidget& table, const QString& name, const QString& length, const QString& area) {
  auto* section = new QTreeWidgetItem(&table);
  section->setText(TQuantitiesPanel::kNameColumn, name);
  section->setText(TQuantitiesPanel::kLengthColumn, length);
  section->setText(TQuantitiesPanel::kAreaColumn, area);
  QFont bold = section->font(TQuantitiesPanel::kNameColumn);
  bold.setBold(true);
  for (int column = 0; column < 4; ++column) section->setFont(column, bold);
  return section;
}

void Fill(QTreeWidget& table, const TQuantities& q) {
  table.clear();
  QTreeWidgetItem* markings = Section(table, TQuantitiesPanel::tr("Разметка"), TQuantitiesPanel::tr("длина, м"),
                                      TQuantitiesPanel::tr("площадь, м²"));
  for (const TMarkingQuantity& m : q.Markings) {
    Row(markings, QString::fromStdString(m.Type), QString::number(m.Count), Metres(m.Length), Metres(m.Area));
  }
  QTreeWidgetItem* signs =
      Section(table, TQuantitiesPanel::tr("Знаки"), TQuantitiesPanel::tr("ПК, м"), TQuantitiesPanel::tr("смещение, м"));
  for (const TSignQuantity& s : q.Signs) {
    QTreeWidgetItem* number = Row(signs, QString::fromStdString(s.Number), QString::number(s.Places.size()), {}, {});
    for (const TSignPlace& p : s.Places) {
      const QString side = p.Side == "right"  ? TQuantitiesPanel::tr(" справа")
                           : p.Side == "left" ? TQuantitiesPanel::tr(" слева")
                                              : QString();
      Row(number, QStringLiteral("ID %1").arg(p.Id), {}, p.Station ? Metres(*p.Station) : QString(),
          p.Offset ? Metres(*p.Offset) + side : QString());
    }
  }
  QTreeWidgetItem* surfaces = Section(table, TQuantitiesPanel::tr("Покрытия"), {}, TQuantitiesPanel::tr("площадь, м²"));
  for (const TKindQuantity& k : q.Surfaces) {
    Row(surfaces, QString::fromStdString(k.Name), QString::number(k.Count), {}, Metres(k.Amount));
  }
  QTreeWidgetItem* lines = Section(table, TQuantitiesPanel::tr("Линейные элементы"), TQuantitiesPanel::tr("длина, м"), {});
  for (const TKindQuantity& k : q.Lines) {
    Row(lines, QString::fromStdString(k.Name), QString::number(k.Count), Metres(k.Amount), {});
  }
  for (QTreeWidgetItem* section : {markings, surfaces, lines}) section->setExpanded(true);
  signs->setExpanded(true);
}

}  // namespace

void TQuantitiesPanel::SetFileChooser(TChooseFile chooser) { FileChooser() = std::move(chooser); }

TQuantitiesPanel::TQuantitiesPanel(IPlanWindow& window, std::function<bool()> streetBusy)
    : QObject(&window.Window()),
      window_(window),
      streetBusy_(std::move(streetBusy)),
      dock_(new QDockWidget(tr("Объёмы работ"), &window.Window())),
      table_(new QTreeWidget(dock_)),
      note_(new QLabel(dock_)) {
  dock_->setObjectName(QStringLiteral("quantitiesPanel"));
  auto* body = new QWidget(dock_);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(2, 2, 2, 2);
  table_->setObjectName(QStringLiteral("quantities"));
  table_->setColumnCount(4);
  table_->setHeaderLabels({tr("Вид"), tr("шт."), QString(), QString()});
  table_->setUniformRowHeights(true);
  table_->header()->setStretchLastSection(false);
  table_->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  for (const int c : {kCountColumn, kLengthColumn, kAreaColumn}) {
    table_->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  }
  // Wide enough for a surface kind's name beside its figures.
  table_->setMinimumWidth(kMinimumWidth);
  // Keys over the table belong to the plan, as everywhere in the window.
  table_->setFocusPolicy(Qt::NoFocus);
  column->addWidget(table_);
  auto* buttons = new QHBoxLayout;
  auto* csv = new QPushButton(tr("Сохранить CSV…"), body);
  csv->setObjectName(QStringLiteral("quantitiesCsv"));
  csv->setFocusPolicy(Qt::NoFocus);
  buttons->addWidget(csv);
  export_ = new QPushButton(tr("Экспорт…"), body);
  export_->setObjectName(QStringLiteral("quantitiesExport"));
  export_->setFocusPolicy(Qt::NoFocus);
  export_->setEnabled(false);
  buttons->addWidget(export_);
  buttons->addStretch(1);
  column->addLayout(buttons);
  note_->setObjectName(QStringLiteral("quantitiesNote"));
  note_->setWordWrap(true);
  column->addWidget(note_);
  dock_->setWidget(body);
  window.Window().addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();

  toggle_ = dock_->toggleViewAction();
  toggle_->setObjectName(QStringLiteral("quantitiesPanelToggle"));
  toggle_->setIcon(QIcon(ToolBarPicture(TToolBarPicture::Quantities, window.Window().devicePixelRatioF())));
  toggle_->setText(tr("Объёмы работ"));
  toggle_->setToolTip(tr("Объёмы работ: разметка, знаки, покрытия, борта (Ctrl+Shift+Q)"));
  toggle_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Q));
  window.AddToolButton(toggle_);

  connect(csv, &QPushButton::clicked, this, &TQuantitiesPanel::SaveCsv);
  connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) Refresh();
  });
  changeHook_ = window.AddChangeHook([this] { Refresh(); });
}

TQuantitiesPanel::~TQuantitiesPanel() { window_.RemoveChangeHook(changeHook_); }

void TQuantitiesPanel::SetExportAction(QAction* action) {
  export_->setEnabled(action != nullptr);
  disconnect(export_, &QPushButton::clicked, nullptr, nullptr);
  if (action != nullptr) connect(export_, &QPushButton::clicked, action, &QAction::trigger);
}

void TQuantitiesPanel::Refresh() {
  if (!dock_->isVisible() || (streetBusy_ && streetBusy_())) return;
  TStreetStructure& street = window_.Drawer().Street();
  const std::int64_t items = ItemCount(street);
  if (&street == shown_ && items == shownItems_) return;
  shown_ = &street;
  shownItems_ = items;
  try {
    Fill(*table_, CountQuantities(street));
    note_->clear();
  } catch (const std::exception& e) {
    table_->clear();
    note_->setText(ErrorText(e));
  }
}

void TQuantitiesPanel::SaveCsv() {
  if (streetBusy_ && streetBusy_()) return;
  TStreetStructure& street = window_.Drawer().Street();
  const QString file = QString::fromStdString(street.FileName().string());
  const QString suggested =
      (file.isEmpty() ? QDir::home().filePath(QStringLiteral("plan")) : file.left(file.lastIndexOf('.'))) +
      QStringLiteral("-quantities.csv");
  const QString caption = tr("Объёмы работ в CSV");
  const QString filter = tr("Таблицы CSV (*.csv)");
  const QString path = FileChooser() ? FileChooser()(caption, suggested, filter)
                                     : QFileDialog::getSaveFileName(&window_.Window(), caption, suggested, filter);
  if (path.isEmpty()) return;
  try {
    const std::string text = QuantitiesCsv(CountQuantities(street));
    TAtomicFile out(LocalPath(path));
    out.Stream().Write(text.data(), text.size());
    out.Commit();
    note_->setText(tr("Записано: %1").arg(path));
  } catch (const std::exception& e) {
    note_->setText(ErrorText(e));
  }
}

}  // namespace vellmar
