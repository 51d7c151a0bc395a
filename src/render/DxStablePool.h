#pragma once
// A growable store whose elements never move: blocks that double in size up to a
// limit, so small jobs allocate little and large ones allocate rarely. Memory is
// touched only as elements are added. `Rewind` starts over without giving memory
// back, so a store used job after job stops allocating. Ownership: the pool owns its
// elements, which live until the pool is destroyed.

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
      std::destroy_n(Blocks[b].Items, Blocks[b].Constructed);
      std::allocator<T>().deallocate(Blocks[b].Items, Blocks[b].Size);
    }
  }

  // The next element: value-initialised when it is new, as the previous job left it
  // after a `Rewind` (so that it keeps the memory it holds); callers set what they read.
  T& Take() {
    if (Blocks.empty() || (Current + 1 == Blocks.size() && Used == Blocks[Current].Size)) {
      const size_t size = Blocks.empty() ? FirstBlock : std::min(Blocks.back().Size * 2, LargestBlock);
      Blocks.reserve(Blocks.size() + 1);
      Blocks.push_back(TBlock{std::allocator<T>().allocate(size), size, 0});
      Current = Blocks.size() - 1;
      Used = 0;
    } else if (Used == Blocks[Current].Size) {
      ++Current;
      Used = 0;
    }
    TBlock& block = Blocks[Current];
    T* item = block.Items + Used;
    if (Used == block.Constructed) {
      ::new (static_cast<void*>(item)) T{};
      ++block.Constructed;
    }
    ++Used;
    return *item;
  }

  template <typename... Args>
  T& Add(Args&&... args) {
    T& item = Take();
    item = T{std::forward<Args>(args)...};
    return item;
  }

  void Rewind() {
    Current = 0;
    Used = 0;
  }

 private:
  static constexpr size_t FirstBlock = 16;
  static constexpr size_t LargestBlock = 16384;

  struct TBlock {
    T* Items;
    size_t Size;
    size_t Constructed;  // elements built so far; they stay built across Rewind
  };
  std::vector<TBlock> Blocks;
  size_t Current = 0;  // block that the next element comes from
  size_t Used = 0;     // elements taken from it in this job
};

}  // namespace vellmar
