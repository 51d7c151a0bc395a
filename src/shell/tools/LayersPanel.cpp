#include "shell/tools/LayersPanel.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/KindNames.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/ShellText.h"
#include "shell/ui/Translation.h"

namespace vellmar {

TLayersPanel::TLayersPanel(IPlanWindow& form)
    : QObject(&form.Window()), form_(form), dock_(new QDockWidget(tr("Слои"), &form.Window())), list_(new QTreeWidget(dock_)) {
  dock_->setObjectName(QStringLiteral("layersPanel"));
  auto* body = new QWidget(dock_);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(2, 2, 2, 2);
  list_->setObjectName(QStringLiteral("layers"));
  list_->setColumnCount(2);
  list_->setHeaderLabels({tr("Слой"), tr("Объектов")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setToolTip(tr("Двойной щелчок: только этот слой; ещё один: снова прежние"));
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(kCountColumn, QHeaderView::ResizeToContents);
  // Keys over the list belong to the plan, as everywhere in the window.
  list_->setFocusPolicy(Qt::NoFocus);
  column->addWidget(list_);
  auto* showAll = new QPushButton(tr("Показать все"), body);
  showAll->setObjectName(QStringLiteral("showAllLayers"));
  showAll->setFocusPolicy(Qt::NoFocus);
  column->addWidget(showAll);
  dock_->setWidget(body);
  form.Window().addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();

  const qreal ratio = form.Window().devicePixelRatioF();
  for (const TLayerRow& layer : LayerRows(form.Drawer().Street(), form.VisibleLayers())) {
    auto* row = new QTreeWidgetItem(list_);
    row->setData(kNameColumn, Qt::UserRole, layer.Kind);
    row->setIcon(kNameColumn, QIcon(KindPicture(layer.Kind, ratio)));
    row->setText(kNameColumn, FromCp1251(KindName(layer.Kind, ShellLanguage())));
    row->setTextAlignment(kCountColumn, Qt::AlignRight | Qt::AlignVCenter);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
  }

  toggle_ = dock_->toggleViewAction();
  toggle_->setObjectName(QStringLiteral("layersPanelToggle"));
  toggle_->setIcon(QIcon(ToolBarPicture(TToolBarPicture::Layers, ratio)));
  toggle_->setText(tr("Слои"));
  toggle_->setToolTip(tr("Слои: какие виды объектов показаны (Ctrl+L)"));
  toggle_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  form.AddToolButton(toggle_);

  connect(list_, &QTreeWidget::itemChanged, this, &TLayersPanel::Ticked);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &TLayersPanel::DoubleClicked);
  connect(showAll, &QPushButton::clicked, this, [this] { Show(TLayerChoice::Every()); });
  changeHook_ = form.AddChangeHook([this] { Refresh(); });
  Refresh();
}

TLayersPanel::~TLayersPanel() { form_.RemoveChangeHook(changeHook_); }

QTreeWidgetItem* TLayersPanel::Row(int kind) const {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    if (row->data(kNameColumn, Qt::UserRole).toInt() == kind) return row;
  }
  return nullptr;
}

void TLayersPanel::Refresh() {
  std::vector<TLayerRow> rows = LayerRows(form_.Drawer().Street(), form_.VisibleLayers());
  if (rows == shown_) return;
  const QSignalBlocker quiet(list_);
  for (size_t i = 0; i < rows.size(); ++i) {
    const TLayerRow& layer = rows[i];
    if (i < shown_.size() && shown_[i] == layer) continue;
    QTreeWidgetItem* row = list_->topLevelItem(static_cast<int>(i));
    row->setText(kCountColumn, QString::number(layer.Count));
    row->setCheckState(kNameColumn, layer.Visible ? Qt::Checked : Qt::Unchecked);
  }
  shown_ = std::move(rows);
}

void TLayersPanel::Ticked(QTreeWidgetItem* row, int column) {
  if (column != kNameColumn) return;
  const int kind = row->data(kNameColumn, Qt::UserRole).toInt();
  Show(TLayerChoice::With(form_.VisibleLayers(), kind, row->checkState(kNameColumn) == Qt::Checked));
}

void TLayersPanel::DoubleClicked(QTreeWidgetItem* row) {
  Show(choice_.OnlyOrBack(form_.VisibleLayers(), row->data(kNameColumn, Qt::UserRole).toInt()));
}

void TLayersPanel::Show(const TKindSet& visible) {
  form_.SetVisibleLayers(visible);
  form_.PlanChanged();
}

}  // namespace vellmar
