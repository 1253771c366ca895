// One whole worst-case battle frame on the headless backend (four ships, two of them sinking
// in flames, the overlay, 3,000 balls in flight; /1: every battery firing as well), and a
// usual one, next to one plain copy of the back buffer, and the ratios: in the list at the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "assets/embedded.h"
#include "bench/copy_ratio.h"
#include "flow/schlacht.h"
#include "flow/start.h"
#include "flow/start_record.h"
#include "gunnery/kugeln.h"
#include "media/frame_scaler.h"
#include "media/headless.h"
#include "settings/settings_keys.h"

namespace {

constexpr int kKugeln = 3000;

struct Schlacht {
  Spiel spiel;
  HeadlessBackend* backend = nullptr;
  std::unique_ptr<Media> media;
};

// Balls spread over the field, three in eleven fired by Player 1, as in a long single-player
// fight with every battery firing in every frame.
void KugelnVerteilen(Spiel& spiel) {
  std::mt19937 zufall(5);
  std::uniform_real_distribution<double> x(0, 1680), y(0, 1050), kurs(1, 360);
  for (int i = 0; i < kKugeln; ++i) {
    const int32_t seite = 1 + i % 2;
    if (i % 11 < 3) {
      KugelAnhaengen(spiel.ListeA, x(zufall), y(zufall), 5, kurs(zufall), seite);
    } else {
      KugelAnhaengen(spiel.ListeB, x(zufall), y(zufall), 5, kurs(zufall), seite,
                     static_cast<int8_t>(1 + i % 3));
    }
  }
}

// A battle window on the headless backend, with the game's pictures and sounds loaded.
std::unique_ptr<Schlacht> SchlachtFenster(
    std::unique_ptr<HeadlessBackend> backend = std::make_unique<HeadlessBackend>()) {
  auto s = std::make_unique<Schlacht>();
  s->backend = backend.get();
  s->media = std::make_unique<Media>(std::move(backend), 1);
  Hochfahren(s->spiel, *s->media);
  openBattleMedia(*s->media, kScreenWidth, kScreenHeight, embeddedFile);
  return s;
}

std::unique_ptr<Schlacht> SchlachtAufbauen(bool feuern) {
  auto s = SchlachtFenster();
  Spiel& spiel = s->spiel;
  Media& media = *s->media;
  StartRecord start = defaultStartRecord(kEinzelspieler, 3, media.randomSeed());
  start.Option = 0;
  start.SchussLautstaerke = start.TrefferLautstaerke = 20;
  for (int i = 0; i < 4; ++i) start.Flotte[i].Klasse = 7 - i;
  spiel.Sound = 1;
  startBattle(spiel, start);
  for (int i : {2, 3}) {
    spiel.Flotte[i].Health = 0;
    spiel.Flotte[i].Untergang = 50;
  }
  for (int i = 1; i < 4; ++i) spiel.Flotte[i].FeuerLinks = spiel.Flotte[i].FeuerRechts = feuern;
  s->backend->setKey(Key::V, feuern);
  s->backend->setKey(Key::B, feuern);
  s->backend->setKey(Key::W, true);
  KugelnVerteilen(spiel);
  // One frame first, so that the pictures carry their angles.
  const Spiel vorher = spiel;
  Frame(spiel, media);
  spiel = vorher;
  return s;
}

// Frames follow each other as in a battle (the picture changes from one to the next as the
// balls fly and the ships sail and turn); every 16 frames the battle goes back to its start,
// outside the timing, so that the balls stay in the air.
// Frames one after the other; every `zurueck` frames the battle goes back to where it began,
// outside the timing.
void FramesMessen(benchmark::State& state, Schlacht& schlacht, int zurueck) {
  const Spiel anfang = schlacht.spiel;
  int frames = 0;
  for (auto _ : state) {
    if (++frames % zurueck == 0) {
      state.PauseTiming();
      schlacht.spiel = anfang;
      state.ResumeTiming();
    }
    Frame(schlacht.spiel, *schlacht.media);
    benchmark::ClobberMemory();
  }
}

void worstCaseBattleFrame(benchmark::State& state) {
  auto schlacht = SchlachtAufbauen(state.range(0) != 0);
  const size_t kugeln = schlacht->spiel.ListeA.size() + schlacht->spiel.ListeB.size();
  FramesMessen(state, *schlacht, 16);
  state.counters["balls"] = static_cast<double>(kugeln);
}
BENCHMARK(worstCaseBattleFrame)->Apply([](benchmark::internal::Benchmark* b) {
  withBest(b)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly(true);
});

// A usual battle, as the CPU-share script plays it: two players sail with every battery
// firing, a few hundred balls in the air. Taken after 300 frames, and back there every 256.
std::unique_ptr<Schlacht> GewoehnlicheSchlacht(
    std::unique_ptr<HeadlessBackend> backend = std::make_unique<HeadlessBackend>()) {
  auto s = SchlachtFenster(std::move(backend));
  Spiel& spiel = s->spiel;
  Media& media = *s->media;
  StartRecord start = defaultStartRecord(kZweiSpieler, 1, 1);
  start.SchussLautstaerke = start.TrefferLautstaerke = 20;
  startBattle(spiel, start);
  spiel.Sound = 1;
  for (Key key : {Key::W, Key::V, Key::B, Key::Up, Key::Keypad1, Key::Keypad2}) {
    s->backend->setKey(key, true);
  }
  for (int f = 0; f < 300; ++f) Frame(spiel, media);
  return s;
}

void usualBattleFrame(benchmark::State& state) {
  auto schlacht = GewoehnlicheSchlacht();
  FramesMessen(state, *schlacht, 256);
  state.counters["balls"] =
      static_cast<double>(schlacht->spiel.ListeA.size() + schlacht->spiel.ListeB.size());
}
BENCHMARK(usualBattleFrame)->Apply([](benchmark::internal::Benchmark* b) {
  withBest(b)->Repetitions(9)->ReportAggregatesOnly(true);
});

// Frames stretched onto a window as the window surface's presenter does, timed alone.
class ScalingBackend : public HeadlessBackend {
 public:
  explicit ScalingBackend(Size window)
      : scaler_({kScreenWidth, kScreenHeight}, window),
        window_(static_cast<size_t>(window.w) * window.h) {}
  void presentChanges(const uint32_t* pixels, int w, int h, const FrameChanges& changes) override {
    const auto start = std::chrono::steady_clock::now();
    scaler_.scale(pixels, changes, window_.data(), scaler_.target().w);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    HeadlessBackend::presentChanges(pixels, w, h, changes);
  }
  bool wantsComparedChanges() const override { return scaler_.stretches(); }
  double seconds = 0;

 private:
  FrameScaler scaler_;
  std::vector<uint32_t> window_;
};

// The usual battle's frames stretched onto windows of the common desktop sizes (the same size
// is a copy): the stretch's time alone, between frames drawn as in the game.
void usualBattleFrameStretched(benchmark::State& state) {
  const Size window{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
  auto owned = std::make_unique<ScalingBackend>(window);
  ScalingBackend& backend = *owned;
  auto schlacht = GewoehnlicheSchlacht(std::move(owned));
  const Spiel anfang = schlacht->spiel;
  int frames = 0;
  for (auto _ : state) {
    if (++frames % 256 == 0) schlacht->spiel = anfang;
    backend.seconds = 0;
    Frame(schlacht->spiel, *schlacht->media);
    state.SetIterationTime(backend.seconds);
  }
}
BENCHMARK(usualBattleFrameStretched)
    ->Args({1680, 1050})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runWithCopyRatios(argc, argv); }
