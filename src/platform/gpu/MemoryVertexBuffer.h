#pragma once
// A vertex buffer kept in main memory, for the devices that draw on the processor (the
// recording and Cairo devices): a lock hands out the bytes themselves. The bytes start
// zeroed and untouched, so a large buffer costs memory only where it has been written.
// The buffer knows the device that made it only to let that device refuse the others'.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "platform/gpu/DxVertex.h"
#include "platform/gpu/GpuDevice.h"

namespace vellmar {

class MemoryVertexBuffer : public IGpuVertexBuffer {
 public:
  MemoryVertexBuffer(const IGpuDevice* Owner, uint32_t Length);

  HRESULT Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t Flags) override;
  HRESULT Unlock() override;

  const IGpuDevice* Owner() const { return owner_; }
  uint32_t Length() const { return length_; }
  bool Locked() const { return locked_; }
  // The vertices a draw reads: Count of them from the byte offset on; the caller has
  // checked the range (CheckStreamDraw).
  std::span<const TDxVertex> VerticesAt(uint64_t ByteOffset, uint64_t Count) const;

 protected:
  // The range of the current lock, valid between Lock and Unlock.
  uint32_t LockOffset() const { return lockOffset_; }
  uint32_t LockSize() const { return lockSize_; }

 private:
  struct TFree {
    void operator()(std::byte* Bytes) const { std::free(Bytes); }
  };

  const IGpuDevice* owner_;
  uint32_t length_;
  std::unique_ptr<std::byte, TFree> bytes_;
  bool locked_ = false;
  uint32_t lockOffset_ = 0;
  uint32_t lockSize_ = 0;
};

// Ready for use with Device when it is a MemoryVertexBuffer made there; nullptr
// otherwise. A null Buffer gives nullptr as well.
MemoryVertexBuffer* OwnMemoryBuffer(const IGpuDevice* Device, IGpuVertexBuffer* Buffer);

}  // namespace vellmar
