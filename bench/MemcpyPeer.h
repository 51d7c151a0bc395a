#pragma once
// The peer of the benchmarks that hand vertices over: the best of five plain copies of
// the same number of bytes, timed in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <vector>

namespace vellmar {

inline double BestMemcpySeconds(size_t bytes) {
  std::vector<std::byte> source(bytes), target(bytes);
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace vellmar
