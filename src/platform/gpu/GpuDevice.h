#pragma once
// The graphics device the renderer drives: the subset of Direct3D 9 the system uses,
// with Direct3D 9's method names and numeric constants, so the renderer issues the
// same calls and values it would on that API. Backends: GlDevice (OpenGL 3.3) and
// RecordingDevice (tests). A device owns nothing of its callers; textures it creates
// are owned by the caller (std::unique_ptr) and must not be used with another device.

#include <cstdint>
#include <memory>

#include "geometry/Matrix44.h"

namespace vellmar {

using HRESULT = int32_t;

inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
inline constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// Resource usages (D3DUSAGE), pools (D3DPOOL) and lock flags (D3DLOCK).
inline constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
inline constexpr uint32_t D3DPOOL_DEFAULT = 0;
// The caller promises not to touch bytes a pending draw may read: the device need not wait.
inline constexpr uint32_t D3DLOCK_NOOVERWRITE = 0x1000;
// The whole buffer's old contents may go; later locks may then promise NOOVERWRITE again.
inline constexpr uint32_t D3DLOCK_DISCARD = 0x2000;

// Render states (D3DRENDERSTATETYPE) and their values.
inline constexpr uint32_t D3DRS_ZENABLE = 7;
inline constexpr uint32_t D3DRS_SRCBLEND = 19;
inline constexpr uint32_t D3DRS_DESTBLEND = 20;
inline constexpr uint32_t D3DRS_CULLMODE = 22;
inline constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
inline constexpr uint32_t D3DRS_LIGHTING = 137;
inline constexpr uint32_t D3DRS_AMBIENT = 139;
inline constexpr uint32_t D3DRS_AMBIENTMATERIALSOURCE = 147;

inline constexpr uint32_t D3DCULL_NONE = 1;
inline constexpr uint32_t D3DCULL_CW = 2;
inline constexpr uint32_t D3DCULL_CCW = 3;

inline constexpr uint32_t D3DMCS_MATERIAL = 0;
inline constexpr uint32_t D3DMCS_COLOR1 = 1;

inline constexpr uint32_t D3DBLEND_ZERO = 1;
inline constexpr uint32_t D3DBLEND_ONE = 2;
inline constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
inline constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
inline constexpr uint32_t D3DBLEND_SRCALPHA = 5;
inline constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
inline constexpr uint32_t D3DBLEND_DESTALPHA = 7;
inline constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
inline constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
inline constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;

// Texture stage states (D3DTEXTURESTAGESTATETYPE), operations and arguments.
inline constexpr uint32_t D3DTSS_COLOROP = 1;
inline constexpr uint32_t D3DTSS_COLORARG1 = 2;
inline constexpr uint32_t D3DTSS_COLORARG2 = 3;

inline constexpr uint32_t D3DTOP_DISABLE = 1;
inline constexpr uint32_t D3DTOP_SELECTARG1 = 2;
inline constexpr uint32_t D3DTOP_SELECTARG2 = 3;
inline constexpr uint32_t D3DTOP_MODULATE = 4;
inline constexpr uint32_t D3DTOP_MODULATE2X = 5;
inline constexpr uint32_t D3DTOP_MODULATE4X = 6;
inline constexpr uint32_t D3DTOP_ADD = 7;
inline constexpr uint32_t D3DTOP_ADDSIGNED = 8;

inline constexpr uint32_t D3DTA_DIFFUSE = 0;
inline constexpr uint32_t D3DTA_CURRENT = 1;
inline constexpr uint32_t D3DTA_TEXTURE = 2;

// Sampler states (D3DSAMPLERSTATETYPE), filters and address modes.
inline constexpr uint32_t D3DSAMP_ADDRESSU = 1;
inline constexpr uint32_t D3DSAMP_ADDRESSV = 2;
inline constexpr uint32_t D3DSAMP_MAGFILTER = 5;
inline constexpr uint32_t D3DSAMP_MINFILTER = 6;
inline constexpr uint32_t D3DSAMP_MAXANISOTROPY = 10;

inline constexpr uint32_t D3DTEXF_POINT = 1;
inline constexpr uint32_t D3DTEXF_LINEAR = 2;
inline constexpr uint32_t D3DTEXF_ANISOTROPIC = 3;

inline constexpr uint32_t D3DTADDRESS_WRAP = 1;
inline constexpr uint32_t D3DTADDRESS_MIRROR = 2;
inline constexpr uint32_t D3DTADDRESS_CLAMP = 3;

// Transform states (D3DTRANSFORMSTATETYPE).
inline constexpr uint32_t D3DTS_VIEW = 2;
inline constexpr uint32_t D3DTS_PROJECTION = 3;
inline constexpr uint32_t D3DTS_WORLD = 256;

// Primitive types (D3DPRIMITIVETYPE).
inline constexpr uint32_t D3DPT_POINTLIST = 1;
inline constexpr uint32_t D3DPT_LINELIST = 2;
inline constexpr uint32_t D3DPT_LINESTRIP = 3;
inline constexpr uint32_t D3DPT_TRIANGLELIST = 4;
inline constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
inline constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

// Flexible vertex format bits; the system uses one format, that of TDxVertex.
inline constexpr uint32_t D3DFVF_XYZ = 0x002;
inline constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
inline constexpr uint32_t D3DFVF_TEX1 = 0x100;
inline constexpr uint32_t DxVertexFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
static_assert(DxVertexFVF == 0x142);

inline constexpr uint32_t D3DCLEAR_TARGET = 1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 2;
inline constexpr uint32_t D3DCLEAR_STENCIL = 4;

inline constexpr uint32_t D3DFMT_A8R8G8B8 = 21;
inline constexpr uint32_t D3DPOOL_MANAGED = 1;

struct D3DVIEWPORT9 {
  uint32_t X = 0;
  uint32_t Y = 0;  // from the top of the target, as on screen
  uint32_t Width = 0;
  uint32_t Height = 0;
  float MinZ = 0.0f;
  float MaxZ = 1.0f;
};

struct D3DRECT {
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;
};

// The capabilities the system reads (glyph atlas sizes, anisotropic filtering).
struct D3DCAPS9 {
  uint32_t MaxTextureWidth = 0;
  uint32_t MaxTextureHeight = 0;
  uint32_t MaxAnisotropy = 1;
};

struct D3DLOCKED_RECT {
  int32_t Pitch = 0;  // bytes between successive rows
  void* pBits = nullptr;
};

// An A8R8G8B8 texture of one level; row 0 is the top of the picture (v = 0).
class IGpuTexture {
 public:
  virtual ~IGpuTexture() = default;
  // Locks the whole level for writing; the pixels read back are the current contents.
  virtual HRESULT LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t Flags) = 0;
  virtual HRESULT UnlockRect(uint32_t Level) = 0;
};

// Vertices kept by the device between frames. Locks are for writing only (the buffers
// are created D3DUSAGE_WRITEONLY): what a lock returns is not the buffer's contents, and
// the bytes written land in the buffer at Unlock. A SizeToLock of 0 locks from
// OffsetToLock to the end. Only one lock at a time.
class IGpuVertexBuffer {
 public:
  virtual ~IGpuVertexBuffer() = default;
  virtual HRESULT Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t Flags) = 0;
  virtual HRESULT Unlock() = 0;
};

class IGpuDevice {
 public:
  virtual ~IGpuDevice() = default;

  virtual HRESULT GetDeviceCaps(D3DCAPS9& Caps) = 0;
  virtual HRESULT GetViewport(D3DVIEWPORT9& Viewport) = 0;
  virtual HRESULT SetViewport(const D3DVIEWPORT9& Viewport) = 0;

  virtual HRESULT SetRenderState(uint32_t State, uint32_t Value) = 0;
  virtual HRESULT SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) = 0;
  virtual HRESULT SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) = 0;
  virtual HRESULT SetTransform(uint32_t State, const TMatrix44& Matrix) = 0;
  virtual HRESULT SetFVF(uint32_t FVF) = 0;

  // Texture is not owned; nullptr unbinds.
  virtual HRESULT SetTexture(uint32_t Stage, IGpuTexture* Texture) = 0;
  virtual HRESULT CreateTexture(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t Usage,
                                uint32_t Format, uint32_t Pool, std::unique_ptr<IGpuTexture>& Texture) = 0;

  // Length in bytes; buffers hold TDxVertex (DxVertexFVF) only. The buffer is owned by
  // the caller and must not be used with another device.
  virtual HRESULT CreateVertexBuffer(uint32_t Length, uint32_t Usage, uint32_t FVF, uint32_t Pool,
                                     std::unique_ptr<IGpuVertexBuffer>& Buffer) = 0;
  // Stream 0 only; the buffer is not owned and must stay alive while it is bound
  // (nullptr unbinds).
  virtual HRESULT SetStreamSource(uint32_t StreamNumber, IGpuVertexBuffer* Buffer, uint32_t OffsetInBytes,
                                  uint32_t Stride) = 0;

  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  // Clears the viewport, or the given rectangles of it when Count is not 0.
  virtual HRESULT Clear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags, uint32_t Color, float Z,
                        uint32_t Stencil) = 0;
  virtual HRESULT DrawPrimitiveUP(uint32_t PrimitiveType, uint32_t PrimitiveCount, const void* VertexData,
                                  uint32_t VertexStride) = 0;
  // Draws from the vertex buffer bound to stream 0, starting StartVertex vertices past
  // the stream's offset.
  virtual HRESULT DrawPrimitive(uint32_t PrimitiveType, uint32_t StartVertex, uint32_t PrimitiveCount) = 0;
  virtual HRESULT Present() = 0;
  // The drawing target is now BackBufferWidth x BackBufferHeight pixels; the viewport
  // becomes the whole of it. Unlike Direct3D 9's, the reset keeps every texture and
  // vertex buffer made on the device (a window's context outlives its resizes). A device
  // whose target cannot change size refuses (D3DERR_INVALIDCALL), as one given no size.
  virtual HRESULT Reset(uint32_t BackBufferWidth, uint32_t BackBufferHeight) {
    (void)BackBufferWidth;
    (void)BackBufferHeight;
    return D3DERR_INVALIDCALL;
  }
};

// Vertices a draw of PrimitiveCount primitives of the given type reads; 0 for an unknown type.
constexpr uint64_t VertexCountOf(uint32_t PrimitiveType, uint32_t PrimitiveCount) {
  const uint64_t n = PrimitiveCount;
  switch (PrimitiveType) {
    case D3DPT_POINTLIST:
      return n;
    case D3DPT_LINELIST:
      return 2 * n;
    case D3DPT_LINESTRIP:
      return n + 1;
    case D3DPT_TRIANGLELIST:
      return 3 * n;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
      return n + 2;
    default:
      return 0;
  }
}

}  // namespace vellmar
