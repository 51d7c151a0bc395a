#include "render/DxRenderer.h"

#include <algorithm>
#include <cmath>

#include "geometry/Matrix.h"
#include "geometry/Vector.h"
#include "platform/Error.h"
#include "render/DeviceVertexBuffers.h"
#include "render/LineGeometry.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

D3DCAPS9& SharedCaps() {
  static D3DCAPS9 caps;
  return caps;
}

float ToFloat(double Value) {
  return static_cast<float>(Value);
}

}  // namespace

TdxRenderer::TdxRenderer(int32_t Width, int32_t Height, const TDeviceFactory& CreateDevice,
                         const TErrorReporter& ReportError)
    : width_(Width), height_(Height) {
  HRESULT result = CreateDevice(device_);
  if (result == D3D_OK && !device_) result = D3DERR_NOTAVAILABLE;
  if (result != D3D_OK) {
    device_.reset();
    if (ReportError) ReportError("dx9_dev create failed: " + std::to_string(result));
  }
  if (device_) {
    device_->GetDeviceCaps(caps_);
    SharedCaps() = caps_;
  }
  ITransformTarget* target = device_ ? this : nullptr;
  world_ = std::make_unique<TMatrixShell>(target, static_cast<int32_t>(D3DTS_WORLD));
  view_ = std::make_unique<TMatrixShell>(target, static_cast<int32_t>(D3DTS_VIEW));
  projection_ = std::make_unique<TMatrixShell>(target, static_cast<int32_t>(D3DTS_PROJECTION));
  // Without a device the conversions still work on the panel's size.
  viewport_.Width = static_cast<uint32_t>(std::max(Width, 0));
  viewport_.Height = static_cast<uint32_t>(std::max(Height, 0));
  if (device_) device_->GetViewport(viewport_);
}

TdxRenderer::~TdxRenderer() {
  // Texture surfaces and collections outlive renderers; they must not keep textures or
  // vertex buffers of a dead device.
  if (device_) {
    TTextureSurface::ForgetDeviceEverywhere(device_.get());
    TDeviceVertexBuffers::ForgetDeviceEverywhere(device_.get());
  }
}

bool TdxRenderer::Resize(int32_t Width, int32_t Height) {
  if (!device_ || Width <= 0 || Height <= 0) return false;
  if (device_->Reset(static_cast<uint32_t>(Width), static_cast<uint32_t>(Height)) != D3D_OK) return false;
  width_ = Width;
  height_ = Height;
  device_->GetViewport(viewport_);
  return true;
}

const D3DCAPS9& TdxRenderer::ProcessCaps() {
  return SharedCaps();
}

void TdxRenderer::CheckResult(HRESULT Result, const char* Operation, const char* Call) {
  if (Result != D3D_OK)
    throw EVellmarError(std::string(Operation) + ": " + Call + " failed (" + std::to_string(Result) + ")");
}

void TdxRenderer::SetTransform(uint32_t TransformState, const TMatrix44& Matrix) {
  if (device_) device_->SetTransform(TransformState, Matrix);
}

void TdxRenderer::BeginFrame() {
  frameArrays_.clear();
  if (!device_) return;
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1);
  device_->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFFu);
  device_->SetRenderState(D3DRS_ZENABLE, 0);
  device_->SetFVF(DxVertexFVF);
}

void TdxRenderer::EndFrame() {}

void TdxRenderer::ClearTarget(uint32_t Color, bool Target, bool Stencil, bool ZBuffer) {
  const uint32_t flags =
      (Target ? D3DCLEAR_TARGET : 0) | (ZBuffer ? D3DCLEAR_ZBUFFER : 0) | (Stencil ? D3DCLEAR_STENCIL : 0);
  // Nothing asked for is nothing to do; the device would refuse an empty clear.
  if (!device_ || flags == 0) return;
  CheckResult(device_->Clear(0, nullptr, flags, Color, 1.0f, 0), "TdxRenderer.ClearTarget", "Clear");
}

void TdxRenderer::PresentFrame() {
  if (device_) device_->Present();
}

void TdxRenderer::SetAmbientColor(uint32_t Color) {
  if (device_) device_->SetRenderState(D3DRS_AMBIENT, Color);
}

void TdxRenderer::BindTexture(IGpuTexture* Texture) {
  if (!device_) return;
  device_->SetTexture(0, Texture);
  if (!Texture) device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
}

void TdxRenderer::ResetMatrices() {
  world_->LoadIdentity();
  view_->LoadIdentity();
  projection_->LoadIdentity();
}

void TdxRenderer::PushMatrices() {
  world_->PushMatrix();
  view_->PushMatrix();
  projection_->PushMatrix();
}

void TdxRenderer::PopMatrices() {
  world_->PopMatrix();
  view_->PopMatrix();
  projection_->PopMatrix();
}

TXYZ TdxRenderer::WorldToScreen(const TXYZ& P) const {
  const TXYZ ndc = projection_->TransformPoint(view_->TransformPoint(world_->TransformPoint(P)));
  const double vx = viewport_.X, vy = viewport_.Y, vw = viewport_.Width, vh = viewport_.Height;
  return MakeXYZ(std::nearbyint((vw * ndc.x + vw) / 2 + vx), std::nearbyint((vh - vh * ndc.y) / 2 + vy),
                 ndc.z);
}

TXYZ TdxRenderer::Unproject(const TXYZ& Ndc) const {
  return world_->InverseTransformPoint(view_->InverseTransformPoint(projection_->InverseTransformPoint(Ndc)));
}

TXYZ TdxRenderer::ScreenToWorld(double Px, double Py) const {
  const double x = (Px - viewport_.X) / viewport_.Width * 2 - 1;
  const double y = 1 - (Py - viewport_.Y) / viewport_.Height * 2;
  const TXYZ p0 = Unproject(MakeXYZ(x, y, 0));
  const TXYZ p1 = Unproject(MakeXYZ(x, y, 1));
  const double dz = double{p0.z} - p1.z;
  if (std::fabs(dz) <= 0.001) return p0;
  // Where the line of sight through the pixel meets the plan (z = 0).
  return MakeXYZ(p1.x + (double{p0.x} - p1.x) / dz * (0.0 - p1.z),
                 p1.y + (double{p0.y} - p1.y) / dz * (0.0 - p1.z), 0.0);
}

double TdxRenderer::PixelSize() const {
  const TXYZ a = ScreenToWorld(width_ / 2, height_);
  const TXYZ b = ScreenToWorld(width_ / 2 + 1, height_ + 1);
  return DistanceXYZ(a, b) * 0.707;
}

void TdxRenderer::UpdateViewPlane() {
  viewPlane_ = PlaneThrough(Unproject(MakeXYZ(0, 0, 0)), Unproject(MakeXYZ(0, 0, 1)));
}

std::span<TDxVertex> TdxRenderer::AllocFrameVertices(size_t Count) {
  frameArrays_.push_back(std::make_unique<TDxVertex[]>(Count));
  return {frameArrays_.back().get(), Count};
}

void TdxRenderer::Draw(uint32_t Type, uint32_t PrimitiveCount, std::span<const TDxVertex> Vertices) {
  device_->SetFVF(DxVertexFVF);
  device_->DrawPrimitiveUP(Type, PrimitiveCount, Vertices.data(), sizeof(TDxVertex));
}

std::span<TDxVertex> TdxRenderer::CopyPoints(const TXYZArray& Points, uint32_t Color) {
  std::span<TDxVertex> vertices = AllocFrameVertices(Points.size());
  for (size_t i = 0; i < Points.size(); ++i) {
    vertices[i].X = Points[i].x;
    vertices[i].Y = Points[i].y;
    vertices[i].Z = Points[i].z;
    vertices[i].Color = Color;
  }
  return vertices;
}

void TdxRenderer::DrawPoints(const TXYZArray& Points, uint32_t Color) {
  if (!device_ || Points.empty()) return;
  Draw(D3DPT_POINTLIST, static_cast<uint32_t>(Points.size()), CopyPoints(Points, Color));
}

void TdxRenderer::DrawPolyline(const TXYZArray& Points, uint32_t Color) {
  if (!device_ || Points.size() < 2) return;
  Draw(D3DPT_LINESTRIP, static_cast<uint32_t>(Points.size() - 1), CopyPoints(Points, Color));
}

void TdxRenderer::DrawSegments(const TXYZArray& Points, uint32_t Color) {
  if (!device_ || Points.size() < 2) return;
  Draw(D3DPT_LINELIST, static_cast<uint32_t>(Points.size() / 2), CopyPoints(Points, Color));
}

void TdxRenderer::DrawTriangles(const TXYZArray& Points, uint32_t Color) {
  if (!device_ || Points.size() < 3) return;
  Draw(D3DPT_TRIANGLELIST, static_cast<uint32_t>(Points.size() / 3), CopyPoints(Points, Color));
}

double TdxRenderer::TextureUFactor(double Total, bool WholePeriods, double Period) {
  if (Total == 0) Total = 1;
  if (Period == 0) Period = 1;
  if (!WholePeriods) return 1 / Period;
  const double repeats = std::max(std::nearbyint(Total / Period), 1.0);
  return repeats / Total;
}

void TdxRenderer::DrawTexturedPolyline(const TXYZArray& Points, bool WholePeriods, uint32_t Color,
                                       double Period, double V) {
  if (!device_ || Points.size() < 2) return;
  const std::vector<double> lengths = PolylineLengths(Points, 0, Points.size() - 1);
  const double k = TextureUFactor(lengths.back(), WholePeriods, Period);
  std::span<TDxVertex> vertices = CopyPoints(Points, Color);
  for (size_t i = 0; i < vertices.size(); ++i) {
    vertices[i].U = ToFloat(lengths[i] * k);
    vertices[i].V = ToFloat(V);
  }
  Draw(D3DPT_LINESTRIP, static_cast<uint32_t>(Points.size() - 1), vertices);
}

void TdxRenderer::FillRibbon(std::span<TDxVertex> Out, const TXYZArray& Points, uint32_t Color,
                             double OffsetA, double VA, double OffsetB, double VB,
                             const std::vector<double>* U) {
  const size_t last = Points.size() - 1;
  for (size_t i = 0; i <= last; ++i) {
    const TXYZ& p = Points[i];
    const TXYZ n = OffsetDirection(Points, 0, last, i);
    TDxVertex& a = Out[2 * i];
    TDxVertex& b = Out[2 * i + 1];
    a.X = ToFloat(p.x + double{n.x} * OffsetA);
    a.Y = ToFloat(p.y + double{n.y} * OffsetA);
    b.X = ToFloat(p.x + double{n.x} * OffsetB);
    b.Y = ToFloat(p.y + double{n.y} * OffsetB);
    a.Z = b.Z = p.z;
    a.Color = b.Color = Color;
    if (U) {
      a.U = b.U = ToFloat((*U)[i]);
      a.V = ToFloat(VA);
      b.V = ToFloat(VB);
    }
  }
}

void TdxRenderer::DrawRibbon(const TXYZArray& Points, uint32_t Color, double OffsetA, double OffsetB) {
  if (!device_ || Points.size() < 2) return;
  std::span<TDxVertex> vertices = AllocFrameVertices(2 * Points.size());
  FillRibbon(vertices, Points, Color, OffsetA, 0, OffsetB, 0, nullptr);
  Draw(D3DPT_TRIANGLESTRIP, static_cast<uint32_t>(2 * Points.size() - 2), vertices);
}

void TdxRenderer::DrawTexturedRibbon(const TXYZArray& Points, bool WholePeriods, uint32_t Color,
                                     double Period, double OffsetA, double VA, double OffsetB, double VB) {
  if (!device_ || Points.size() < 2) return;
  std::vector<double> u = PolylineLengths(Points, 0, Points.size() - 1);
  const double k = TextureUFactor(u.back(), WholePeriods, Period);
  for (double& value : u) value *= k;
  std::span<TDxVertex> vertices = AllocFrameVertices(2 * Points.size());
  FillRibbon(vertices, Points, Color, OffsetA, VA, OffsetB, VB, &u);
  Draw(D3DPT_TRIANGLESTRIP, static_cast<uint32_t>(2 * Points.size() - 2), vertices);
}

void TdxRenderer::DrawVertexLines(std::span<const TDxVertex> Vertices) {
  if (!device_ || Vertices.size() < 2) return;
  Draw(D3DPT_LINELIST, static_cast<uint32_t>(Vertices.size() / 2), Vertices);
}

void TdxRenderer::DrawVertexFan(std::span<const TDxVertex> Vertices) {
  if (!device_ || Vertices.size() < 3) return;
  Draw(D3DPT_TRIANGLEFAN, static_cast<uint32_t>(Vertices.size() - 2), Vertices);
}

void TdxRenderer::DrawVertexTriangles(std::span<const TDxVertex> Vertices) {
  if (!device_ || Vertices.size() < 3) return;
  Draw(D3DPT_TRIANGLELIST, static_cast<uint32_t>(Vertices.size() / 3), Vertices);
}

void TdxRenderer::DrawVertexStrip(std::span<const TDxVertex> Vertices) {
  if (!device_ || Vertices.size() < 3) return;
  Draw(D3DPT_TRIANGLESTRIP, static_cast<uint32_t>(Vertices.size() - 2), Vertices);
}

void TdxRenderer::DrawVertexArray(uint32_t Type, uint32_t Count, uint32_t Stride, const void* Vertices) {
  if (!device_ || Count == 0) return;
  device_->SetFVF(DxVertexFVF);
  device_->DrawPrimitiveUP(Type, Count, Vertices, Stride);
}

void TdxRenderer::BindVertexBuffer(IGpuVertexBuffer* Buffer) {
  if (!device_) return;
  if (Buffer) device_->SetFVF(DxVertexFVF);
  device_->SetStreamSource(0, Buffer, 0, Buffer ? sizeof(TDxVertex) : 0);
}

void TdxRenderer::DrawBufferedPrimitives(uint32_t Type, uint32_t StartVertex, uint32_t Count) {
  if (!device_ || Count == 0) return;
  device_->DrawPrimitive(Type, StartVertex, Count);
}

}  // namespace vellmar
