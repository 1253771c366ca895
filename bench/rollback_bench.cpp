// What rollback costs in the worst-case network battle (two players both firing every battery,
// 3,000 balls in flight): one snapshot saved and restored, and going back 8 frames (restore
// the snapshot, run the 8 frames again silently). Each as microseconds and as a share of a
// 16.7 ms frame, from the median CPU times (a shared machine's wall clock wanders).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "flow/network_battle.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "gunnery/kugeln.h"
#include "media/headless.h"
#include "settings/settings_keys.h"
#include "state/snapshot.h"

namespace {

constexpr int kKugeln = 3000;
constexpr double kFrameSeconds = 1.0 / 60;

struct Schlacht {
  Spiel spiel;
  std::unique_ptr<Media> media;
};

void KugelnVerteilen(Spiel& spiel) {
  std::mt19937 zufall(5);
  std::uniform_real_distribution<double> x(0, 1680), y(0, 1050), kurs(1, 360);
  for (int i = 0; i < kKugeln; ++i) {
    const int32_t seite = 1 + i % 2;
    auto& liste = i % 2 == 0 ? spiel.ListeA : spiel.ListeB;
    KugelAnhaengen(liste, x(zufall), y(zufall), 5, kurs(zufall), seite, static_cast<int8_t>(i % 2));
  }
}

std::unique_ptr<Schlacht> SchlachtAufbauen() {
  auto s = std::make_unique<Schlacht>();
  s->media = std::make_unique<Media>(std::make_unique<HeadlessBackend>(), 1);
  Media& media = *s->media;
  Hochfahren(s->spiel, media);
  openBattleMedia(media, kScreenWidth, kScreenHeight, embeddedFile);
  StartRecord start = defaultStartRecord(kZweiSpieler, 1, 7);
  start.Flotte[0].Klasse = 7;
  start.Flotte[1].Klasse = 6;
  start.Option = start.Reichweite = 0;  // balls fly on
  start.SchussLautstaerke = start.TrefferLautstaerke = 0;
  startBattle(s->spiel, start);
  KugelnVerteilen(s->spiel);
  return s;
}

// Both players accelerate, turn and fire both batteries.
constexpr NetInput kVoll{{true, false, true, false, true, true}, false};

void snapshotSaveAndRestore(benchmark::State& state) {
  auto schlacht = SchlachtAufbauen();
  Spiel snapshot = schlacht->spiel;  // a ring slot, its ball lists already grown
  for (auto _ : state) {
    snapshot = schlacht->spiel;
    schlacht->spiel = snapshot;
    benchmark::ClobberMemory();
  }
  state.counters["balls"] =
      static_cast<double>(schlacht->spiel.ListeA.size() + schlacht->spiel.ListeB.size());
}
BENCHMARK(snapshotSaveAndRestore)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void rollbackOfEightFrames(benchmark::State& state) {
  auto schlacht = SchlachtAufbauen();
  const Rollback::Step step = networkStep(*schlacht->media);
  const Spiel anfang = schlacht->spiel;
  Spiel snapshot = anfang;
  for (auto _ : state) {
    schlacht->spiel = snapshot;
    for (int f = 0; f < Rollback::kMaxPredicted; ++f) step(schlacht->spiel, {kVoll, kVoll}, true);
    benchmark::ClobberMemory();
    state.PauseTiming();
    snapshot = anfang;
    state.ResumeTiming();
  }
}
BENCHMARK(rollbackOfEightFrames)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void checksumOfTheState(benchmark::State& state) {
  auto schlacht = SchlachtAufbauen();
  for (auto _ : state) benchmark::DoNotOptimize(stateChecksum(schlacht->spiel));
}
BENCHMARK(checksumOfTheState)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The console report as usual, then each benchmark's median CPU time as microseconds and as
// a share of one frame.
class FrameShareReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
      seconds_[run.run_name.function_name] =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
  void printShares() const {
    std::printf("\nMedian CPU time, and its share of a %.1f ms frame:\n", kFrameSeconds * 1e3);
    for (const auto& [name, seconds] : seconds_) {
      std::printf("  %-28s %9.1f us %8.2f %%\n", name.c_str(), seconds * 1e6,
                  100 * seconds / kFrameSeconds);
    }
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  FrameShareReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printShares();
  benchmark::Shutdown();
  return 0;
}
