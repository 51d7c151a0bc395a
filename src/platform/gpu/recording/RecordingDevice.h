#pragma once
// A device that draws nothing and records every call with its arguments, so tests can
// check the exact call sequence the renderer issues, and benchmarks can run the
// renderer without a GPU. It validates arguments as GlDevice does. Textures and vertex
// buffers it creates keep their contents in memory and may outlive the device (they
// stop recording then). Every vertex byte handed over is counted as uploaded.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/GpuDevice.h"
#include "platform/gpu/MemoryVertexBuffer.h"

namespace vellmar {

struct TGpuCall {
  std::string Text;                      // e.g. "SetRenderState(22, 1)", integers in decimal
  std::vector<TDxVertex> Vertices;       // DrawPrimitiveUP and DrawPrimitive, when vertex recording is on
  TMatrix44 Matrix;                      // SetTransform
  const IGpuTexture* Texture = nullptr;  // SetTexture, CreateTexture
  HRESULT Result = D3D_OK;
};

class RecordingTexture final : public IGpuTexture {
 public:
  RecordingTexture(uint32_t Width, uint32_t Height, std::weak_ptr<std::vector<TGpuCall>> Log);
  HRESULT LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t Flags) override;
  HRESULT UnlockRect(uint32_t Level) override;

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  // A8R8G8B8 texels, row 0 first.
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

 private:
  void Record(std::string Text, HRESULT Result);

  uint32_t width_;
  uint32_t height_;
  std::vector<uint32_t> pixels_;
  bool locked_ = false;
  std::weak_ptr<std::vector<TGpuCall>> log_;
};

class RecordingDevice;

class RecordingVertexBuffer final : public MemoryVertexBuffer {
 public:
  RecordingVertexBuffer(RecordingDevice* Device, uint32_t Length);
  ~RecordingVertexBuffer() override;
  RecordingVertexBuffer(const RecordingVertexBuffer&) = delete;
  RecordingVertexBuffer& operator=(const RecordingVertexBuffer&) = delete;
  HRESULT Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t Flags) override;
  HRESULT Unlock() override;

 private:
  friend class RecordingDevice;
  RecordingDevice* device_;  // nullptr once the device is gone
};

class RecordingDevice final : public IGpuDevice {
 public:
  RecordingDevice(uint32_t BackBufferWidth, uint32_t BackBufferHeight);
  ~RecordingDevice() override;
  RecordingDevice(const RecordingDevice&) = delete;
  RecordingDevice& operator=(const RecordingDevice&) = delete;

  // Benchmarks switch this off so that recording costs no vertex copies.
  void SetRecordVertices(bool On) { recordVertices_ = On; }
  // With recording off nothing is appended to Calls(); the counters still run.
  void SetRecording(bool On) { recording_ = On; }

  const std::vector<TGpuCall>& Calls() const { return *log_; }
  std::vector<std::string> CallTexts() const;
  void ClearCalls() { log_->clear(); }
  uint64_t DrawCallCount() const { return drawCalls_; }
  uint64_t DrawnVertexCount() const { return drawnVertices_; }
  // Vertex bytes handed to the device: those written into vertex buffers (the locked
  // ranges, counted at Unlock) and those every DrawPrimitiveUP passes.
  uint64_t UploadedVertexBytes() const { return uploadedBytes_; }
  // The caps reported by GetDeviceCaps; tests may change them.
  D3DCAPS9& Caps() { return caps_; }
  // Every CreateTexture fails while on, as a device out of memory would.
  void SetTextureCreationFails(bool On) { textureCreationFails_ = On; }

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
  HRESULT Reset(uint32_t BackBufferWidth, uint32_t BackBufferHeight) override;

 private:
  friend class RecordingVertexBuffer;
  TGpuCall& Record(std::string Text, HRESULT Result);
  // Counts a draw of Count vertices and keeps them in the call when asked to.
  void RecordDrawn(TGpuCall& Call, const TDxVertex* Vertices, uint64_t Count);

  uint32_t width_;
  uint32_t height_;
  D3DVIEWPORT9 viewport_;
  D3DCAPS9 caps_;
  uint32_t fvf_ = 0;
  bool inScene_ = false;
  bool recordVertices_ = true;
  bool recording_ = true;
  bool textureCreationFails_ = false;
  uint64_t drawCalls_ = 0;
  uint64_t drawnVertices_ = 0;
  uint64_t uploadedBytes_ = 0;
  RecordingVertexBuffer* stream_ = nullptr;
  uint32_t streamOffset_ = 0;
  std::vector<RecordingVertexBuffer*> buffers_;
  TGpuCall discarded_;  // target of Record() while recording is off
  std::shared_ptr<std::vector<TGpuCall>> log_ = std::make_shared<std::vector<TGpuCall>>();
};

}  // namespace vellmar
