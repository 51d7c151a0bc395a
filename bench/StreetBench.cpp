// Loading and saving a large street: 1,000,000 points and 100,000 items (lawn polygons
// and curb lines of ten vertices each), written once to a temporary file. Prints load and save rates against
// the file size and against their peers in the same run (reading the file's bytes into
// memory; writing as many bytes through the atomic file a save goes through), the first
// frame of the loaded street (every kind rebuilt, then drawn through the headless
// renderer), and the peak resident memory of a process that does nothing, an empty frame,
// a load, a load with the rebuild and a load with its first frame, as multiples of the
// file size, with the first frame's peak split into its shares: the process itself, the
// GL driver (the empty frame beyond the bare process), the document (the load beyond the
// bare process), the vertices the collections keep, those the device's buffers hold, and
// the rest. The rebuild spreads kinds over the hardware threads; it and the open to the
// first frame are timed by the wall clock against the same work with every kind rebuilt
// on the calling thread.
//
// Goals on the 2-core reference machine: load >= 300 MB/s, save >= 600 MB/s, first
// rebuild of all primitives < 2 s, open to first frame < 0.3 s, peak memory after the
// first frame <= 3x the file size beyond the empty frame and <= 6x in all.

#include <benchmark/benchmark.h>

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "RatioReporter.h"
#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "items/ItemKinds.h"
#include "platform/AtomicFile.h"
#include "platform/FileStream.h"
#include "render/OffscreenFrame.h"
#include "support/BenchmarkStreet.h"

namespace vellmar {
namespace {

std::filesystem::path StreetPath() {
  return std::filesystem::temp_directory_path() /
         ("vellmar-street-bench-" + std::to_string(getpid()) + ".pln");
}

double FileMegabytes(const std::filesystem::path& path) {
  return static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// The file's megabytes per second of CPU time, as the benchmark's "MB/s" counter.
void ReportFileRate(benchmark::State& state, const std::filesystem::path& path) {
  state.counters["MB/s"] = benchmark::Counter(FileMegabytes(path) * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
}

void BM_Load(benchmark::State& state, const std::filesystem::path& path) {
  for (auto _ : state) {
    TStreetStructure street;
    street.LoadFromFile(path);
    benchmark::DoNotOptimize(street.Points().Count());
  }
  ReportFileRate(state, path);
}

void BM_Save(benchmark::State& state, const std::filesystem::path& path) {
  TStreetStructure street;
  street.LoadFromFile(path);
  const std::filesystem::path copy = path.string() + ".copy";
  for (auto _ : state) street.SaveToFile(copy);
  ReportFileRate(state, path);
  std::filesystem::remove(copy);
}

// The peer of a load: the file's bytes read into memory in one go.
void BM_ReadBytes(benchmark::State& state, const std::filesystem::path& path) {
  for (auto _ : state) {
    TFileStream stream(path, TFileMode::OpenRead);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    stream.ReadBuffer(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
  }
  ReportFileRate(state, path);
}

// The peer of a save: as many bytes as the file holds written in one go through the
// atomic file a save uses (temporary file, sync, rename).
void BM_WriteBytes(benchmark::State& state, const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), 0x5A);
  const std::filesystem::path copy = path.string() + ".raw";
  for (auto _ : state) {
    TAtomicFile file(copy);
    file.Stream().Write(bytes.data(), bytes.size());
    file.Commit();
  }
  ReportFileRate(state, path);
  std::filesystem::remove(copy);
}

// The whole street fitted into a viewer-sized frame, as the viewer's first frame (its
// renderer lives as long as the street: the collections keep no copy of the vertices
// they hand to it); afterDraw runs while the frame's device still lives.
void DrawFirstFrame(TStreetStructure& street, const std::function<void()>& afterDraw = {}) {
  const TViewState view = FitStreetView(street);
  RenderOffscreenFrame(1024, 768, [&](TdxRenderer& renderer) {
    SetupViewMatrices(renderer, view);
    street.Draw(ViewDrawParams(renderer, view), TKindRegistry::AllKinds(), 1u);
    if (afterDraw) afterDraw();
  }, /*KeepsVertices=*/true);
}

// threads: as RebuildKinds takes it (0 = one per hardware thread, 1 = the calling thread).
void BM_FirstRebuild(benchmark::State& state, const std::filesystem::path& path, int32_t threads) {
  for (auto _ : state) {
    state.PauseTiming();
    {
      TStreetStructure street;
      street.LoadFromFile(path);
      state.ResumeTiming();
      street.RebuildKinds(TKindRegistry::AllKinds(), threads);
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

void BM_FirstFrame(benchmark::State& state, const std::filesystem::path& path) {
  for (auto _ : state) {
    state.PauseTiming();
    {
      TStreetStructure street;
      street.LoadFromFile(path);
      state.ResumeTiming();
      DrawFirstFrame(street);
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

// What the user waits for from opening the file to seeing it: the load, the rebuild of
// every kind and the first frame through the headless GL device, by the wall clock
// (goal < 0.3 s). Its peer rebuilds every kind on the calling thread before the frame.
void BM_OpenToFirstFrame(benchmark::State& state, const std::filesystem::path& path, int32_t threads) {
  for (auto _ : state) {
    auto street = std::make_unique<TStreetStructure>();
    street->LoadFromFile(path);
    if (threads == 1) street->RebuildKinds(TKindRegistry::AllKinds(), 1);
    DrawFirstFrame(*street);
    state.PauseTiming();
    street.reset();  // closing the street is not part of it
    state.ResumeTiming();
  }
}

// What a measured process does: nothing (the process itself), draw an empty frame (the
// GL driver), or load the file and go on as far as asked.
enum class TMeasured { Nothing, EmptyFrame, Load, Rebuild, Frame };

// The vertices of the street's collections, in megabytes: those the collections keep
// themselves and those the buffers of the devices they were drawn on hold.
struct TVertexMegabytes {
  double Held = 0.0;
  double Device = 0.0;
  double Primitives = 0.0;  // stored, of every collection, in millions
};

TVertexMegabytes CollectionVertexMegabytes(TStreetStructure& street) {
  std::set<const TDxPrimCollection*> seen;
  TVertexMegabytes sum;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    for (const TKindCollection& collection : street.KindCollections(kind)) {
      if (!seen.insert(collection.get()).second) continue;
      sum.Held += static_cast<double>(collection->HeldVertexBytes()) / 1e6;
      sum.Device += static_cast<double>(collection->DeviceVertexBytes()) / 1e6;
      sum.Primitives += static_cast<double>(collection->Count()) / 1e6;
    }
  }
  return sum;
}

// Where the measured children leave their vertex figures for the parent: a page shared
// across the fork.
TVertexMegabytes& SharedVertexFigures() {
  static auto* figures = [] {
    void* page = mmap(nullptr, sizeof(TVertexMegabytes), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) throw std::bad_alloc();
    return new (page) TVertexMegabytes{};
  }();
  return *figures;
}

// Runs work in a child process; its peak resident memory in megabytes, negative when
// the child failed.
template <typename Work>
double InChild(const Work& work) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    try {
      work();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", error.what());
      _exit(1);
    }
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
  return static_cast<double>(usage.ru_maxrss) / 1e3;  // ru_maxrss is in kilobytes
}

// Peak resident memory of a process that does what is asked, in megabytes. The
// rebuilding and the drawing process leave their vertex figures in SharedVertexFigures.
double PeakMegabytes(const std::filesystem::path& path, TMeasured measured) {
  return InChild([&] {
    if (measured == TMeasured::Nothing) return;
    if (measured == TMeasured::EmptyFrame) {
      RenderOffscreenFrame(1024, 768, [](TdxRenderer&) {});
      return;
    }
    TStreetStructure street;
    street.LoadFromFile(path);
    if (measured == TMeasured::Rebuild) {
      street.RebuildKinds(TKindRegistry::AllKinds());
      SharedVertexFigures() = CollectionVertexMegabytes(street);
    }
    if (measured == TMeasured::Frame) {
      DrawFirstFrame(street, [&] { SharedVertexFigures() = CollectionVertexMegabytes(street); });
    }
  });
}

// Peak memory of each measured process, then the first frame's peak split into shares.
void ReportMemory(const std::filesystem::path& path, double fileMegabytes) {
  std::printf("street file: %.1f MB; peak memory (goals after the first frame: <= 3x the file beyond the "
              "empty frame, <= 6x in all):\n",
              fileMegabytes);
  std::array<double, 5> peaks{};
  std::array<TVertexMegabytes, 5> vertices{};
  for (const auto& [measured, what] :
       {std::pair{TMeasured::Nothing, "the process alone"},
        {TMeasured::EmptyFrame, "an empty frame, no street (the GL driver)"},
        {TMeasured::Load, "a load"},
        {TMeasured::Rebuild, "a load and the rebuild of every kind"},
        {TMeasured::Frame, "a load and its first frame, GL driver included"}}) {
    const auto at = static_cast<size_t>(measured);
    SharedVertexFigures() = TVertexMegabytes{};
    peaks[at] = PeakMegabytes(path, measured);
    if (peaks[at] < 0) {
      std::fprintf(stderr, "the child measuring %s failed\n", what);
      std::exit(1);
    }
    vertices[at] = SharedVertexFigures();
    std::printf("  %s: %.1f MB = %.2fx the file\n", what, peaks[at], peaks[at] / fileMegabytes);
  }
  const auto share = [&](double megabytes) { return megabytes / fileMegabytes; };
  const TVertexMegabytes& rebuilt = vertices[static_cast<size_t>(TMeasured::Rebuild)];
  std::printf("  after the rebuild the collections keep %.1f MB of vertices = %.2fx the file (%.2f million "
              "primitives, %.1f vertex bytes each)\n",
              rebuilt.Held, share(rebuilt.Held), rebuilt.Primitives,
              rebuilt.Primitives > 0 ? rebuilt.Held / rebuilt.Primitives : 0.0);
  const double alone = peaks[static_cast<size_t>(TMeasured::Nothing)];
  const double floor = peaks[static_cast<size_t>(TMeasured::EmptyFrame)];
  const double document = peaks[static_cast<size_t>(TMeasured::Load)] - alone;
  const double frame = peaks[static_cast<size_t>(TMeasured::Frame)];
  const TVertexMegabytes& drawn = vertices[static_cast<size_t>(TMeasured::Frame)];
  const double rest = frame - floor - document - drawn.Held - drawn.Device;
  std::printf("  the first frame's peak in shares of the file: the process %.2fx, the GL driver %.2fx, the "
              "document %.2fx, vertices the collections keep %.2fx, vertices in the device's buffers %.2fx "
              "(%.1f bytes a primitive), the rest %.2fx\n",
              share(alone), share(floor - alone), share(document), share(drawn.Held), share(drawn.Device),
              drawn.Primitives > 0 ? drawn.Device / drawn.Primitives : 0.0, share(rest));
  std::printf("  the first frame beyond the empty frame: %.2fx the file (goal <= 3); in all %.2fx (goal <= 6)\n",
              share(frame - floor), share(frame));
}

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  using namespace vellmar;
  RegisterAllItemKinds();
  const std::filesystem::path path = StreetPath();
  // Written by a child, so that the measured children fork from a parent that never held
  // the street: they would inherit the pages its heap kept, and count them.
  if (InChild([&] { test::WriteBenchmarkStreet(path); }) < 0) return 1;
  const double megabytes = FileMegabytes(path);
  ReportMemory(path, megabytes);

  benchmark::RegisterBenchmark("Street/Load", BM_Load, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Street/Save", BM_Save, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Street/ReadBytes", BM_ReadBytes, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Street/WriteBytes", BM_WriteBytes, path)->Unit(benchmark::kMillisecond);
  // By the wall clock: the rebuild runs on several threads.
  benchmark::RegisterBenchmark("Street/FirstRebuild", BM_FirstRebuild, path, 0)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("Street/FirstRebuildOneThread", BM_FirstRebuild, path, 1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("Street/FirstFrame", BM_FirstFrame, path)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  for (const auto& [name, threads] :
       {std::pair{"Street/OpenToFirstFrame", 0}, {"Street/OpenToFirstFrameOneThread", 1}}) {
    benchmark::RegisterBenchmark(name, BM_OpenToFirstFrame, path, threads)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
  }
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // Rates from CPU time, as the benchmarks' own counters.
  for (const auto& [name, peer, goal] :
       {std::tuple{"Street/Load", "Street/ReadBytes", 300.0}, {"Street/Save", "Street/WriteBytes", 600.0}}) {
    const double ms = reporter.Time(name);
    const double peerMs = reporter.Time(peer);
    if (ms <= 0 || peerMs <= 0) continue;
    std::printf("%s: %.0f MB/s (goal >= %.0f) = %.3f x the rate of %s (%.0f MB/s)\n", name,
                megabytes * 1e3 / ms, goal, peerMs / ms, peer, megabytes * 1e3 / peerMs);
  }
  // Wall times, against the same work with every kind rebuilt on the calling thread.
  for (const auto& [name, peer] : {std::pair{"Street/FirstRebuild", "Street/FirstRebuildOneThread"},
                                   {"Street/OpenToFirstFrame", "Street/OpenToFirstFrameOneThread"}}) {
    const double ms = reporter.RealTime(name);
    const double peerMs = reporter.RealTime(peer);
    if (ms <= 0 || peerMs <= 0) continue;
    std::printf("%s: %.0f ms = %.3f x the time of %s (%.0f ms), %u hardware threads\n", name, ms, ms / peerMs,
                peer, peerMs, std::thread::hardware_concurrency());
  }
  std::filesystem::remove(path);
  return 0;
}
