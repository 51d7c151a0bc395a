#pragma once
// The renderer: owns one graphics device and everything per device (the world, view
// and projection shells bound to it, the viewport, the caps, the per-frame scratch
// vertex arrays), and offers the frame bracket, the render states the system uses,
// world <-> pixel conversions and the immediate drawing operations. It never owns a
// texture surface. When the device cannot be created the error goes to the caller's
// reporter and the renderer stays without a device: every drawing call is then refused
// (does nothing), while the matrices and conversions go on working.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "geometry/Matrix44.h"
#include "geometry/XYZ.h"
#include "platform/gpu/DxVertex.h"
#include "platform/gpu/GpuDevice.h"
#include "render/MatrixShell.h"
#include "render/TransformTarget.h"

namespace vellmar {

// Vertices the primitive collections handed over in a frame: all they hold, and those
// drawn after culling. They only feed a statistics display; the main window resets them
// at the start of each frame.
struct TFrameCounters {
  uint64_t SubmittedVertices = 0;
  uint64_t DrawnVertices = 0;
};

class TdxRenderer : public ITransformTarget {
 public:
  // Makes the device for a drawing target of the renderer's size (the window handle of
  // old); D3D_OK with a device, or a failure code.
  using TDeviceFactory = std::function<HRESULT(std::unique_ptr<IGpuDevice>& Device)>;
  // Shows an error to the user (the viewer's message box).
  using TErrorReporter = std::function<void(const std::string& Message)>;

  TdxRenderer(int32_t Width, int32_t Height, const TDeviceFactory& CreateDevice,
              const TErrorReporter& ReportError);
  ~TdxRenderer() override;
  TdxRenderer(const TdxRenderer&) = delete;
  TdxRenderer& operator=(const TdxRenderer&) = delete;

  // Without a device nothing is drawn; callers may ask to skip work early.
  bool HasDevice() const { return device_ != nullptr; }
  // Whether collections drawn here hand their vertices to the device for good and drop
  // their own copy (see DxPrimCollection.h): for a renderer that lives as long as the
  // streets it draws, or draws them once. Off unless set.
  bool KeepsVertices() const { return keepsVertices_; }
  // The target is now Width x Height pixels: the device is reset to it (keeping its
  // textures and vertex buffers, so nothing is uploaded again) and the viewport is the
  // whole target. False, with nothing changed, when the device cannot (the caller then
  // makes a new renderer) or the size is empty.
  bool Resize(int32_t Width, int32_t Height);
  void SetKeepsVertices(bool keeps) { keepsVertices_ = keeps; }
  // The device, nullptr after a failed creation. Texture surfaces create their device
  // textures here.
  IGpuDevice* Device() const { return device_.get(); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const D3DVIEWPORT9& Viewport() const { return viewport_; }
  const D3DCAPS9& Caps() const { return caps_; }
  // The caps of the last device created in this process (glyph atlas sizes).
  static const D3DCAPS9& ProcessCaps();

  // Frame bracket. BeginFrame frees the previous frame's scratch arrays and sets the
  // fixed states; ClearTarget, BeginScene and EndScene failures raise EVellmarError.
  virtual void BeginFrame();
  virtual void EndFrame();
  void ClearTarget(uint32_t Color, bool Target, bool Stencil, bool ZBuffer);
  void PresentFrame();

  // Every vertex colour is multiplied by this tint (red, green, blue).
  void SetAmbientColor(uint32_t Color);
  // Binds a device texture on stage 0 for the following draws (its stage, sampler and
  // blend states are set by the texture's owner); nullptr unbinds and switches
  // blending off.
  void BindTexture(IGpuTexture* Texture);

  TMatrixShell& World() { return *world_; }
  TMatrixShell& View() { return *view_; }
  TMatrixShell& Projection() { return *projection_; }
  void ResetMatrices();
  // All three, world first; the shells' overflow errors propagate.
  void PushMatrices();
  void PopMatrices();

  // Pixel position (x, y, rounded to whole pixels) and transformed z of a world point.
  TXYZ WorldToScreen(const TXYZ& P) const;
  // The world point under a pixel, on the plane z = 0 unless the view looks along it.
  TXYZ ScreenToWorld(double Px, double Py) const;
  // World length of one pixel near the bottom centre of the panel.
  double PixelSize() const;
  // Plane through the unprojected screen centre, normal along the line of sight; to be
  // called after the matrices are set.
  void UpdateViewPlane();
  const TPlane& ViewPlane() const { return viewPlane_; }

  // Count zeroed vertices valid until the next BeginFrame.
  std::span<TDxVertex> AllocFrameVertices(size_t Count);
  // Scratch arrays handed out since the frame began.
  size_t FrameArrayCount() const { return frameArrays_.size(); }
  TFrameCounters& FrameCounters() { return frameCounters_; }

  // Immediate drawing; fewer points than each operation's minimum draw nothing.
  void DrawPoints(const TXYZArray& Points, uint32_t Color);     // >= 1
  void DrawPolyline(const TXYZArray& Points, uint32_t Color);   // >= 2
  void DrawSegments(const TXYZArray& Points, uint32_t Color);   // >= 2
  void DrawTriangles(const TXYZArray& Points, uint32_t Color);  // >= 3
  // U runs along the line: 1 per Period, or with WholePeriods a whole number of
  // repeats over the whole line; V is constant.
  void DrawTexturedPolyline(const TXYZArray& Points, bool WholePeriods, uint32_t Color, double Period,
                            double V);
  // A band between the offset lines at OffsetA and OffsetB (positive to the left).
  void DrawRibbon(const TXYZArray& Points, uint32_t Color, double OffsetA, double OffsetB);
  void DrawTexturedRibbon(const TXYZArray& Points, bool WholePeriods, uint32_t Color, double Period,
                          double OffsetA, double VA, double OffsetB, double VB);
  void DrawVertexLines(std::span<const TDxVertex> Vertices);      // >= 2, line list
  void DrawVertexFan(std::span<const TDxVertex> Vertices);        // >= 3
  void DrawVertexTriangles(std::span<const TDxVertex> Vertices);  // >= 3, triangle list
  void DrawVertexStrip(std::span<const TDxVertex> Vertices);      // >= 3
  // Draws Count primitives of Type; nothing when Count is 0.
  void DrawVertexArray(uint32_t Type, uint32_t Count, uint32_t Stride, const void* Vertices);
  // Drawing from a vertex buffer of this renderer's device holding TDxVertex records:
  // bind it (nullptr unbinds, to be done before the buffer goes), then draw Count
  // primitives of Type from StartVertex on, nothing when Count is 0.
  void BindVertexBuffer(IGpuVertexBuffer* Buffer);
  void DrawBufferedPrimitives(uint32_t Type, uint32_t StartVertex, uint32_t Count);

  // The bound shells send their matrices here.
  void SetTransform(uint32_t TransformState, const TMatrix44& Matrix) override;

 protected:
  // Raises "<Operation>: <Call> failed (<code>)" for a failed device call.
  static void CheckResult(HRESULT Result, const char* Operation, const char* Call);

 private:
  // A point in normalised device coordinates mapped back through projection, view and world.
  TXYZ Unproject(const TXYZ& Ndc) const;
  void Draw(uint32_t Type, uint32_t PrimitiveCount, std::span<const TDxVertex> Vertices);
  std::span<TDxVertex> CopyPoints(const TXYZArray& Points, uint32_t Color);
  // U factor k of a textured line (U(i) = L(i) * k).
  static double TextureUFactor(double Total, bool WholePeriods, double Period);
  void FillRibbon(std::span<TDxVertex> Out, const TXYZArray& Points, uint32_t Color, double OffsetA,
                  double VA, double OffsetB, double VB, const std::vector<double>* U);

  TPlane viewPlane_;
  int32_t width_;
  int32_t height_;
  std::unique_ptr<IGpuDevice> device_;
  bool keepsVertices_ = false;
  std::unique_ptr<TMatrixShell> world_;
  std::unique_ptr<TMatrixShell> view_;
  std::unique_ptr<TMatrixShell> projection_;
  D3DVIEWPORT9 viewport_;
  D3DCAPS9 caps_;
  std::vector<std::unique_ptr<TDxVertex[]>> frameArrays_;
  TFrameCounters frameCounters_;
};

}  // namespace vellmar
