#include "bench/copy_ratio.h"

#include <benchmark/benchmark.h>

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

// The console report as usual, keeping each benchmark's median CPU time (or its only time,
// without repetitions) in nanoseconds.
class CopyRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const std::string name = nameOf(run);
      if (!median && (run.run_type != Run::RT_Iteration || times_.contains(name))) continue;
      times_[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }

  void printComparison(const Comparison& c) const {
    const auto slower = times_.find(c.slower), faster = times_.find(c.faster);
    if (slower == times_.end() || faster == times_.end() || faster->second <= 0) return;
    std::printf("  %s takes %.2f times as long as %s\n", c.slower, slower->second / faster->second,
                c.faster);
  }

  void printRatios() const {
    const auto copy = times_.find(kYardstick);
    if (copy == times_.end() || copy->second <= 0) return;
    std::printf("\nIn plain copies of the %d x %d back buffer (%.0f us each):\n", kScreenWidth,
                kScreenHeight, copy->second * 1e6);
    for (const auto& [name, seconds] : times_) {
      if (name != kYardstick) std::printf("  %-40s %8.3f\n", name.c_str(), seconds / copy->second);
    }
  }

 private:
  std::map<std::string, double> times_;  // seconds
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
BENCHMARK(plainBackBufferCopy)->Repetitions(9)->ReportAggregatesOnly(true);

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
