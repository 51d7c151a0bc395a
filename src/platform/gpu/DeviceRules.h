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

// Buffers hold whole TDxVertex records and are written through locks only.
inline HRESULT CheckVertexBufferRequest(uint32_t Length, uint32_t Usage, uint32_t Fvf, uint32_t Pool) {
  if (Length < sizeof(TDxVertex) || Fvf != DxVertexFVF || (Usage & D3DUSAGE_WRITEONLY) == 0 ||
      (Pool != D3DPOOL_DEFAULT && Pool != D3DPOOL_MANAGED))
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

// The bytes a lock covers, SizeToLock 0 meaning up to the end; 0 when the lock is refused.
inline uint32_t LockedSize(uint32_t OffsetToLock, uint32_t SizeToLock, uint32_t Length) {
  if (OffsetToLock >= Length) return 0;
  if (SizeToLock == 0) return Length - OffsetToLock;
  return uint64_t{OffsetToLock} + SizeToLock <= Length ? SizeToLock : 0;
}

inline HRESULT CheckStreamSource(uint32_t StreamNumber, uint32_t OffsetInBytes, uint32_t Stride) {
  if (StreamNumber != 0 || Stride != sizeof(TDxVertex) || OffsetInBytes % sizeof(TDxVertex) != 0)
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

// A draw from the stream must read only bytes inside the bound buffer, and never one
// being written.
inline HRESULT CheckStreamDraw(uint32_t Fvf, uint32_t PrimitiveType, uint32_t StartVertex,
                               uint32_t PrimitiveCount, uint32_t StreamOffset, uint64_t BufferLength,
                               bool BufferLocked) {
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  if (Fvf != DxVertexFVF || PrimitiveCount == 0 || count == 0 || BufferLocked ||
      StreamOffset + (uint64_t{StartVertex} + count) * sizeof(TDxVertex) > BufferLength)
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

}  // namespace vellmar
