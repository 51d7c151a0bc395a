#include "platform/gpu/cairo/CairoDevice.h"

#include <algorithm>
#include <cmath>

#include "geometry/Matrix.h"
#include "platform/gpu/DeviceRules.h"
#include "platform/gpu/cairo/CairoTexture.h"

namespace vellmar {

namespace {

// Texture-to-page maps closer than this (points per texel, points) draw as one run.
constexpr double kSameMap = 1e-6;

uint32_t Tinted(uint32_t Color, uint32_t Tint) {
  const auto channel = [&](int shift) {
    return ((Color >> shift & 0xFF) * (Tint >> shift & 0xFF) + 127) / 255 << shift;
  };
  return (Color & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

bool SameMap(const cairo_matrix_t& a, const cairo_matrix_t& b) {
  return std::fabs(a.xx - b.xx) <= kSameMap && std::fabs(a.yx - b.yx) <= kSameMap &&
         std::fabs(a.xy - b.xy) <= kSameMap && std::fabs(a.yy - b.yy) <= kSameMap &&
         std::fabs(a.x0 - b.x0) <= kSameMap && std::fabs(a.y0 - b.y0) <= kSameMap;
}

cairo_extend_t ExtendOf(uint32_t AddressU, uint32_t AddressV) {
  // Cairo repeats both axes alike: a texture that repeats along one axis repeats along both.
  if (AddressU == D3DTADDRESS_CLAMP && AddressV == D3DTADDRESS_CLAMP) return CAIRO_EXTEND_PAD;
  if (AddressU == D3DTADDRESS_MIRROR || AddressV == D3DTADDRESS_MIRROR) return CAIRO_EXTEND_REFLECT;
  return CAIRO_EXTEND_REPEAT;
}

}  // namespace

CairoDevice::CairoDevice(cairo_t* Cairo, uint32_t TargetWidth, uint32_t TargetHeight, double PageWidth,
                         double PageHeight, double LineWidth)
    : cairo_(Cairo),
      width_(TargetWidth),
      height_(TargetHeight),
      pageWidth_(PageWidth),
      pageHeight_(PageHeight),
      lineWidth_(LineWidth),
      self_(std::make_shared<const CairoDevice*>(this)) {
  viewport_.Width = width_;
  viewport_.Height = height_;
  caps_.MaxTextureWidth = MaxTextureSide;
  caps_.MaxTextureHeight = MaxTextureSide;
  caps_.MaxAnisotropy = 16;
  ClipTo(std::nullopt);
}

CairoDevice::~CairoDevice() {
  Flush();
}

TPageRect CairoDevice::ViewportRect() const {
  const double sx = pageWidth_ / width_, sy = pageHeight_ / height_;
  return {viewport_.X * sx, viewport_.Y * sy, viewport_.Width * sx, viewport_.Height * sy};
}

TPageRect CairoDevice::ClipRect() const {
  const TPageRect v = ViewportRect();
  if (!clip_) return v;
  const double x1 = std::max(v.X, clip_->X), y1 = std::max(v.Y, clip_->Y);
  const double x2 = std::min(v.X + v.Width, clip_->X + clip_->Width);
  const double y2 = std::min(v.Y + v.Height, clip_->Y + clip_->Height);
  return {x1, y1, std::max(0.0, x2 - x1), std::max(0.0, y2 - y1)};
}

void CairoDevice::ClipTo(const std::optional<TPageRect>& Rect) {
  Flush();
  clip_ = Rect;
  const TPageRect r = ClipRect();
  cairo_reset_clip(cairo_);
  cairo_new_path(cairo_);
  cairo_rectangle(cairo_, r.X, r.Y, r.Width, r.Height);
  cairo_clip(cairo_);
}

void CairoDevice::Flush() {
  FlushTextured();
  if (pending_ == TPending::None) return;
  SetSourceColor(pendingColor_);
  if (pending_ == TPending::Fill) {
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cairo_);
  } else {
    cairo_set_line_width(cairo_, lineWidth_);
    cairo_set_line_cap(cairo_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cairo_, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cairo_);
  }
  pending_ = TPending::None;
}

void CairoDevice::SetSourceColor(uint32_t Color) {
  cairo_set_source_rgba(cairo_, static_cast<double>(Color >> 16 & 0xFF) / 255.0,
                        static_cast<double>(Color >> 8 & 0xFF) / 255.0, static_cast<double>(Color & 0xFF) / 255.0,
                        static_cast<double>(Color >> 24) / 255.0);
}

void CairoDevice::BeginPending(TPending Kind, uint32_t Color) {
  FlushTextured();
  if (pending_ == Kind && pendingColor_ == Color) return;
  Flush();
  cairo_new_path(cairo_);
  pending_ = Kind;
  pendingColor_ = Color;
}

HRESULT CairoDevice::GetDeviceCaps(D3DCAPS9& Caps) {
  Caps = caps_;
  return D3D_OK;
}

HRESULT CairoDevice::GetViewport(D3DVIEWPORT9& Viewport) {
  Viewport = viewport_;
  return D3D_OK;
}

HRESULT CairoDevice::SetViewport(const D3DVIEWPORT9& Viewport) {
  const HRESULT result = CheckViewport(Viewport, width_, height_);
  if (result != D3D_OK) return result;
  viewport_ = Viewport;
  ClipTo(clip_);
  return D3D_OK;
}

HRESULT CairoDevice::SetRenderState(uint32_t State, uint32_t Value) {
  return state_.SetRenderState(State, Value);
}

HRESULT CairoDevice::SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) {
  return state_.SetTextureStageState(Stage, Type, Value);
}

HRESULT CairoDevice::SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) {
  return state_.SetSamplerState(Sampler, Type, Value);
}

HRESULT CairoDevice::SetTransform(uint32_t State, const TMatrix44& Matrix) {
  return state_.SetTransform(State, Matrix);
}

HRESULT CairoDevice::SetFVF(uint32_t FVF) {
  if (FVF != DxVertexFVF) return D3DERR_INVALIDCALL;
  fvf_ = FVF;
  return D3D_OK;
}

HRESULT CairoDevice::SetTexture(uint32_t Stage, IGpuTexture* Texture) {
  if (Stage != 0) return D3DERR_INVALIDCALL;
  auto* texture = dynamic_cast<CairoTexture*>(Texture);
  if (Texture && (!texture || !texture->BelongsTo(this))) return D3DERR_INVALIDCALL;
  texture_ = texture;
  return D3D_OK;
}

HRESULT CairoDevice::CreateTexture(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t /*Usage*/,
                                   uint32_t Format, uint32_t /*Pool*/, std::unique_ptr<IGpuTexture>& Texture) {
  Texture.reset();
  if (HRESULT result = CheckTextureRequest(Width, Height, Levels, Format, caps_); result != D3D_OK)
    return result;
  Texture = std::make_unique<CairoTexture>(Width, Height, self_);
  return D3D_OK;
}

HRESULT CairoDevice::CreateVertexBuffer(uint32_t Length, uint32_t Usage, uint32_t FVF, uint32_t Pool,
                                        std::unique_ptr<IGpuVertexBuffer>& Buffer) {
  Buffer.reset();
  if (HRESULT result = CheckVertexBufferRequest(Length, Usage, FVF, Pool); result != D3D_OK) return result;
  Buffer = std::make_unique<MemoryVertexBuffer>(this, Length);
  return D3D_OK;
}

HRESULT CairoDevice::SetStreamSource(uint32_t StreamNumber, IGpuVertexBuffer* Buffer, uint32_t OffsetInBytes,
                                     uint32_t Stride) {
  MemoryVertexBuffer* buffer = OwnMemoryBuffer(this, Buffer);
  if (Buffer && !buffer) return D3DERR_INVALIDCALL;
  if (HRESULT result = Buffer ? CheckStreamSource(StreamNumber, OffsetInBytes, Stride)
                              : (StreamNumber == 0 ? D3D_OK : D3DERR_INVALIDCALL);
      result != D3D_OK)
    return result;
  stream_ = buffer;
  streamOffset_ = OffsetInBytes;
  return D3D_OK;
}

HRESULT CairoDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT CairoDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  Flush();
  return D3D_OK;
}

HRESULT CairoDevice::Clear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags, uint32_t Color, float /*Z*/,
                           uint32_t /*Stencil*/) {
  if (HRESULT result = CheckClear(Count, Rects, Flags); result != D3D_OK) return result;
  // Paper has no depth or stencil to clear.
  if ((Flags & D3DCLEAR_TARGET) == 0) return D3D_OK;
  Flush();
  const double sx = pageWidth_ / width_, sy = pageHeight_ / height_;
  const TPageRect v = ViewportRect();
  cairo_new_path(cairo_);
  if (Count == 0) cairo_rectangle(cairo_, v.X, v.Y, v.Width, v.Height);
  for (uint32_t i = 0; i < Count; ++i)
    cairo_rectangle(cairo_, Rects[i].x1 * sx, Rects[i].y1 * sy, (Rects[i].x2 - Rects[i].x1) * sx,
                    (Rects[i].y2 - Rects[i].y1) * sy);
  SetSourceColor(Color | 0xFF000000u);
  cairo_fill(cairo_);
  return D3D_OK;
}

bool CairoDevice::ToPage(const TDxVertex& In, const TMatrix44& M, TPageVertex& Out) const {
  const double x = In.X, y = In.Y, z = In.Z;
  const auto column = [&](int c) { return x * M.at(0, c) + y * M.at(1, c) + z * M.at(2, c) + M.at(3, c); };
  const double w = column(3);
  if (!(w > 0.0)) return false;
  const TPageRect v = ViewportRect();
  Out.X = v.X + (column(0) / w + 1.0) / 2.0 * v.Width;
  Out.Y = v.Y + (1.0 - column(1) / w) / 2.0 * v.Height;
  if (!std::isfinite(Out.X) || !std::isfinite(Out.Y)) return false;
  const uint32_t tinted = Tinted(In.Color, state_.Tint());
  // Without blending the target keeps no alpha: the colour covers what lies below.
  Out.Color = state_.blend ? tinted : (tinted | 0xFF000000u);
  Out.U = In.U;
  Out.V = In.V;
  return true;
}

bool CairoDevice::Outside(std::span<const TPageVertex* const> Vertices) const {
  const TPageRect r = ClipRect();
  const double margin = lineWidth_;
  double x1 = Vertices[0]->X, x2 = x1, y1 = Vertices[0]->Y, y2 = y1;
  for (const TPageVertex* p : Vertices) {
    x1 = std::min(x1, p->X);
    x2 = std::max(x2, p->X);
    y1 = std::min(y1, p->Y);
    y2 = std::max(y2, p->Y);
  }
  return x2 < r.X - margin || x1 > r.X + r.Width + margin || y2 < r.Y - margin || y1 > r.Y + r.Height + margin;
}

void CairoDevice::AddTriangle(const TPageVertex& A, const TPageVertex& B, const TPageVertex& C) {
  const double cross = (B.X - A.X) * (C.Y - A.Y) - (B.Y - A.Y) * (C.X - A.X);
  if (cross == 0.0) return;
  BeginPending(TPending::Fill, A.Color);
  // All one way round, so that overlapping triangles add up under the winding rule
  // instead of cancelling each other out.
  const TPageVertex& second = cross > 0 ? B : C;
  const TPageVertex& third = cross > 0 ? C : B;
  cairo_move_to(cairo_, A.X, A.Y);
  cairo_line_to(cairo_, second.X, second.Y);
  cairo_line_to(cairo_, third.X, third.Y);
  cairo_close_path(cairo_);
}

void CairoDevice::AddSegment(const TPageVertex& A, const TPageVertex& B) {
  const bool continues = pending_ == TPending::Stroke && pendingColor_ == A.Color && A.X == strokeEnd_[0] &&
                         A.Y == strokeEnd_[1];
  BeginPending(TPending::Stroke, A.Color);
  // A segment going on from the last one joins it, so polylines get their corners.
  if (!continues) cairo_move_to(cairo_, A.X, A.Y);
  cairo_line_to(cairo_, B.X, B.Y);
  strokeEnd_ = {B.X, B.Y};
}

void CairoDevice::AddPoint(const TPageVertex& A) {
  BeginPending(TPending::Fill, A.Color);
  const double h = lineWidth_ / 2;
  cairo_rectangle(cairo_, A.X - h, A.Y - h, lineWidth_, lineWidth_);
}

void CairoDevice::AddTexturedTriangle(const TPageVertex& A, const TPageVertex& B, const TPageVertex& C) {
  // The map from texel space to the page that takes the three texture coordinates to
  // the three corners.
  const double w = texture_->Width(), h = texture_->Height();
  const double e1x = (B.U - A.U) * w, e1y = (B.V - A.V) * h, e2x = (C.U - A.U) * w, e2y = (C.V - A.V) * h;
  const double det = e1x * e2y - e2x * e1y;
  if (std::fabs(det) < 1e-12) return;
  const double f1x = B.X - A.X, f1y = B.Y - A.Y, f2x = C.X - A.X, f2y = C.Y - A.Y;
  cairo_matrix_t map;
  map.xx = (f1x * e2y - f2x * e1y) / det;
  map.xy = (f2x * e1x - f1x * e2x) / det;
  map.yx = (f1y * e2y - f2y * e1y) / det;
  map.yy = (f2y * e1x - f1y * e2x) / det;
  map.x0 = A.X - map.xx * A.U * w - map.xy * A.V * h;
  map.y0 = A.Y - map.yx * A.U * w - map.yy * A.V * h;
  if (!texturedRun_.empty() && (!SameMap(map, texturedMap_) || A.Color != texturedColor_)) FlushTextured();
  if (texturedRun_.empty()) {
    Flush();
    texturedMap_ = map;
    texturedColor_ = A.Color;
  }
  texturedRun_.insert(texturedRun_.end(), {A, B, C});
}

void CairoDevice::FlushTextured() {
  if (texturedRun_.empty()) return;
  const TTextureLook look{state_.colorOp, state_.colorArg1, state_.colorArg2, texturedColor_ | 0xFF000000u,
                          state_.blend};
  cairo_surface_t* image = texture_ ? texture_->Image(look) : nullptr;
  cairo_matrix_t toTexture = texturedMap_;
  if (image != nullptr && cairo_matrix_invert(&toTexture) == CAIRO_STATUS_SUCCESS) {
    cairo_save(cairo_);
    cairo_new_path(cairo_);
    for (size_t i = 0; i + 2 < texturedRun_.size(); i += 3) {
      cairo_move_to(cairo_, texturedRun_[i].X, texturedRun_[i].Y);
      cairo_line_to(cairo_, texturedRun_[i + 1].X, texturedRun_[i + 1].Y);
      cairo_line_to(cairo_, texturedRun_[i + 2].X, texturedRun_[i + 2].Y);
      cairo_close_path(cairo_);
    }
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cairo_);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_pattern_set_matrix(pattern, &toTexture);
    cairo_pattern_set_extend(pattern, ExtendOf(state_.addressU, state_.addressV));
    const bool point = state_.magFilter == D3DTEXF_POINT && state_.minFilter == D3DTEXF_POINT;
    cairo_pattern_set_filter(pattern, point ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_set_source(cairo_, pattern);
    cairo_paint(cairo_);
    cairo_pattern_destroy(pattern);
    cairo_restore(cairo_);
  }
  texturedRun_.clear();
}

HRESULT CairoDevice::DrawPrimitiveUP(uint32_t PrimitiveType, uint32_t PrimitiveCount, const void* VertexData,
                                     uint32_t VertexStride) {
  if (HRESULT result = CheckDraw(fvf_, PrimitiveType, PrimitiveCount, VertexData, VertexStride);
      result != D3D_OK)
    return result;
  DrawVertices(PrimitiveType, PrimitiveCount, static_cast<const TDxVertex*>(VertexData));
  return D3D_OK;
}

HRESULT CairoDevice::DrawPrimitive(uint32_t PrimitiveType, uint32_t StartVertex, uint32_t PrimitiveCount) {
  if (stream_ == nullptr) return D3DERR_INVALIDCALL;
  if (HRESULT result = CheckStreamDraw(fvf_, PrimitiveType, StartVertex, PrimitiveCount, streamOffset_,
                                       stream_->Length(), stream_->Locked());
      result != D3D_OK)
    return result;
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  DrawVertices(PrimitiveType, PrimitiveCount,
               stream_->VerticesAt(streamOffset_ + uint64_t{StartVertex} * sizeof(TDxVertex), count).data());
  return D3D_OK;
}

void CairoDevice::DrawVertices(uint32_t PrimitiveType, uint32_t PrimitiveCount, const TDxVertex* In) {
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  const TMatrix44 m = MatrixMultiply(MatrixMultiply(state_.world, state_.view), state_.projection);
  std::vector<TPageVertex> page(count);
  std::vector<bool> valid(count);
  for (uint64_t i = 0; i < count; ++i) valid[i] = ToPage(In[i], m, page[i]);

  const bool textured = texture_ != nullptr && state_.colorOp != D3DTOP_DISABLE;
  const auto triangle = [&](uint64_t a, uint64_t b, uint64_t c) {
    if (!valid[a] || !valid[b] || !valid[c]) return;
    const TPageVertex* corners[] = {&page[a], &page[b], &page[c]};
    if (Outside(corners)) return;
    if (textured)
      AddTexturedTriangle(page[a], page[b], page[c]);
    else
      AddTriangle(page[a], page[b], page[c]);
  };
  const auto segment = [&](uint64_t a, uint64_t b) {
    if (!valid[a] || !valid[b]) return;
    const TPageVertex* ends[] = {&page[a], &page[b]};
    if (!Outside(ends)) AddSegment(page[a], page[b]);
  };
  for (uint64_t i = 0; i < PrimitiveCount; ++i) {
    switch (PrimitiveType) {
      case D3DPT_POINTLIST: {
        const TPageVertex* at[] = {&page[i]};
        if (valid[i] && !Outside(at)) AddPoint(page[i]);
        break;
      }
      case D3DPT_LINELIST:
        segment(2 * i, 2 * i + 1);
        break;
      case D3DPT_LINESTRIP:
        segment(i, i + 1);
        break;
      case D3DPT_TRIANGLELIST:
        triangle(3 * i, 3 * i + 1, 3 * i + 2);
        break;
      case D3DPT_TRIANGLESTRIP:
        triangle(i, i + 1, i + 2);
        break;
      default:
        triangle(0, i + 1, i + 2);
        break;
    }
  }
  // The run reads the texture stage as it is now; a later state change must not recolour it.
  FlushTextured();
}

HRESULT CairoDevice::Present() {
  Flush();
  return D3D_OK;
}

}  // namespace vellmar
