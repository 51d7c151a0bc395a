#include "shell/tools/PlanStatusBar.h"

#include <cmath>
#include <numbers>
#include <optional>

#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

#include "document/StreetStructure.h"
#include "items/road/AxisItem.h"
#include "items/road/AxisPlace.h"
#include "items/road/StationText.h"
#include "platform/text/Numbers.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanSurface.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/ShellText.h"
#include "shell/ui/Translation.h"

namespace vellmar {

namespace {

constexpr double kMetresPerInch = 0.0254;

QLabel* AddLabel(QStatusBar& bar, const char* name) {
  auto* label = new QLabel(&bar);
  label->setObjectName(QString::fromLatin1(name));
  label->setContentsMargins(6, 0, 6, 0);
  bar.addPermanentWidget(label);
  return label;
}

QString Fixed(double value, int decimals) {
  return QString::fromStdString(FormatFixed(value + 0.0, decimals));
}

}  // namespace

TPlanStatusBar::TPlanStatusBar(IPlanWindow& form)
    : form_(form),
      coordinates_(AddLabel(form.StatusLine(), "coordinates")),
      station_(AddLabel(form.StatusLine(), "station")),
      scale_(AddLabel(form.StatusLine(), "scale")),
      rotation_(AddLabel(form.StatusLine(), "rotation")) {
  connect(&form.Surface(), &TPlanSurface::MouseMove, this,
          [this](QMouseEvent* event) { ShowPointer(form_.Surface().DevicePoint(event->position())); });
  changeHook_ = form.AddChangeHook([this] { ShowView(); });
  ShowView();
}

TPlanStatusBar::~TPlanStatusBar() { form_.RemoveChangeHook(changeHook_); }

void TPlanStatusBar::ShowPointer(QPoint device) {
  pointer_ = device;
  TMainPlanDrawer& drawer = form_.Drawer();
  const TXYZ world = drawer.ScreenToWorld(device.x(), device.y());
  coordinates_->setText(QStringLiteral("X %1  Y %2").arg(Fixed(world.x, 2), Fixed(world.y, 2)));
  auto* axis = dynamic_cast<TAxisItem*>(drawer.Street().MainAxis());
  const std::optional<TAxisPlace> place = axis ? PlaceOnAxis(axis->Points(), world) : std::nullopt;
  station_->setText(place ? FromCp1251(AxisPlaceText(*place, axis->PicketStep(), ShellLanguage())) : QString());
  station_->setVisible(place.has_value());
}

void TPlanStatusBar::ShowView() {
  TMainPlanDrawer& drawer = form_.Drawer();
  const double pixelsPerUnit = drawer.PixelsPerUnit();
  if (pixelsPerUnit > 0.0 && std::isfinite(pixelsPerUnit)) {
    scale_->setText(QStringLiteral("1:%1").arg(Fixed(DevicePixelsPerMetre() / pixelsPerUnit, 0)));
  }
  // In tenths of a degree within one turn, counter-clockwise: 359.96 reads 0.0.
  double tenths = std::nearbyint(std::fmod(drawer.Rotation() * 1800.0 / std::numbers::pi, 3600.0));
  if (tenths < 0.0) tenths += 3600.0;
  if (tenths >= 3600.0) tenths = 0.0;
  rotation_->setText(QString::fromUtf8("%1°").arg(Fixed(tenths / 10.0, 1)));
  if (pointer_) ShowPointer(*pointer_);
}

double TPlanStatusBar::DevicePixelsPerMetre() const {
  const QScreen* screen = form_.Surface().screen();
  const double dpi = screen ? screen->physicalDotsPerInch() : 96.0;
  return dpi * form_.Surface().devicePixelRatioF() / kMetresPerInch;
}

}  // namespace vellmar
