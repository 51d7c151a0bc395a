#pragma once
// The device on OpenGL 3.3 core: one shader program emulates the fixed-function state
// the system uses (transforms, ambient tint, texture stage 0, blending, samplers).
// It draws into whatever framebuffer is bound when a call is made, and every call,
// including destruction, needs the device's GL context current. Textures and vertex
// buffers it creates may outlive it; they are emptied when it goes. Vertex buffers are
// GL buffer objects written through mapping, so their vertices are copied once, into
// the driver, and drawn from there frame after frame.
//
// Pixel centres follow Direct3D 9, not OpenGL: a pixel's centre is at whole screen
// coordinates, so the vertex shader moves everything (almost) half a pixel right and
// down in OpenGL's terms. A point at screen position (x, y) therefore lights the pixel
// round(x), round(y), as the renderer's WorldToScreen computes, and edges through pixel
// centres include the pixel on their top and left sides only, as in Direct3D. Positions
// within 1/64 pixel of a pixel boundary may fall on either side (subpixel snapping). Viewports are given from
// the top of the target (Direct3D) and turned into OpenGL's bottom-up rectangles here.

#include <cstdint>
#include <memory>
#include <vector>

#include <epoxy/gl.h>

#include "platform/gpu/FixedFunctionState.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

class GlTexture;
class GlVertexBuffer;

class GlDevice final : public IGpuDevice {
 public:
  // Needs a current OpenGL 3.3 core context whose target is BackBufferWidth x
  // BackBufferHeight pixels. Returns D3DERR_NOTAVAILABLE without a usable context and
  // leaves Device empty then.
  static HRESULT Create(uint32_t BackBufferWidth, uint32_t BackBufferHeight,
                        std::unique_ptr<IGpuDevice>& Device);
  ~GlDevice() override;
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;

  HRESULT GetDeviceCaps(D3DCAPS9& Caps) override;
  HRESULT GetViewport(D3DVIEWPORT9& Viewport) override;
  HRESULT SetViewport(const D3DVIEWPORT9& Viewport) override;
  // The states TFixedFunctionState knows; others are refused.
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
  // Flushes the commands; showing the picture is the context owner's business.
  HRESULT Present() override;
  HRESULT Reset(uint32_t BackBufferWidth, uint32_t BackBufferHeight) override;

 private:
  friend class GlTexture;
  friend class GlVertexBuffer;
  GlDevice(uint32_t BackBufferWidth, uint32_t BackBufferHeight);
  bool Init();
  void ApplyPipelineState();
  void ForgetTexture(GlTexture* Texture);
  void ForgetVertexBuffer(GlVertexBuffer* Buffer);
  void CountDrawn(uint64_t Vertices);

  uint32_t width_;
  uint32_t height_;
  D3DVIEWPORT9 viewport_;
  D3DCAPS9 caps_;
  bool anisotropic_ = false;

  GLuint program_ = 0;
  GLuint vao_ = 0;
  GLuint vbo_ = 0;
  // Draws from vertex buffers go through their own vertex array, pointed at the stream.
  GLuint streamVao_ = 0;
  GLsizeiptr vboCapacity_ = 0;
  GLuint sampler_ = 0;
  GLint uWorld_ = -1, uView_ = -1, uProjection_ = -1, uAmbient_ = -1, uPixelShift_ = -1, uTextured_ = -1,
        uColorOp_ = -1, uColorArg1_ = -1, uColorArg2_ = -1, uTexture_ = -1;

  // Direct3D state as last set; uniforms are sent when it changes.
  TFixedFunctionState state_;
  bool transformsDirty_ = true;
  uint32_t fvf_ = 0;
  bool samplerDirty_ = true;
  GlTexture* texture_ = nullptr;
  bool inScene_ = false;
  std::vector<GlTexture*> textures_;
  GlVertexBuffer* stream_ = nullptr;
  uint32_t streamOffset_ = 0;
  bool streamDirty_ = true;  // streamVao_ points elsewhere
  std::vector<GlVertexBuffer*> buffers_;
  uint64_t verticesSinceFlush_ = 0;
};

}  // namespace vellmar
