#pragma once
// The peer of the benchmarks that hand vertices over: the best of five plain copies of
// the same number of bytes, timed in the same run by the clock the benchmark reports
// (wall for work the GL driver spreads over threads, this thread's CPU time otherwise).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <vector>

namespace vellmar {

enum class TPeerClock { Wall, ThreadCpu };

inline double PeerClockSeconds(TPeerClock clock) {
  if (clock == TPeerClock::Wall)
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

inline double BestMemcpySeconds(size_t bytes, TPeerClock clock = TPeerClock::Wall) {
  std::vector<std::byte> source(bytes), target(bytes);
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    const double start = PeerClockSeconds(clock);
    std::memcpy(target.data(), source.data(), bytes);
    benchmark::DoNotOptimize(target.data());
    best = std::min(best, PeerClockSeconds(clock) - start);
  }
  return best;
}

}  // namespace vellmar
