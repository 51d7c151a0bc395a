#pragma once
// Live heap blocks and bytes of the process, for the main window's caption. The counts
// come from the program's own operator new and delete (every C++ allocation of the
// program and of the libraries it links statically); bytes are what the allocator
// handed out for each block.

#include <cstdint>

namespace vellmar {

struct THeapStatistics {
  int64_t Blocks = 0;
  int64_t Bytes = 0;
};

THeapStatistics HeapStatistics();

}  // namespace vellmar
