#pragma once
// The device on Cairo: the frame's primitives drawn as vector paths onto a Cairo
// context, a page of a PDF in practice, at true size. The target is a grid of
// TargetWidth x TargetHeight pixels laid over a page of PageWidth x PageHeight points,
// so the renderer works in pixels of the output's resolution (its level-of-detail
// choices hold) while the page receives exact coordinates, never rounded to pixels.
//
// What paper needs beyond the screen:
// - triangles of one colour drawn one after another are merged into one path and filled
//   once, so a surface tessellated into many triangles shows no seams between them;
// - lines and points are LineWidth points wide, whatever the resolution (on screen they
//   are one pixel);
// - textures are embedded as lossless images, each once per colour it is drawn in, and
//   mapped onto their triangles by the affine map the texture coordinates give.
// Primitives wholly outside the clip (the viewport, narrowed by ClipTo) are left out,
// so a page holds only what shows on it.
//
// The device does not own the context, which must outlive it. Textures and vertex
// buffers it creates may outlive it; they are refused by every other device. Vertex
// buffers are kept in memory and read back when drawn from.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <cairo.h>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/FixedFunctionState.h"
#include "platform/gpu/GpuDevice.h"
#include "platform/gpu/MemoryVertexBuffer.h"

namespace vellmar {

class CairoTexture;

// A rectangle on the page in points, y down from the page's top.
struct TPageRect {
  double X = 0.0;
  double Y = 0.0;
  double Width = 0.0;
  double Height = 0.0;
};

class CairoDevice final : public IGpuDevice {
 public:
  CairoDevice(cairo_t* Cairo, uint32_t TargetWidth, uint32_t TargetHeight, double PageWidth, double PageHeight,
              double LineWidth);
  ~CairoDevice() override;
  CairoDevice(const CairoDevice&) = delete;
  CairoDevice& operator=(const CairoDevice&) = delete;

  // Narrows what is drawn to a rectangle of the page (a sheet's inner frame);
  // std::nullopt draws on the whole viewport again.
  void ClipTo(const std::optional<TPageRect>& Rect);
  // Draws what is still merged; the device does it at EndScene and Present as well.
  void Flush();

  HRESULT GetDeviceCaps(D3DCAPS9& Caps) override;
  HRESULT GetViewport(D3DVIEWPORT9& Viewport) override;
  HRESULT SetViewport(const D3DVIEWPORT9& Viewport) override;
  HRESULT SetRenderState(uint32_t State, uint32_t Value) override;
  HRESULT SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) override;
  HRESULT SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) override;
  HRESULT SetTransform(uint32_t State, const TMatrix44& Matrix) override;
  HRESULT SetFVF(uint32_t FVF) override;
  HRESULT SetTexture(uint32_t Stage, IGpuTexture* Texture) override;
  HRESULT CreateTexture(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t Usage, uint32_t Format,
                        uint32_t Pool, std::unique_ptr<IGpuTexture>& Texture) override;
  HRESULT CreateVertexBuffer(uint32_t Length, uint32_t Usage, uint32_t FVF, uint32_t Pool,
                             std::unique_ptr<IGpuVertexBuffer>& Buffer) override;
  HRESULT SetStreamSource(uint32_t StreamNumber, IGpuVertexBuffer* Buffer, uint32_t OffsetInBytes,
                          uint32_t Stride) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags, uint32_t Color, float Z,
                uint32_t Stencil) override;
  HRESULT DrawPrimitiveUP(uint32_t PrimitiveType, uint32_t PrimitiveCount, const void* VertexData,
                          uint32_t VertexStride) override;
  HRESULT DrawPrimitive(uint32_t PrimitiveType, uint32_t StartVertex, uint32_t PrimitiveCount) override;
  HRESULT Present() override;

 private:
  // A vertex on the page: position in points, colour after the tint, texture coordinates.
  struct TPageVertex {
    double X = 0.0, Y = 0.0;
    uint32_t Color = 0;
    double U = 0.0, V = 0.0;
  };
  enum class TPending { None, Fill, Stroke };

  // False when the vertex lies behind the eye.
  bool ToPage(const TDxVertex& In, const TMatrix44& M, TPageVertex& Out) const;
  TPageRect ViewportRect() const;
  TPageRect ClipRect() const;
  bool Outside(std::span<const TPageVertex* const> Vertices) const;
  void BeginPending(TPending Kind, uint32_t Color);
  void SetSourceColor(uint32_t Color);
  void AddTriangle(const TPageVertex& A, const TPageVertex& B, const TPageVertex& C);
  void AddSegment(const TPageVertex& A, const TPageVertex& B);
  void AddPoint(const TPageVertex& A);
  void AddTexturedTriangle(const TPageVertex& A, const TPageVertex& B, const TPageVertex& C);
  void FlushTextured();
  // Draws checked primitives, whatever they were handed in.
  void DrawVertices(uint32_t PrimitiveType, uint32_t PrimitiveCount, const TDxVertex* In);

  cairo_t* cairo_;
  uint32_t width_;
  uint32_t height_;
  double pageWidth_;
  double pageHeight_;
  double lineWidth_;
  D3DVIEWPORT9 viewport_;
  D3DCAPS9 caps_;
  TFixedFunctionState state_;
  uint32_t fvf_ = 0;
  bool inScene_ = false;
  CairoTexture* texture_ = nullptr;
  MemoryVertexBuffer* stream_ = nullptr;
  uint32_t streamOffset_ = 0;
  std::optional<TPageRect> clip_;
  // The path being merged and the colour it will be drawn with.
  TPending pending_ = TPending::None;
  uint32_t pendingColor_ = 0;
  std::array<double, 2> strokeEnd_{};
  // Textured triangles sharing one texture-to-page map, painted through one clip.
  std::vector<TPageVertex> texturedRun_;
  cairo_matrix_t texturedMap_{};
  uint32_t texturedColor_ = 0;
  // Textures made here know the device by this token, and that it is gone when it expires.
  std::shared_ptr<const CairoDevice*> self_;
};

}  // namespace vellmar
