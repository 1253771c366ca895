// How fast --verify plays a replay without a window: the kept two-player and single-player
// replays, in frames per second of CPU time (the set-up of the headless battle included, as
// --verify pays it once per file).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "flow/replay_play.h"

namespace {

Replay kept(const std::string& name) {
  std::ifstream in(std::string(KF_SOURCE_DIR) + "/tests/replays/" + name, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  return readReplay(bytes, true).replay.value_or(Replay{});
}

void verify(benchmark::State& state, const std::string& name) {
  const Replay replay = kept(name);
  if (replay.inputs.empty()) state.SkipWithError("replay missing");
  for (auto _ : state) benchmark::DoNotOptimize(verifyReplay(replay));
  state.counters["frames/s"] = benchmark::Counter(
      static_cast<double>(replay.inputs.size() * state.iterations()), benchmark::Counter::kIsRate);
}

void TwoPlayers(benchmark::State& state) { verify(state, "zwei_spieler.kfr"); }
void OnePlayerTwoEnemies(benchmark::State& state) { verify(state, "einzelspieler.kfr"); }
BENCHMARK(TwoPlayers)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePlayerTwoEnemies)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
