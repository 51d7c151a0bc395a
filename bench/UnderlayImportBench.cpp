// Importing a large photograph as an underlay (vellmar-underlay import, wall clock,
// run as a child process so that its own peak memory is measured): a 12,000² JPEG
// with one thread coding tiles against all cores, and a 30,000² JPEG with all cores.
// The pictures are aerial-looking JPEGs written here row by row, so the benchmark
// itself never holds one in memory. Goals: all cores ≥ 1.7× one thread on 2 cores;
// peak memory under 300 MB at any size; the same file bytes with any thread count.

#include <benchmark/benchmark.h>
#include <unistd.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ChildRun.h"

namespace vellmar {

namespace {

// Row y of an aerial-looking picture: fields in blocks, roads across them, roofs and
// sensor grain, so tiles code to realistic sizes.
void AerialRow(int y, int width, uint8_t* bgr) {
  uint32_t seed = 0x9E3779B9u * static_cast<uint32_t>(y + 1);
  for (int x = 0; x < width; ++x, bgr += 3) {
    seed = seed * 1664525u + 1013904223u;
    const int grain = static_cast<int>(seed >> 28) - 8;
    int b = 60 + (x / 40 + y / 55) % 7 * 12;
    int g = 95 + (x / 70 + y / 30) % 5 * 14;
    int r = 80 + (x / 90) % 4 * 10;
    if ((x + y / 2) % 900 < 30 || (y + x / 5) % 1300 < 25) {
      r = g = b = 110;
    } else if ((x / 48 + y / 48) % 5 == 0 && x % 48 > 6 && y % 48 > 8) {
      r = 170 + x / 48 % 7 * 9;
      g = 80;
      b = 60;
    }
    bgr[0] = static_cast<uint8_t>(std::clamp(b + grain, 0, 255));
    bgr[1] = static_cast<uint8_t>(std::clamp(g + grain, 0, 255));
    bgr[2] = static_cast<uint8_t>(std::clamp(r + grain, 0, 255));
  }
}

// A baseline 4:2:0 JPEG at quality 90 of size × size pixels, written a row at a time.
void WriteAerialJpeg(const std::filesystem::path& path, int size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(size);
  info.image_height = static_cast<JDIMENSION>(size);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(size) * 3);
  for (int y = 0; y < size; ++y) {
    AerialRow(y, size, row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

class TWorkDir {
 public:
  TWorkDir()
      : path_(std::filesystem::temp_directory_path() /
              ("vellmar-import-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TWorkDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

TWorkDir& WorkDir() {
  static TWorkDir dir;
  return dir;
}

std::filesystem::path Picture(int size) {
  const std::filesystem::path path = WorkDir() / ("aerial-" + std::to_string(size) + ".jpg");
  if (!std::filesystem::exists(path)) WriteAerialJpeg(path, size);
  return path;
}

// Runs the importer with its progress sent to /dev/null.
TChildRun RunImport(const std::filesystem::path& picture, const std::filesystem::path& out, int threads) {
  return RunChild({VELLMAR_UNDERLAY_TOOL, "import", picture.string(), out.string(), "--threads", std::to_string(threads)});
}

int AllThreads() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void Import(benchmark::State& state, int size, int threads) {
  const std::filesystem::path picture = Picture(size);
  const std::filesystem::path out =
      WorkDir() / ("aerial-" + std::to_string(size) + "-" + std::to_string(threads) + ".sub");
  TChildRun run{};
  for (auto _ : state) {
    run = RunImport(picture, out, threads);
    if (!run.ok) {
      state.SkipWithError("the import failed");
      return;
    }
    state.SetIterationTime(run.wallSeconds);
  }
  const double megapixels = double(size) * size / 1e6;
  state.counters["MP_per_s"] = megapixels / run.wallSeconds;
  state.counters["cpu_s"] = run.cpuSeconds;
  state.counters["peak_MB"] = run.peakMegabytes;
  state.counters["threads"] = threads;
}

std::vector<uint8_t> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Prints all cores against one thread, how many processors each run kept busy (on a
// shared machine fewer than the threads asked for, which caps the ratio), and whether
// both made the same bytes.
class TImportReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!run.counters.count("MP_per_s")) continue;
      const std::string& name = run.run_name.function_name;
      speeds_[name] = run.counters.at("MP_per_s");
      busy_[name] = run.counters.at("cpu_s") / run.GetAdjustedRealTime() * 1000.0;  // real time in ms
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double one = speeds_["Import/12000/threads:1"];
    const double all = speeds_["Import/12000/threads:all"];
    if (one <= 0 || all <= 0) return;
    std::printf(
        "\n12,000^2 JPEG: %.1f MP/s on %d threads vs %.1f MP/s on one: %.2fx (goal >= 1.7 on 2 cores)\n", all,
        AllThreads(), one, all / one);
    std::printf("processors kept busy: %.2f with one thread, %.2f with %d\n", busy_["Import/12000/threads:1"],
                busy_["Import/12000/threads:all"], AllThreads());
    const bool same = Bytes(WorkDir() / "aerial-12000-1.sub") ==
                      Bytes(WorkDir() / ("aerial-12000-" + std::to_string(AllThreads()) + ".sub"));
    std::printf("same file bytes with one thread and with %d: %s\n", AllThreads(), same ? "yes" : "NO");
  }

 private:
  std::map<std::string, double> speeds_;
  std::map<std::string, double> busy_;
};

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  using namespace vellmar;
  const auto add = [](const char* name, int size, int threads) {
    benchmark::RegisterBenchmark(name, Import, size, threads)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  };
  add("Import/12000/threads:1", 12000, 1);
  add("Import/12000/threads:all", 12000, AllThreads());
  add("Import/30000/threads:all", 30000, AllThreads());
  benchmark::Initialize(&argc, argv);
  TImportReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
