#include "platform/gpu/FixedFunctionState.h"

namespace vellmar {

TFixedFunctionState::TFixedFunctionState() {
  for (TMatrix44* m : {&world, &view, &projection}) m->m = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

HRESULT TFixedFunctionState::SetRenderState(uint32_t State, uint32_t Value) {
  const auto isBlend = [](uint32_t v) { return v >= D3DBLEND_ZERO && v <= D3DBLEND_INVDESTCOLOR; };
  switch (State) {
    case D3DRS_ZENABLE:
      if (Value > 1) return D3DERR_INVALIDCALL;
      zEnable = Value != 0;
      return D3D_OK;
    case D3DRS_SRCBLEND:
      if (!isBlend(Value)) return D3DERR_INVALIDCALL;
      srcBlend = Value;
      return D3D_OK;
    case D3DRS_DESTBLEND:
      if (!isBlend(Value)) return D3DERR_INVALIDCALL;
      destBlend = Value;
      return D3D_OK;
    case D3DRS_CULLMODE:
      if (Value < D3DCULL_NONE || Value > D3DCULL_CCW) return D3DERR_INVALIDCALL;
      cullMode = Value;
      return D3D_OK;
    case D3DRS_ALPHABLENDENABLE:
      blend = Value != 0;
      return D3D_OK;
    case D3DRS_LIGHTING:
      lighting = Value != 0;
      return D3D_OK;
    case D3DRS_AMBIENT:
      ambient = Value;
      return D3D_OK;
    case D3DRS_AMBIENTMATERIALSOURCE:
      // Materials are not emulated: the vertex colour is the only ambient source.
      return Value == D3DMCS_COLOR1 ? D3D_OK : D3DERR_INVALIDCALL;
    default:
      return D3DERR_INVALIDCALL;
  }
}

HRESULT TFixedFunctionState::SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) {
  if (Stage != 0) return D3DERR_INVALIDCALL;
  const bool validArg = Value == D3DTA_DIFFUSE || Value == D3DTA_CURRENT || Value == D3DTA_TEXTURE;
  switch (Type) {
    case D3DTSS_COLOROP:
      if (Value < D3DTOP_DISABLE || Value > D3DTOP_ADDSIGNED) return D3DERR_INVALIDCALL;
      colorOp = Value;
      return D3D_OK;
    case D3DTSS_COLORARG1:
      if (!validArg) return D3DERR_INVALIDCALL;
      colorArg1 = Value;
      return D3D_OK;
    case D3DTSS_COLORARG2:
      if (!validArg) return D3DERR_INVALIDCALL;
      colorArg2 = Value;
      return D3D_OK;
    default:
      return D3DERR_INVALIDCALL;
  }
}

HRESULT TFixedFunctionState::SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) {
  if (Sampler != 0) return D3DERR_INVALIDCALL;
  const bool validAddress = Value >= D3DTADDRESS_WRAP && Value <= D3DTADDRESS_CLAMP;
  const bool validFilter = Value >= D3DTEXF_POINT && Value <= D3DTEXF_ANISOTROPIC;
  switch (Type) {
    case D3DSAMP_ADDRESSU:
      if (!validAddress) return D3DERR_INVALIDCALL;
      addressU = Value;
      return D3D_OK;
    case D3DSAMP_ADDRESSV:
      if (!validAddress) return D3DERR_INVALIDCALL;
      addressV = Value;
      return D3D_OK;
    case D3DSAMP_MAGFILTER:
      if (!validFilter) return D3DERR_INVALIDCALL;
      magFilter = Value;
      return D3D_OK;
    case D3DSAMP_MINFILTER:
      if (!validFilter) return D3DERR_INVALIDCALL;
      minFilter = Value;
      return D3D_OK;
    case D3DSAMP_MAXANISOTROPY:
      if (Value == 0) return D3DERR_INVALIDCALL;
      maxAnisotropy = Value;
      return D3D_OK;
    default:
      return D3DERR_INVALIDCALL;
  }
}

HRESULT TFixedFunctionState::SetTransform(uint32_t State, const TMatrix44& Matrix) {
  switch (State) {
    case D3DTS_WORLD:
      world = Matrix;
      return D3D_OK;
    case D3DTS_VIEW:
      view = Matrix;
      return D3D_OK;
    case D3DTS_PROJECTION:
      projection = Matrix;
      return D3D_OK;
    default:
      return D3DERR_INVALIDCALL;
  }
}

}  // namespace vellmar
