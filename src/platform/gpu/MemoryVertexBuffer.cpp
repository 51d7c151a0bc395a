#include "platform/gpu/MemoryVertexBuffer.h"

#include <new>

#include "platform/gpu/DeviceRules.h"

namespace vellmar {

MemoryVertexBuffer::MemoryVertexBuffer(const IGpuDevice* Owner, uint32_t Length)
    : owner_(Owner), length_(Length), bytes_(static_cast<std::byte*>(std::calloc(Length, 1))) {
  if (!bytes_) throw std::bad_alloc();
}

HRESULT MemoryVertexBuffer::Lock(uint32_t OffsetToLock, uint32_t SizeToLock, void** Data, uint32_t /*Flags*/) {
  const uint32_t size = LockedSize(OffsetToLock, SizeToLock, length_);
  if (Data == nullptr || locked_ || size == 0) return D3DERR_INVALIDCALL;
  locked_ = true;
  lockOffset_ = OffsetToLock;
  lockSize_ = size;
  *Data = bytes_.get() + OffsetToLock;
  return D3D_OK;
}

HRESULT MemoryVertexBuffer::Unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  return D3D_OK;
}

std::span<const TDxVertex> MemoryVertexBuffer::VerticesAt(uint64_t ByteOffset, uint64_t Count) const {
  return {reinterpret_cast<const TDxVertex*>(bytes_.get() + ByteOffset), static_cast<size_t>(Count)};
}

MemoryVertexBuffer* OwnMemoryBuffer(const IGpuDevice* Device, IGpuVertexBuffer* Buffer) {
  auto* buffer = dynamic_cast<MemoryVertexBuffer*>(Buffer);
  return buffer != nullptr && buffer->Owner() == Device ? buffer : nullptr;
}

}  // namespace vellmar
