#include "bench/copy_ratio.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "media/media.h"

namespace {

constexpr const char* kYardstick = "plainBackBufferCopy";

// A benchmark's function and, when it has them, its arguments: "frame/1".
std::string nameOf(const benchmark::BenchmarkReporter::Run& run) {
  const std::string& args = run.run_name.args;
  return args.empty() ? run.run_name.function_name : run.run_name.function_name + "/" + args;
}

// The console report as usual, keeping each benchmark's median and best CPU time (or its only
// time, without repetitions) in seconds.
class CopyRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool aggregate = run.run_type == Run::RT_Aggregate;
      const std::string name = nameOf(run);
      const double seconds =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (aggregate && run.aggregate_name == "best") {
        best_[name] = seconds;
      } else if ((aggregate && run.aggregate_name == "median") ||
                 (run.run_type == Run::RT_Iteration && !medians_.contains(name))) {
        medians_[name] = seconds;
      }
    }
  }

  void printComparison(const Comparison& c) const {
    const auto slower = medians_.find(c.slower), faster = medians_.find(c.faster);
    if (slower == medians_.end() || faster == medians_.end() || faster->second <= 0) return;
    std::printf("  %s takes %.2f times as long as %s\n", c.slower, slower->second / faster->second,
                c.faster);
  }

  void printRatios() const {
    const auto copy = medians_.find(kYardstick);
    if (copy == medians_.end() || copy->second <= 0) return;
    const auto bestCopy = best_.find(kYardstick);
    std::printf("\nIn plain copies of the %d x %d back buffer (median %.0f us", kScreenWidth,
                kScreenHeight, copy->second * 1e6);
    if (bestCopy != best_.end()) std::printf(", best %.0f us", bestCopy->second * 1e6);
    std::printf(" each):\n  %-40s %8s %8s\n", "", "median", "best");
    for (const auto& [name, seconds] : medians_) {
      if (name == kYardstick) continue;
      std::printf("  %-40s %8.3f", name.c_str(), seconds / copy->second);
      const auto best = best_.find(name);
      if (best != best_.end() && bestCopy != best_.end() && bestCopy->second > 0) {
        std::printf(" %8.3f", best->second / bestCopy->second);
      }
      std::printf("\n");
    }
  }

 private:
  std::map<std::string, double> medians_, best_;  // seconds
};

}  // namespace

void plainBackBufferCopy(benchmark::State& state) {
  const size_t pixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;
  std::vector<uint32_t> from(pixels, 0x0177FE), to(pixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), pixels * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(plainBackBufferCopy)->Apply([](benchmark::internal::Benchmark* b) {
  withBest(b)->Repetitions(9)->ReportAggregatesOnly(true);
});

benchmark::internal::Benchmark* withBest(benchmark::internal::Benchmark* b) {
  return b->ComputeStatistics(
      "best", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

int runWithCopyRatios(int argc, char** argv) { return runWithCopyRatios(argc, argv, {}); }

int runWithCopyRatios(int argc, char** argv, std::initializer_list<Comparison> comparisons) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CopyRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  if (comparisons.size() > 0) std::printf("\nIn the same run:\n");
  for (const Comparison& c : comparisons) reporter.printComparison(c);
  benchmark::Shutdown();
  return 0;
}
