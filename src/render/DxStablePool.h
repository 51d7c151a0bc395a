#pragma once
// A growable store whose elements never move: blocks that double in size up to a
// limit, so small jobs allocate little and large ones allocate rarely. Elements
// live until the pool is destroyed. Ownership: the pool owns its elements.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace vellmar {

template <typename T>
class TDxStablePool {
 public:
  template <typename... Args>
  T& Add(Args&&... args) {
    if (Used == BlockSize) {
      BlockSize = Blocks.empty() ? FirstBlock : std::min(BlockSize * 2, LargestBlock);
      Blocks.push_back(std::make_unique<T[]>(BlockSize));
      Used = 0;
    }
    T& item = Blocks.back()[Used++];
    item = T{std::forward<Args>(args)...};
    return item;
  }

 private:
  static constexpr size_t FirstBlock = 16;
  static constexpr size_t LargestBlock = 16384;

  std::vector<std::unique_ptr<T[]>> Blocks;
  size_t BlockSize = 0;
  size_t Used = 0;
};

}  // namespace vellmar
