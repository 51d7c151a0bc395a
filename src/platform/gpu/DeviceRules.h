#pragma once
// Argument checks that every device backend applies the same way, so a call that the
// recording device accepts in a test is one the OpenGL device accepts too.

#include <cstdint>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

// Largest texture side the backends accept when the driver does not say less.
inline constexpr uint32_t MaxTextureSide = 16384;

inline HRESULT CheckViewport(const D3DVIEWPORT9& Viewport, uint32_t TargetWidth, uint32_t TargetHeight) {
  const uint64_t right = uint64_t{Viewport.X} + Viewport.Width;
  const uint64_t bottom = uint64_t{Viewport.Y} + Viewport.Height;
  if (Viewport.Width == 0 || Viewport.Height == 0 || right > TargetWidth || bottom > TargetHeight ||
      !(Viewport.MinZ >= 0.0f && Viewport.MinZ <= Viewport.MaxZ && Viewport.MaxZ <= 1.0f))
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

inline HRESULT CheckTextureRequest(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t Format,
                                   const D3DCAPS9& Caps) {
  if (Width == 0 || Height == 0 || Width > Caps.MaxTextureWidth || Height > Caps.MaxTextureHeight)
    return D3DERR_INVALIDCALL;
  // Only what the system creates: one level, 32-bit ARGB.
  if (Levels != 1 || Format != D3DFMT_A8R8G8B8) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

inline HRESULT CheckClear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags) {
  if ((Count != 0 && Rects == nullptr) || Flags == 0 ||
      (Flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0)
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

inline HRESULT CheckDraw(uint32_t Fvf, uint32_t PrimitiveType, uint32_t PrimitiveCount,
                         const void* VertexData, uint32_t VertexStride) {
  if (Fvf != DxVertexFVF || VertexStride != sizeof(TDxVertex) || VertexData == nullptr ||
      PrimitiveCount == 0 || VertexCountOf(PrimitiveType, PrimitiveCount) == 0)
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

}  // namespace vellmar
