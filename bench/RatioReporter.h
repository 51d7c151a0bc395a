#pragma once
// A console reporter that keeps each benchmark's CPU time per iteration, so that a
// program can print its ratios against the peers it ran in the same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vellmar {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
      realTimes_[run.run_name.function_name] = run.GetAdjustedRealTime();
      for (const auto& [name, counter] : run.counters)
        counters_[run.run_name.function_name + "/" + name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Milliseconds (in the benchmark's unit) per iteration; 0 when the benchmark did not run.
  double Time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }
  // Wall milliseconds per iteration, for work spread over threads (whose CPU time the
  // calling thread's does not show); 0 when the benchmark did not run.
  double RealTime(const std::string& name) const {
    const auto it = realTimes_.find(name);
    return it == realTimes_.end() ? 0.0 : it->second;
  }
  // A counter the benchmark reported; 0 when it did not run or report it.
  double Counter(const std::string& name, const std::string& counter) const {
    const auto it = counters_.find(name + "/" + counter);
    return it == counters_.end() ? 0.0 : it->second;
  }

 private:
  // CPU time: the machines these run on are shared, and wall time there measures the
  // neighbours.
  std::map<std::string, double> times_;
  std::map<std::string, double> realTimes_;
  std::map<std::string, double> counters_;
};

// Runs the benchmarks the command line selects, reporting to reporter.
inline void RunBenchmarks(int& argc, char** argv, TRatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}

}  // namespace vellmar
