#pragma once
// A growable store whose elements never move: blocks that double in size up to a
// limit, so small jobs allocate little and large ones allocate rarely. Memory is
// touched only as elements are added. Ownership: the pool owns its elements, which
// live until the pool is destroyed.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace vellmar {

template <typename T>
class TDxStablePool {
 public:
  TDxStablePool() = default;
  TDxStablePool(const TDxStablePool&) = delete;
  TDxStablePool& operator=(const TDxStablePool&) = delete;
  ~TDxStablePool() {
    for (size_t b = 0; b < Blocks.size(); ++b) {
      const size_t count = b + 1 == Blocks.size() ? Used : Blocks[b].Size;
      std::destroy_n(Blocks[b].Items, count);
      std::allocator<T>().deallocate(Blocks[b].Items, Blocks[b].Size);
    }
  }

  template <typename... Args>
  T& Add(Args&&... args) {
    if (Blocks.empty() || Used == Blocks.back().Size) {
      const size_t size = Blocks.empty() ? FirstBlock : std::min(Blocks.back().Size * 2, LargestBlock);
      Blocks.reserve(Blocks.size() + 1);
      Blocks.push_back(TBlock{std::allocator<T>().allocate(size), size});
      Used = 0;
    }
    T* item = ::new (static_cast<void*>(Blocks.back().Items + Used)) T{std::forward<Args>(args)...};
    ++Used;
    return *item;
  }

 private:
  static constexpr size_t FirstBlock = 16;
  static constexpr size_t LargestBlock = 16384;

  struct TBlock {
    T* Items;
    size_t Size;
  };
  std::vector<TBlock> Blocks;
  size_t Used = 0;  // constructed elements in the last block
};

}  // namespace vellmar
