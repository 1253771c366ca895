// How fast --verify plays a replay without a window: the kept two-player and single-player
// replays and a ten-minute battle, in frames per second of CPU time (the set-up of the headless
// battle included, as --verify pays it once per file). And how long a jump of 10 s takes in
// the ten-minute replay (the target is 100 ms): back, from the copies its watching kept, and
// forth into frames never played yet.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "flow/replay_play.h"
#include "flow/replay_watch.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "media/headless.h"
#include "net/protocol.h"

namespace {

Replay kept(const std::string& name) {
  std::ifstream in(std::string(KF_SOURCE_DIR) + "/tests/replays/" + name, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  return readReplay(bytes, true).replay.value_or(Replay{});
}

void verify(benchmark::State& state, const Replay& replay) {
  if (replay.inputs.empty()) state.SkipWithError("replay missing");
  for (auto _ : state) benchmark::DoNotOptimize(verifyReplay(replay));
  state.counters["frames/s"] = benchmark::Counter(
      static_cast<double>(replay.inputs.size() * state.iterations()), benchmark::Counter::kIsRate);
}

void verify(benchmark::State& state, const std::string& name) { verify(state, kept(name)); }

uint32_t mixed(uint32_t h) {
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  return h;
}

// Two players whose controls change every 17 and 11 frames, and a restart every 20 s so
// that the ships keep fighting: a busy battle, and a large file for its length.
const Replay& tenMinutes() {
  static const Replay replay = [] {
    Replay r = newReplay(defaultStartRecord(kZweiSpieler, 1, 5));
    constexpr uint32_t kFrames = 10 * 60 * kReplayFramesPerSecond;
    for (uint32_t f = 0; f < kFrames; ++f) {
      std::array<uint8_t, 2> bytes{};
      for (uint32_t player = 0; player < 2; ++player) {
        const uint32_t h = mixed((f / (player == 0 ? 17 : 11) + 1) * 2654435761u ^ (player + 1));
        NetInput input{inputFromByte(static_cast<uint8_t>(h & 0x3F))->steuerung, false};
        input.restart = player == 0 && f % (20 * kReplayFramesPerSecond) == 0 && f > 0;
        bytes[player] = inputByte(input);
      }
      r.inputs.push_back(bytes);
    }
    return r;
  }();
  return replay;
}

struct Watching {
  Watching() : media(std::make_unique<HeadlessBackend>(), 1) {
    Hochfahren(spiel, media);
    openBattleMedia(media, kScreenWidth, kScreenHeight, embeddedFile);
  }
  Media media;
  Spiel spiel;
};

void TenMinutes(benchmark::State& state) {
  verify(state, tenMinutes());
  state.counters["bytes/min"] = static_cast<double>(encodeReplay(tenMinutes()).size()) / 10.0;
}

// Each jump lands one frame before a kept copy: the most frames a jump back plays.
void JumpBackInTenMinutes(benchmark::State& state) {
  Watching w;
  ReplayTimeline timeline(tenMinutes(), w.spiel);
  timeline.seek(w.media, timeline.frames());  // watched once: every copy kept
  uint32_t from = timeline.frames();
  for (auto _ : state) {
    const uint32_t target = (from - kReplayJump) / kReplayCopyEvery * kReplayCopyEvery - 1;
    timeline.seek(w.media, target);
    from = target > 2 * kReplayJump ? target : timeline.frames();
    state.PauseTiming();
    timeline.seek(w.media, from);
    state.ResumeTiming();
  }
}

// From the frame watched last, 10 s on, where no copy is kept yet.
void JumpForthUnplayedInTenMinutes(benchmark::State& state) {
  Watching w;
  for (auto _ : state) {
    state.PauseTiming();
    ReplayTimeline timeline(tenMinutes(), w.spiel);
    timeline.seek(w.media, 5 * 60 * kReplayFramesPerSecond);
    state.ResumeTiming();
    timeline.seek(w.media, timeline.frame() + kReplayJump);
  }
}

void TwoPlayers(benchmark::State& state) { verify(state, "zwei_spieler.kfr"); }
void OnePlayerTwoEnemies(benchmark::State& state) { verify(state, "einzelspieler.kfr"); }
BENCHMARK(TwoPlayers)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePlayerTwoEnemies)->Unit(benchmark::kMillisecond);
BENCHMARK(TenMinutes)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(JumpBackInTenMinutes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JumpForthUnplayedInTenMinutes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(8);

}  // namespace

BENCHMARK_MAIN();
