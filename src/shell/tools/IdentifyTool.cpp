#include "shell/tools/IdentifyTool.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTableWidget>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "items/ItemDescription.h"
#include "items/ItemPicker.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Numbers.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanOverlay.h"
#include "shell/plan/PlanSurface.h"
#include "shell/plan/PlanWindow.h"
#include "shell/tools/MainPlanControls.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/ShellText.h"
#include "shell/ui/Translation.h"

namespace vellmar {

namespace {

constexpr uint32_t kHighlightColour = MakeColor(245, 100, 0, 255);
constexpr double kHighlightPixels = 3.0;
// Half the side of the square round an item of a single point.
constexpr double kPointMarkPixels = 7.0;

QString Metres(double value, const QString& unit) {
  return QString::fromStdString(FormatFixed(value + 0.0, 2)) + QLatin1Char(' ') + unit;
}

bool CtrlClick(const QMouseEvent& event) {
  return event.button() == Qt::LeftButton && (event.modifiers() & Qt::ControlModifier) != 0;
}

}  // namespace

TIdentifyTool::TIdentifyTool(IPlanWindow& form)
    : QObject(&form.Window()),
      form_(form),
      mode_(tr("Сведения об объекте"), crIdentify),
      dock_(new QDockWidget(tr("Объект"), &form.Window())),
      table_(new QTableWidget(0, 2, dock_)) {
  setObjectName(QStringLiteral("identifyTool"));
  dock_->setObjectName(QStringLiteral("identifyPanel"));
  table_->setObjectName(QStringLiteral("identifyTable"));
  table_->setHorizontalHeaderLabels({tr("Поле"), tr("Значение")});
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Keys belong to the plan, as everywhere in the window.
  table_->setFocusPolicy(Qt::NoFocus);
  dock_->setWidget(table_);
  form.Window().addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();

  TMainPlanControls::AddModeAction(form, QStringLiteral("Identify"), tr("Сведения об объекте (Ctrl+щелчок в любом режиме)"),
                                   TButtonPicture::Identify, Qt::Key_F9, mode_);

  mode_.OnMouseDown = [this](Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
    // A Ctrl+click is the surface's, below, in this mode as in every other.
    if (shift.LeftAlone(button)) IdentifyAt({x, y});
  };
  connect(&form.Surface(), &TPlanSurface::MouseDown, this, [this](QMouseEvent* event) {
    if (CtrlClick(*event)) IdentifyAt(form_.Surface().DevicePoint(event->position()));
  });
  drawHook_ = form.AddDrawHook([this](const TDxDrawParams&) { DrawHighlight(); });
  changeHook_ = form.AddChangeHook([this] { DropWhenStreetClosed(); });
}

TIdentifyTool::~TIdentifyTool() {
  form_.RemoveDrawHook(drawHook_);
  form_.RemoveChangeHook(changeHook_);
}

void TIdentifyTool::IdentifyAt(QPoint device) {
  TMainPlanDrawer& drawer = form_.Drawer();
  const double pixelsPerUnit = drawer.PixelsPerUnit();
  if (!(pixelsPerUnit > 0.0)) return;
  const TXYZ world = drawer.ScreenToWorld(device.x(), device.y());
  Show(TItemPicker(drawer.Street()).Pick(form_.VisibleLayers(), world, kPickPixels / pixelsPerUnit));
}

TAbstractItem* TIdentifyTool::Identified() const {
  if (street_ == nullptr || street_ != &form_.Drawer().Street()) return nullptr;
  return form_.Drawer().Street().ItemList(kind_).FindByID(id_);
}

void TIdentifyTool::Show(TAbstractItem* item) {
  street_ = item != nullptr ? &item->Street() : nullptr;
  kind_ = item != nullptr ? item->KindIndex() : -1;
  id_ = item != nullptr ? item->ID() : 0;
  table_->setRowCount(0);
  if (item != nullptr) {
    const TItemDescription description = DescribeItem(*item, ShellLanguage());
    const auto add = [this](const QString& name, const QString& value) {
      const int row = table_->rowCount();
      table_->insertRow(row);
      table_->setItem(row, 0, new QTableWidgetItem(name));
      table_->setItem(row, 1, new QTableWidgetItem(value));
    };
    add(tr("Вид"), FromCp1251(description.KindName));
    add(tr("Точек"), QString::number(description.PointCount));
    if (description.Length) add(description.Area ? tr("Периметр") : tr("Длина"), Metres(*description.Length, tr("м")));
    if (description.Area) add(tr("Площадь"), Metres(*description.Area, tr("м²")));
    for (const TItemField& field : description.Fields) add(FromCp1251(field.Name), FromCp1251(field.Value));
    dock_->show();
    dock_->raise();
  }
  form_.PlanChanged();
}

void TIdentifyTool::DrawHighlight() {
  TAbstractItem* item = Identified();
  TdxRenderer* renderer = form_.Drawer().Renderer();
  const double pixelsPerUnit = form_.Drawer().PixelsPerUnit();
  if (item == nullptr || renderer == nullptr || !(pixelsPerUnit > 0.0)) return;
  const TPlanOverlay overlay(*renderer, 1.0 / pixelsPerUnit);
  const TXYZArray line = DrawnLine(*item);
  if (line.size() == 1) {
    overlay.Mark(line[0], TPointMark::Square, kPointMarkPixels, kHighlightPixels, kHighlightColour);
  } else {
    overlay.Line(line, item->IsClosed(), kHighlightPixels, kHighlightColour);
  }
  for (const TPictureOutline& outline : PictureOutlines(*item)) {
    overlay.Line(TXYZArray(outline.begin(), outline.end()), true, kHighlightPixels, kHighlightColour);
  }
}

void TIdentifyTool::DropWhenStreetClosed() {
  // A street closed may have left its address to a new one.
  if (street_ == nullptr || (form_.Streets().IsOpen(street_) && street_ == &form_.Drawer().Street())) return;
  street_ = nullptr;
  table_->setRowCount(0);
}

}  // namespace vellmar
