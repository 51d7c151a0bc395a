#pragma once
// The plan drawer: the view of the current street (centre, scale, rotation, kept in the
// street itself, so every tab has its own), the view operations in screen pixels, and
// one frame of the plan: clear, view matrix, draw parameters, the other open streets
// tinted when all streets are shown, then the current street. It owns nothing; the
// streets belong to the streets module, the renderer to the window.

#include <functional>


#include "document/KindSet.h"
#include "document/ViewState.h"
#include "render/DxDrawParams.h"

namespace vellmar {

class TStreetsHolderModule;
class TStreetStructure;
class TdxRenderer;

class TMainPlanDrawer {
 public:
  using TRendererSource = std::function<TdxRenderer*()>;
  // Receives the view at the start of each frame (the view synchronisation).
  using TViewSender = std::function<void(const TViewState& view)>;

  TMainPlanDrawer(TStreetsHolderModule& streets, TRendererSource renderer)
      : streets_(streets), renderer_(std::move(renderer)) {}

  // The current street; one is made when none is open.
  TStreetStructure& Street();
  TdxRenderer* Renderer() const { return renderer_(); }

  TViewState View();
  void SetView(const TViewState& view);
  TXYZ Centre() { return View().Centre; }
  void SetCentre(const TXYZ& centre);
  float Scale() { return View().Scale; }
  void SetScale(float scale);
  float Rotation() { return View().Rotation; }
  void SetRotation(float rotation);

  // Pixels per world unit: viewport width × scale / 2 (the same across and up).
  double PixelsPerUnit();
  // Moves the centre by a screen offset: positive dx to the right, positive dy up.
  void ShiftPixels(double dx, double dy);
  // The whole current street filling the viewport but for a small margin, rotation 0.
  void ShowAllView();

  // Size of the drawing surface in device pixels; 0 × 0 before it has a renderer.
  int ViewportWidth() const;
  int ViewportHeight() const;
  // The world point under a device pixel with the view as it is now (the renderer's
  // matrices are brought up to date first, as input may have changed the view since the
  // last frame); the pixel itself before the surface has a renderer.
  TXYZ ScreenToWorld(double x, double y);

  // One frame between the renderer's begin and end of frame.
  void Draw(const TKindSet& visible);
  const TDxDrawParams& DrawParams() const { return params_; }

  bool AllStreets() const { return allStreets_; }
  void SetAllStreets(bool on) { allStreets_ = on; }
  void SetViewSender(TViewSender sender) { sendView_ = std::move(sender); }

 private:
  void SetupMatrices(TdxRenderer& renderer);
  void PrepareContext(TdxRenderer& renderer);
  void DrawOtherStreets(TdxRenderer& renderer, const TKindSet& visible);

  TStreetsHolderModule& streets_;
  TRendererSource renderer_;
  TViewSender sendView_;
  TDxDrawParams params_;
  bool allStreets_ = false;
};

}  // namespace vellmar
