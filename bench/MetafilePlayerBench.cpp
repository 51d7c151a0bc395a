// Speed of metafile playback: one sign picture of the committed library played into a
// 256 x 256 texture bitmap, against playing an empty picture into the same bitmap (the
// fill, frame and copy every texture pays). Prints microseconds a sign against the
// 2 ms goal.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "RatioReporter.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafilePlayer.h"

namespace vellmar {
namespace {

constexpr int kSide = 256;

TMetafile Sign(const char* name) {
  TMetafile picture;
  picture.LoadFromFile(std::filesystem::path(__FILE__).parent_path() / "../data/DataFiles/Знаки" / name);
  return picture;
}

void Play(benchmark::State& state, const TMetafile& picture) {
  for (auto _ : state) benchmark::DoNotOptimize(PlayMetafile(picture, kSide, kSide));
}

// A speed limit: ring, field and a two-digit number in text.
void BM_PlaySpeedLimit(benchmark::State& state) { Play(state, Sign("3-24_40.emf")); }
BENCHMARK(BM_PlaySpeedLimit)->Unit(benchmark::kMicrosecond);

// A warning triangle with a pictogram of strokes and discs.
void BM_PlayPedestrianWarning(benchmark::State& state) { Play(state, Sign("1-22.emf")); }
BENCHMARK(BM_PlayPedestrianWarning)->Unit(benchmark::kMicrosecond);

// A Windows metafile: the blue disc with an arrow.
void BM_PlayWindowsArrow(benchmark::State& state) { Play(state, Sign("4-01-1.wmf")); }
BENCHMARK(BM_PlayWindowsArrow)->Unit(benchmark::kMicrosecond);

void BM_PlayEmpty(benchmark::State& state) { Play(state, TMetafile()); }
BENCHMARK(BM_PlayEmpty)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  const double empty = reporter.Time("BM_PlayEmpty");
  for (const char* name : {"BM_PlaySpeedLimit", "BM_PlayPedestrianWarning", "BM_PlayWindowsArrow"}) {
    const double us = reporter.Time(name);
    if (us > 0 && empty > 0)
      std::printf("%s: %.0f us a 256 x 256 sign (goal <= 2000), %.1f x the empty picture\n", name + 3, us, us / empty);
  }
  return 0;
}
