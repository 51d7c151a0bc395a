#include "platform/gpu/recording/RecordingDevice.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "platform/gpu/DeviceRules.h"

namespace vellmar {

namespace {

// "Name(a, b, c)" with the arguments in decimal; no locale is involved.
std::string CallText(const char* Name, std::initializer_list<int64_t> Args) {
  std::string text = Name;
  text += '(';
  bool first = true;
  for (int64_t arg : Args) {
    if (!first) text += ", ";
    first = false;
    text += std::to_string(arg);
  }
  text += ')';
  return text;
}

std::string FloatText(float Value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, Value);
  return std::string(buffer, ec == std::errc{} ? end : buffer);
}

}  // namespace

RecordingTexture::RecordingTexture(uint32_t Width, uint32_t Height, std::weak_ptr<std::vector<TGpuCall>> Log)
    : width_(Width), height_(Height), pixels_(size_t{Width} * Height), log_(std::move(Log)) {}

void RecordingTexture::Record(std::string Text, HRESULT Result) {
  if (auto log = log_.lock()) {
    TGpuCall& call = log->emplace_back();
    call.Text = std::move(Text);
    call.Texture = this;
    call.Result = Result;
  }
}

HRESULT RecordingTexture::LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t Flags) {
  const HRESULT result = Level != 0 || locked_ ? D3DERR_INVALIDCALL : D3D_OK;
  if (result == D3D_OK) {
    locked_ = true;
    Locked.Pitch = static_cast<int32_t>(width_ * 4);
    Locked.pBits = pixels_.data();
  }
  Record(CallText("LockRect", {Level, Flags}), result);
  return result;
}

HRESULT RecordingTexture::UnlockRect(uint32_t Level) {
  const HRESULT result = Level != 0 || !locked_ ? D3DERR_INVALIDCALL : D3D_OK;
  if (result == D3D_OK) locked_ = false;
  Record(CallText("UnlockRect", {Level}), result);
  return result;
}

RecordingVertexBuffer::RecordingVertexBuffer(RecordingDevice* Device, uint32_t Length)
    : MemoryVertexBuffer(Device, Length), device_(Device) {}

RecordingVertexBuffer::~RecordingVertexBuffer() {
  if (!device_) return;
  if (device_->stream_ == this) device_->stream_ = nullptr;
  std::erase(device_->buffers_, this);
}

HRESULT RecordingVertexBuffer::Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t Flags) {
  const HRESULT result = MemoryVertexBuffer::Lock(OffsetToLock, SizeToLock, Data, Flags);
  if (device_) device_->Record(CallText("Lock", {OffsetToLock, SizeToLock, Flags}), result);
  return result;
}

HRESULT RecordingVertexBuffer::Unlock() {
  const bool locked = Locked();
  const HRESULT result = MemoryVertexBuffer::Unlock();
  if (device_) {
    if (locked) device_->uploadedBytes_ += LockSize();
    device_->Record("Unlock()", result);
  }
  return result;
}

RecordingDevice::RecordingDevice(uint32_t BackBufferWidth, uint32_t BackBufferHeight)
    : width_(BackBufferWidth), height_(BackBufferHeight) {
  viewport_.Width = BackBufferWidth;
  viewport_.Height = BackBufferHeight;
  caps_.MaxTextureWidth = MaxTextureSide;
  caps_.MaxTextureHeight = MaxTextureSide;
  caps_.MaxAnisotropy = 16;
}

RecordingDevice::~RecordingDevice() {
  for (RecordingVertexBuffer* buffer : buffers_) buffer->device_ = nullptr;
}

std::vector<std::string> RecordingDevice::CallTexts() const {
  std::vector<std::string> texts;
  texts.reserve(log_->size());
  for (const TGpuCall& call : *log_) texts.push_back(call.Text);
  return texts;
}

TGpuCall& RecordingDevice::Record(std::string Text, HRESULT Result) {
  if (!recording_) return discarded_;
  TGpuCall& call = log_->emplace_back();
  call.Text = std::move(Text);
  call.Result = Result;
  return call;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9& Caps) {
  Caps = caps_;
  Record("GetDeviceCaps()", D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9& Viewport) {
  Viewport = viewport_;
  Record("GetViewport()", D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9& Viewport) {
  const HRESULT result = CheckViewport(Viewport, width_, height_);
  if (result == D3D_OK) viewport_ = Viewport;
  Record(CallText("SetViewport", {Viewport.X, Viewport.Y, Viewport.Width, Viewport.Height}), result);
  return result;
}

HRESULT RecordingDevice::SetRenderState(uint32_t State, uint32_t Value) {
  Record(CallText("SetRenderState", {State, Value}), D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::SetTextureStageState(uint32_t Stage, uint32_t Type, uint32_t Value) {
  Record(CallText("SetTextureStageState", {Stage, Type, Value}), D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::SetSamplerState(uint32_t Sampler, uint32_t Type, uint32_t Value) {
  Record(CallText("SetSamplerState", {Sampler, Type, Value}), D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::SetTransform(uint32_t State, const TMatrix44& Matrix) {
  Record(CallText("SetTransform", {State}), D3D_OK).Matrix = Matrix;
  return D3D_OK;
}

HRESULT RecordingDevice::SetFVF(uint32_t FVF) {
  fvf_ = FVF;
  Record(CallText("SetFVF", {FVF}), D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(uint32_t Stage, IGpuTexture* Texture) {
  const HRESULT result = Stage != 0 ? D3DERR_INVALIDCALL : D3D_OK;
  // The texture shows as "texture" or "null"; the pointer itself is kept in the record.
  std::string text = CallText("SetTexture", {Stage});
  text.insert(text.size() - 1, Texture ? ", texture" : ", null");
  Record(std::move(text), result).Texture = Texture;
  return result;
}

HRESULT RecordingDevice::CreateTexture(uint32_t Width, uint32_t Height, uint32_t Levels, uint32_t Usage,
                                       uint32_t Format, uint32_t Pool,
                                       std::unique_ptr<IGpuTexture>& Texture) {
  const HRESULT result =
      textureCreationFails_ ? E_OUTOFMEMORY : CheckTextureRequest(Width, Height, Levels, Format, caps_);
  Texture.reset();
  if (result == D3D_OK) Texture = std::make_unique<RecordingTexture>(Width, Height, log_);
  Record(CallText("CreateTexture", {Width, Height, Levels, Usage, Format, Pool}), result).Texture =
      Texture.get();
  return result;
}

HRESULT RecordingDevice::CreateVertexBuffer(uint32_t Length, uint32_t Usage, uint32_t FVF, uint32_t Pool,
                                            std::unique_ptr<IGpuVertexBuffer>& Buffer) {
  const HRESULT result = CheckVertexBufferRequest(Length, Usage, FVF, Pool);
  Buffer.reset();
  if (result == D3D_OK) {
    auto buffer = std::make_unique<RecordingVertexBuffer>(this, Length);
    buffers_.push_back(buffer.get());
    Buffer = std::move(buffer);
  }
  Record(CallText("CreateVertexBuffer", {Length, Usage, FVF, Pool}), result);
  return result;
}

HRESULT RecordingDevice::SetStreamSource(uint32_t StreamNumber, IGpuVertexBuffer* Buffer, uint32_t OffsetInBytes,
                                         uint32_t Stride) {
  auto* buffer = static_cast<RecordingVertexBuffer*>(OwnMemoryBuffer(this, Buffer));
  HRESULT result = Buffer && !buffer ? D3DERR_INVALIDCALL : D3D_OK;
  if (result == D3D_OK && Buffer) result = CheckStreamSource(StreamNumber, OffsetInBytes, Stride);
  if (result == D3D_OK && !Buffer && StreamNumber != 0) result = D3DERR_INVALIDCALL;
  if (result == D3D_OK) {
    stream_ = buffer;
    streamOffset_ = OffsetInBytes;
  }
  std::string text = CallText("SetStreamSource", {StreamNumber, OffsetInBytes, Stride});
  text.insert(text.find(',') + 1, Buffer ? " buffer," : " null,");
  Record(std::move(text), result);
  return result;
}

HRESULT RecordingDevice::BeginScene() {
  const HRESULT result = inScene_ ? D3DERR_INVALIDCALL : D3D_OK;
  inScene_ = true;
  Record("BeginScene()", result);
  return result;
}

HRESULT RecordingDevice::EndScene() {
  const HRESULT result = inScene_ ? D3D_OK : D3DERR_INVALIDCALL;
  inScene_ = false;
  Record("EndScene()", result);
  return result;
}

HRESULT RecordingDevice::Clear(uint32_t Count, const D3DRECT* Rects, uint32_t Flags, uint32_t Color, float Z,
                               uint32_t Stencil) {
  const HRESULT result = (Count != 0 && Rects == nullptr) ? D3DERR_INVALIDCALL : D3D_OK;
  std::string text = CallText("Clear", {Count, Flags, Color});
  text.insert(text.size() - 1, ", " + FloatText(Z) + ", " + std::to_string(Stencil));
  Record(std::move(text), result);
  return result;
}

HRESULT RecordingDevice::DrawPrimitiveUP(uint32_t PrimitiveType, uint32_t PrimitiveCount,
                                         const void* VertexData, uint32_t VertexStride) {
  const HRESULT result = CheckDraw(fvf_, PrimitiveType, PrimitiveCount, VertexData, VertexStride);
  TGpuCall& call = Record(CallText("DrawPrimitiveUP", {PrimitiveType, PrimitiveCount, VertexStride}), result);
  if (result != D3D_OK) return result;
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  uploadedBytes_ += count * sizeof(TDxVertex);
  RecordDrawn(call, static_cast<const TDxVertex*>(VertexData), count);
  return result;
}

HRESULT RecordingDevice::DrawPrimitive(uint32_t PrimitiveType, uint32_t StartVertex, uint32_t PrimitiveCount) {
  const HRESULT result =
      stream_ == nullptr ? D3DERR_INVALIDCALL
                         : CheckStreamDraw(fvf_, PrimitiveType, StartVertex, PrimitiveCount, streamOffset_,
                                           stream_->Length(), stream_->Locked());
  TGpuCall& call = Record(CallText("DrawPrimitive", {PrimitiveType, StartVertex, PrimitiveCount}), result);
  if (result != D3D_OK) return result;
  const uint64_t count = VertexCountOf(PrimitiveType, PrimitiveCount);
  RecordDrawn(call, stream_->VerticesAt(streamOffset_ + uint64_t{StartVertex} * sizeof(TDxVertex), count).data(),
              count);
  return result;
}

void RecordingDevice::RecordDrawn(TGpuCall& Call, const TDxVertex* Vertices, uint64_t Count) {
  ++drawCalls_;
  drawnVertices_ += Count;
  if (recording_ && recordVertices_) Call.Vertices.assign(Vertices, Vertices + Count);
}

HRESULT RecordingDevice::Present() {
  Record("Present()", D3D_OK);
  return D3D_OK;
}

HRESULT RecordingDevice::Reset(uint32_t BackBufferWidth, uint32_t BackBufferHeight) {
  const HRESULT result =
      BackBufferWidth == 0 || BackBufferHeight == 0 || inScene_ ? D3DERR_INVALIDCALL : D3D_OK;
  if (result == D3D_OK) {
    width_ = BackBufferWidth;
    height_ = BackBufferHeight;
    viewport_ = D3DVIEWPORT9{0, 0, width_, height_, 0.0f, 1.0f};
  }
  Record(CallText("Reset", {BackBufferWidth, BackBufferHeight}), result);
  return result;
}

}  // namespace vellmar
