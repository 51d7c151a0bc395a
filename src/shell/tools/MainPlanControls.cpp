#include "shell/tools/MainPlanControls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QCoreApplication>
#include <QMainWindow>

#include "geometry/Vector.h"
#include "render/DxRenderer.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/ui/Pictures.h"

namespace vellmar {

namespace {

constexpr const char* kContext = "vellmar::TMainPlanControls";
constexpr double kTurn = std::numbers::pi / 60;  // 3°
constexpr double kShift = 100;                   // pixels
constexpr float kSmallestScale = 1e-6f;
// A selection must be wider and taller than this many pixels to zoom.
constexpr int kSmallestSelection = 19;
constexpr uint32_t kSelectionColour = MakeColor(40, 110, 200, 255);

struct TActionDefinition {
  const char* Name;
  const char* Hint;
  TButtonPicture Picture;
  TShortCut ShortCut;
  bool AutoRep;
  bool Toggle;
};

const TShortCut kNone{};

TShortCut Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { return {key, modifiers, false}; }

}  // namespace

TMainPlanControls::TMainPlanControls(IPlanWindow& form, TFloatingActions& actions, qreal pixelRatio)
    : form_(form),
      shiftViewMode_(QCoreApplication::translate("vellmar::TMainPlanControls", "Сдвиг плана"), crShiftView),
      selectAreaMode_(QCoreApplication::translate("vellmar::TMainPlanControls", "Выбор видимой области"), crSelectArea),
      zoomMode_(QCoreApplication::translate("vellmar::TMainPlanControls", "Масштабирование"), crZoom),
      rotateMode_(QCoreApplication::translate("vellmar::TMainPlanControls", "Вращение"), crRotate) {
  AddActions(actions, pixelRatio);
  SetUpShiftView();
  SetUpSelectArea();
  SetUpZoom();
  SetUpRotate();
}

void TMainPlanControls::AddActions(TFloatingActions& actions, qreal pixelRatio) {
  using P = TButtonPicture;
  const TActionDefinition definitions[] = {
      {"ShowAll", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Показать весь объект"), P::ShowAll, Key(Qt::Key_Home, Qt::ControlModifier), false, false},
      {"ShiftLeft", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Сдвиг вида"), P::ShiftLeft, Key(Qt::Key_Left), true, false},
      {"ShiftRight", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Сдвиг вида"), P::ShiftRight, Key(Qt::Key_Right), true, false},
      {"ShiftUp", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Сдвиг вида"), P::ShiftUp, Key(Qt::Key_Up), true, false},
      {"ShiftDown", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Сдвиг вида"), P::ShiftDown, Key(Qt::Key_Down), true, false},
      {"RotCW", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Вращение вида"), P::RotCW, Key(Qt::Key_Home), true, false},
      {"RotCCW", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Вращение вида"), P::RotCCW, Key(Qt::Key_End), true, false},
      {"ScaleUp", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Увеличение"), P::ScaleUp, {Qt::Key_Plus, Qt::NoModifier, true}, true, false},
      {"ScaleDown", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Уменьшение"), P::ScaleDown, {Qt::Key_Minus, Qt::NoModifier, true}, true, false},
      {"ShiftView", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Таскать вид"), P::ShiftView, Key(Qt::Key_F5), false, false},
      {"SelectArea", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Выбрать видимую область"), P::SelectArea, Key(Qt::Key_F6), false, false},
      {"Zoom", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Масштаб плавно"), P::Zoom, Key(Qt::Key_F7), false, false},
      {"Rotate", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Вращение плавно"), P::Rotate, Key(Qt::Key_F8), false, false},
      {"AllStreetsDraw", QT_TRANSLATE_NOOP("vellmar::TMainPlanControls", "Включить прорисовку всех улиц"), P::AllStreets, kNone, false, true},
  };
  TMainPlanDrawer& drawer = form_.Drawer();
  const auto navigate = [this](auto change) {
    return [this, change](TFloatingAction&) {
      change(form_.Drawer());
      form_.PlanChanged();
    };
  };
  const auto shift = [&](double dx, double dy) {
    return navigate([dx, dy](TMainPlanDrawer& d) { d.ShiftPixels(dx, dy); });
  };
  const auto turn = [&](double angle) {
    return navigate([angle](TMainPlanDrawer& d) { d.SetRotation(static_cast<float>(d.Rotation() + angle)); });
  };
  const auto mode = [this](TMouseEvents& m) { return [this, &m](TFloatingAction&) { form_.SetMouseMode(&m); }; };
  const TFloatingAction::THandler handlers[] = {
      navigate([](TMainPlanDrawer& d) { d.ShowAllView(); }),
      shift(-kShift, 0),
      shift(kShift, 0),
      shift(0, kShift),
      shift(0, -kShift),
      turn(-kTurn),
      turn(kTurn),
      navigate([](TMainPlanDrawer& d) { d.SetScale(static_cast<float>(d.Scale() * std::numbers::sqrt2)); }),
      navigate([](TMainPlanDrawer& d) {
        if (d.Scale() > kSmallestScale) d.SetScale(static_cast<float>(d.Scale() / std::numbers::sqrt2));
      }),
      mode(shiftViewMode_),
      mode(selectAreaMode_),
      mode(zoomMode_),
      mode(rotateMode_),
      [this, &drawer](TFloatingAction& action) {
        drawer.SetAllStreets(action.Down());
        form_.PlanChanged();
      },
  };
  static_assert(std::size(definitions) == std::size(handlers));
  for (size_t i = 0; i < std::size(definitions); ++i) {
    const TActionDefinition& definition = definitions[i];
    auto action = std::make_unique<TFloatingAction>(
        QString::fromLatin1(definition.Name), QCoreApplication::translate("vellmar::TMainPlanControls", "Управление видом"),
        QCoreApplication::translate(kContext, definition.Hint),
        ButtonPicture(definition.Picture, pixelRatio), definition.ShortCut, definition.Toggle);
    action->SetAutoRep(definition.AutoRep);
    action->OnExecute = handlers[i];
    actions.Add(std::move(action));
  }
}

void TMainPlanControls::AddModeAction(IPlanWindow& form, const QString& name, const QString& hint,
                                      TButtonPicture picture, int key, TMouseEvents& mode) {
  auto action = std::make_unique<TFloatingAction>(name, QCoreApplication::translate(kContext, "Управление видом"), hint,
                                                  ButtonPicture(picture, form.Window().devicePixelRatioF()), Key(key), false);
  action->OnExecute = [&form, &mode](TFloatingAction&) { form.SetMouseMode(&mode); };
  form.FloatingActions().Add(std::move(action));
}

void TMainPlanControls::SetUpShiftView() {
  shiftViewMode_.BeforeSendEvents = [this] { dragging_ = false; };
  shiftViewMode_.OnMouseDown = [this](Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
    if (!shift.LeftAlone(button)) return;
    dragStart_ = dragCurrent_ = {x, y};
    startCentre_ = form_.Drawer().Centre();
    dragging_ = true;
  };
  shiftViewMode_.OnMouseMove = [this](const TMouseShift&, int x, int y) {
    if (!dragging_) return;
    dragCurrent_ = {x, y};
    TMainPlanDrawer& drawer = form_.Drawer();
    // Both points through the view as it is now, so the grabbed point follows the pointer.
    const TXYZ now = drawer.ScreenToWorld(dragCurrent_.x(), dragCurrent_.y());
    const TXYZ start = drawer.ScreenToWorld(dragStart_.x(), dragStart_.y());
    drawer.SetCentre(MakeXYZ(double{startCentre_.x} - (double{now.x} - start.x),
                             double{startCentre_.y} - (double{now.y} - start.y), startCentre_.z));
    form_.PlanChanged();
  };
  shiftViewMode_.OnMouseUp = [this](Qt::MouseButton, const TMouseShift&, int, int) { dragging_ = false; };
}

void TMainPlanControls::SetUpSelectArea() {
  selectAreaMode_.BeforeSendEvents = [this] { selecting_ = false; };
  selectAreaMode_.OnMouseDown = [this](Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
    if (!shift.LeftAlone(button)) return;
    dragStart_ = dragCurrent_ = {x, y};
    selecting_ = true;
    if (selectionHook_ < 0) selectionHook_ = form_.AddDrawHook([this](const TDxDrawParams&) { DrawSelection(); });
    form_.PlanChanged();
  };
  selectAreaMode_.OnMouseMove = [this](const TMouseShift&, int x, int y) {
    if (!selecting_) return;
    dragCurrent_ = {x, y};
    form_.PlanChanged();
  };
  selectAreaMode_.OnMouseUp = [this](Qt::MouseButton, const TMouseShift&, int, int) {
    if (!selecting_) return;
    const int minX = std::min(dragStart_.x(), dragCurrent_.x()), maxX = std::max(dragStart_.x(), dragCurrent_.x());
    const int minY = std::min(dragStart_.y(), dragCurrent_.y()), maxY = std::max(dragStart_.y(), dragCurrent_.y());
    const int width = maxX - minX, height = maxY - minY;
    if (width > kSmallestSelection && height > kSmallestSelection) {
      TMainPlanDrawer& drawer = form_.Drawer();
      const double w = drawer.ViewportWidth(), h = drawer.ViewportHeight();
      drawer.SetCentre(drawer.ScreenToWorld((minX + maxX) / 2, (minY + maxY) / 2));
      drawer.SetScale(static_cast<float>(drawer.Scale() * std::min(h / height, w / width)));
    }
    selecting_ = false;
    form_.RemoveDrawHook(selectionHook_);
    selectionHook_ = -1;
    form_.PlanChanged();
  };
}

void TMainPlanControls::DrawSelection() {
  if (!selecting_) return;
  TdxRenderer* renderer = form_.Drawer().Renderer();
  if (!renderer) return;
  const double x0 = dragStart_.x(), y0 = dragStart_.y(), x1 = dragCurrent_.x(), y1 = dragCurrent_.y();
  const TXYZArray corners = {renderer->ScreenToWorld(x0, y0), renderer->ScreenToWorld(x1, y0),
                             renderer->ScreenToWorld(x1, y1), renderer->ScreenToWorld(x0, y1),
                             renderer->ScreenToWorld(x0, y0)};
  renderer->DrawPolyline(corners, kSelectionColour);
}

void TMainPlanControls::SetUpZoom() {
  zoomMode_.BeforeSendEvents = [this] { zooming_ = false; };
  zoomMode_.OnMouseDown = [this](Qt::MouseButton, const TMouseShift&, int x, int y) {
    zooming_ = true;
    dragStart_ = dragCurrent_ = {x, y};
    startScale_ = form_.Drawer().Scale();
  };
  zoomMode_.OnMouseMove = [this](const TMouseShift&, int x, int y) {
    if (!zooming_) return;
    dragCurrent_ = {x, y};
    TMainPlanDrawer& drawer = form_.Drawer();
    const int w = drawer.ViewportWidth(), h = drawer.ViewportHeight();
    const QPoint middle(w / 2, h / 2);
    const double r1 = std::hypot(dragCurrent_.x() - middle.x(), dragCurrent_.y() - middle.y());
    const double r0 = std::hypot(dragStart_.x() - middle.x(), dragStart_.y() - middle.y());
    if (w / 10 > r1 || w / 10 > r0) return;
    drawer.SetScale(static_cast<float>(startScale_ * r1 / r0));
    form_.PlanChanged();
  };
  zoomMode_.OnMouseUp = [this](Qt::MouseButton, const TMouseShift&, int, int) {
    if (!zooming_) return;
    zooming_ = false;
    form_.PlanChanged();
  };
}

void TMainPlanControls::SetUpRotate() {
  rotateMode_.BeforeSendEvents = [this] { rotating_ = false; };
  rotateMode_.OnMouseDown = [this](Qt::MouseButton button, const TMouseShift& shift, int x, int y) {
    if (!shift.LeftAlone(button)) return;
    dragStart_ = dragCurrent_ = {x, y};
    startRotation_ = form_.Drawer().Rotation();
    rotating_ = true;
  };
  rotateMode_.OnMouseMove = [this](const TMouseShift&, int x, int y) {
    if (!rotating_) return;
    dragCurrent_ = {x, y};
    TMainPlanDrawer& drawer = form_.Drawer();
    const double mx = drawer.ViewportWidth() / 2.0, my = drawer.ViewportHeight() / 2.0;
    const double now = AngleOf(MakeXYZ(dragCurrent_.x() - mx, dragCurrent_.y() - my, 0.0));
    const double start = AngleOf(MakeXYZ(dragStart_.x() - mx, dragStart_.y() - my, 0.0));
    drawer.SetRotation(static_cast<float>(startRotation_ - now + start));
    form_.PlanChanged();
  };
  rotateMode_.OnMouseUp = [this](Qt::MouseButton, const TMouseShift&, int, int) { rotating_ = false; };
}

}  // namespace vellmar
