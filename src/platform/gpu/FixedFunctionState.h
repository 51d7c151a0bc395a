#pragma once
// The Direct3D 9 fixed-function state the system uses, as a drawing backend keeps it:
// render states, texture stage 0, sampler 0 and the three transforms, each checked on
// the way in. The OpenGL and the Cairo device take their calls through it, so that both
// accept and refuse the same values.

#include <cstdint>

#include "geometry/Matrix44.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

struct TFixedFunctionState {
  TFixedFunctionState();

  // Known states: ZENABLE, SRCBLEND, DESTBLEND, CULLMODE, ALPHABLENDENABLE, LIGHTING,
  // AMBIENT, AMBIENTMATERIALSOURCE (COLOR1 only); others are refused.
  HRESULT SetRenderState(uint32_t State, uint32_t Value);
  // Stage 0 colour operation and its two arguments (DIFFUSE, CURRENT or TEXTURE).
  HRESULT SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value);
  // Sampler 0: filters point, linear, anisotropic; address wrap, mirror, clamp.
  HRESULT SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value);
  HRESULT SetTransform(uint32_t State, const TMatrix44& Matrix);

  // The tint of vertex colours: the ambient colour with lighting on, white without.
  uint32_t Tint() const { return lighting ? ambient : 0xFFFFFFFFu; }

  TMatrix44 world, view, projection;
  bool zEnable = false;  // Direct3D starts with it on; the renderer turns it off every frame
  bool lighting = true;
  uint32_t ambient = 0;
  uint32_t cullMode = D3DCULL_CCW;
  bool blend = false;
  uint32_t srcBlend = D3DBLEND_ONE;
  uint32_t destBlend = D3DBLEND_ZERO;
  uint32_t colorOp = D3DTOP_MODULATE;
  uint32_t colorArg1 = D3DTA_TEXTURE;
  uint32_t colorArg2 = D3DTA_CURRENT;
  uint32_t addressU = D3DTADDRESS_WRAP;
  uint32_t addressV = D3DTADDRESS_WRAP;
  uint32_t minFilter = D3DTEXF_POINT;
  uint32_t magFilter = D3DTEXF_POINT;
  uint32_t maxAnisotropy = 1;
};

}  // namespace vellmar
