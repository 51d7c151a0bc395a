#include "shell/window/HeapStatistics.h"

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace vellmar {

namespace {

// Qt and the GL driver allocate from their own threads too.
std::atomic<int64_t> liveBlocks{0};
std::atomic<int64_t> liveBytes{0};

void* Allocate(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
  void* block = alignment <= alignof(std::max_align_t)
                    ? std::malloc(size)
                    : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
  if (!block) return nullptr;
  liveBlocks.fetch_add(1, std::memory_order_relaxed);
  liveBytes.fetch_add(static_cast<int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
  return block;
}

void Release(void* block) noexcept {
  if (!block) return;
  liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  liveBytes.fetch_sub(static_cast<int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
  std::free(block);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  void* block = Allocate(size, alignment);
  if (!block) throw std::bad_alloc();
  return block;
}

}  // namespace

THeapStatistics HeapStatistics() {
  return {liveBlocks.load(std::memory_order_relaxed), liveBytes.load(std::memory_order_relaxed)};
}

}  // namespace vellmar

// The replaceable allocation functions, counting through the helpers above.
void* operator new(std::size_t size) { return vellmar::AllocateOrThrow(size, 0); }
void* operator new[](std::size_t size) { return vellmar::AllocateOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t al) {
  return vellmar::AllocateOrThrow(size, static_cast<std::size_t>(al));
}
void* operator new[](std::size_t size, std::align_val_t al) {
  return vellmar::AllocateOrThrow(size, static_cast<std::size_t>(al));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return vellmar::Allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return vellmar::Allocate(size, 0); }
void operator delete(void* block) noexcept { vellmar::Release(block); }
void operator delete[](void* block) noexcept { vellmar::Release(block); }
void operator delete(void* block, std::size_t) noexcept { vellmar::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { vellmar::Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { vellmar::Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { vellmar::Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { vellmar::Release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { vellmar::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { vellmar::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { vellmar::Release(block); }
