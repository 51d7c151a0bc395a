#include "shell/plan/MainPlanDrawer.h"

#include <array>

#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "render/DxRenderer.h"
#include "shell/files/StreetsHolderModule.h"

namespace vellmar {

namespace {

// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;
constexpr float kUnsetDrawScale = 0.02f;
constexpr uint32_t kWhite = MakeColor(255, 255, 255, 255);
// Other streets appear paler and bluish under the current one.
constexpr uint32_t kOtherStreetsTint = MakeColor(196, 196, 255, 196);

// Whether a street's bounds overlap the visible quadrilateral c0..c3 with some area.
bool OverlapsView(TStreetStructure& street, const std::array<TXYZ, 4>& c) {
  const TPointBounds b = street.Points().GetBounds();
  const TXYZ A{b[0], b[1], 0.0f}, B{b[2], b[1], 0.0f}, C{b[2], b[3], 0.0f}, D{b[0], b[3], 0.0f};
  return TriangleOverlapArea(c[0], c[1], c[2], C, B, A) > 0 || TriangleOverlapArea(c[2], c[3], c[0], C, B, A) > 0 ||
         TriangleOverlapArea(c[0], c[1], c[2], A, D, C) > 0 || TriangleOverlapArea(c[2], c[3], c[0], A, D, C) > 0;
}

}  // namespace

TStreetStructure& TMainPlanDrawer::Street() { return streets_.CurrentStreet(); }

TViewState TMainPlanDrawer::View() { return StreetView(Street()); }

void TMainPlanDrawer::SetView(const TViewState& view) { Street().SetView(view.Centre, view.Scale, view.Rotation); }

void TMainPlanDrawer::SetCentre(const TXYZ& centre) {
  TViewState view = View();
  view.Centre = centre;
  SetView(view);
}

void TMainPlanDrawer::SetScale(float scale) {
  TViewState view = View();
  view.Scale = scale;
  SetView(view);
}

void TMainPlanDrawer::SetRotation(float rotation) {
  TViewState view = View();
  view.Rotation = rotation;
  SetView(view);
}

double TMainPlanDrawer::PixelsPerUnit() { return ViewportWidth() * double{Scale()} / 2; }

void TMainPlanDrawer::ShiftPixels(double dx, double dy) {
  const double ppu = PixelsPerUnit();
  // Without a surface (or with no view yet) a pixel has no size; a shift would make the
  // centre infinite.
  if (ppu == 0.0) return;
  const TXYZ v = RotateAngle(MakeXYZ(dx / ppu, dy / ppu, 0.0), -double{Rotation()});
  const TXYZ c = Centre();
  SetCentre(MakeXYZ(double{c.x} + v.x, double{c.y} + v.y, double{c.z} + v.z));
}

int TMainPlanDrawer::ViewportWidth() const {
  const TdxRenderer* renderer = Renderer();
  return renderer ? static_cast<int>(renderer->Viewport().Width) : 0;
}

int TMainPlanDrawer::ViewportHeight() const {
  const TdxRenderer* renderer = Renderer();
  return renderer ? static_cast<int>(renderer->Viewport().Height) : 0;
}

TXYZ TMainPlanDrawer::ScreenToWorld(double x, double y) {
  TdxRenderer* renderer = Renderer();
  if (!renderer) return MakeXYZ(x, y, 0.0);
  SetupMatrices(*renderer);
  return renderer->ScreenToWorld(x, y);
}

void TMainPlanDrawer::ShowAllView() { SetView(FitStreetViewTo(Street(), ViewportWidth(), ViewportHeight())); }

void TMainPlanDrawer::SetupMatrices(TdxRenderer& renderer) {
  if (Scale() == 0.0f) SetScale(kUnsetDrawScale);
  SetupViewMatrices(renderer, View());
}

void TMainPlanDrawer::PrepareContext(TdxRenderer& renderer) {
  params_ = ViewDrawParams(renderer, View());
}

void TMainPlanDrawer::DrawOtherStreets(TdxRenderer& renderer, const TKindSet& visible) {
  renderer.SetAmbientColor(kOtherStreetsTint);
  const double w = renderer.Viewport().Width, h = renderer.Viewport().Height;
  const std::array<TXYZ, 4> corners = {renderer.ScreenToWorld(0, 0), renderer.ScreenToWorld(w, 0),
                                       renderer.ScreenToWorld(w, h), renderer.ScreenToWorld(0, h)};
  const TStreetStructure* current = &Street();
  for (int i = 0; i < streets_.StreetCount(); ++i) {
    TStreetStructure& street = streets_.StreetAt(i);
    if (&street != current && OverlapsView(street, corners)) street.Draw(params_, visible, kPlanModes);
  }
  renderer.SetAmbientColor(kWhite);
}

void TMainPlanDrawer::Draw(const TKindSet& visible) {
  TdxRenderer* renderer = Renderer();
  if (!renderer) return;
  if (sendView_) sendView_(View());
  renderer->SetAmbientColor(kWhite);
  renderer->ClearTarget(kWhite, true, true, true);
  SetupMatrices(*renderer);
  PrepareContext(*renderer);
  if (allStreets_) DrawOtherStreets(*renderer, visible);
  Street().Draw(params_, visible, kPlanModes);
}

}  // namespace vellmar
