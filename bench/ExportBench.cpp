// Exporting the large street of the street benchmark (1,000,000 points, 100,000 items:
// lawn polygons and curb lines, 39.8 MB) to each format, against writing it back as a
// street file. Every run is the tool itself as a child process (wall clock, CPU time and
// its own peak memory); each loads the street first, so a run that only loads it is
// measured too and the ratios are printed both whole and with the load taken off.
// Goal: each export within a few times the time and memory of writing the .pln.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ChildRun.h"
#include "kinds/AllKinds.h"
#include "support/BenchmarkStreet.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
  static const fs::path folder = [] {
    const fs::path path = fs::temp_directory_path() / ("vellmar-export-bench-" + std::to_string(getpid()));
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

const fs::path& Street() {
  static const fs::path street = [] {
    const fs::path path = Folder() / "street.pln";
    RegisterAllKinds();
    test::WriteBenchmarkStreet(path);
    return path;
  }();
  return street;
}

struct TCase {
  const char* Name;
  std::vector<std::string> Arguments;  // after the street file
  const char* Tool;
};

std::map<std::string, TChildRun>& Results() {
  static std::map<std::string, TChildRun> results;
  return results;
}

void Measure(benchmark::State& state, const TCase& c) {
  std::vector<std::string> args = {c.Tool, Street().string()};
  for (const std::string& a : c.Arguments) args.push_back(a);
  TChildRun run{};
  for (auto _ : state) {
    run = RunChild(args);
    if (!run.ok) {
      state.SkipWithError("the tool failed");
      return;
    }
    state.SetIterationTime(run.wallSeconds);
  }
  state.counters["cpu_s"] = run.cpuSeconds;
  state.counters["peak_MB"] = run.peakMegabytes;
  Results()[c.Name] = run;
}

class TExportReporter : public benchmark::ConsoleReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto& r = Results();
    if (!r.count("load") || !r.count("save_pln")) return;
    const TChildRun& load = r.at("load");
    const TChildRun& save = r.at("save_pln");
    const double megabytes = static_cast<double>(fs::file_size(Street())) / 1e6;
    std::printf("\nstreet %.1f MB; load alone %.2f s wall, %.2f s CPU, %.0f MB peak; load + write .pln %.2f s wall, "
                "%.2f s CPU, %.0f MB peak\n",
                megabytes, load.wallSeconds, load.cpuSeconds, load.peakMegabytes, save.wallSeconds, save.cpuSeconds,
                save.peakMegabytes);
    for (const char* name : {"dxf", "gpkg", "geojson", "quantities"}) {
      if (!r.count(name)) continue;
      const TChildRun& run = r.at(name);
      const double own = run.wallSeconds - load.wallSeconds, saveOwn = save.wallSeconds - load.wallSeconds;
      const double cpu = run.cpuSeconds - load.cpuSeconds, saveCpu = save.cpuSeconds - load.cpuSeconds;
      std::printf("%-10s wall %.2f s (%.2fx the .pln run; beyond the load %.2f s, %.1fx the .pln write's); "
                  "CPU %.2f s (%.2fx; beyond the load %.2f s, %.1fx); peak %.0f MB (%.2fx)\n",
                  name, run.wallSeconds, run.wallSeconds / save.wallSeconds, own, saveOwn > 0 ? own / saveOwn : 0.0,
                  run.cpuSeconds, run.cpuSeconds / save.cpuSeconds, cpu, saveCpu > 0 ? cpu / saveCpu : 0.0,
                  run.peakMegabytes, run.peakMegabytes / save.peakMegabytes);
    }
  }
};

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  using namespace vellmar;
  benchmark::Initialize(&argc, argv);
  const std::string folder = Folder().string();
  static const TCase cases[] = {
      {"load", {}, VELLMAR_INFO_TOOL},
      {"save_pln", {"--save", folder + "/copy.pln"}, VELLMAR_INFO_TOOL},
      {"dxf", {"-o", folder + "/out.dxf"}, VELLMAR_EXPORT_TOOL},
      {"gpkg", {"-o", folder + "/out.gpkg"}, VELLMAR_EXPORT_TOOL},
      {"geojson", {"-o", folder + "/out.geojson"}, VELLMAR_EXPORT_TOOL},
      {"quantities", {"--quantities"}, VELLMAR_INFO_TOOL},
  };
  for (const TCase& c : cases) {
    benchmark::RegisterBenchmark(c.Name, Measure, c)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  TExportReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove_all(Folder());
  return 0;
}
