// The computer captains' cost: one frame of three captains of each level in a running battle
// (close range, the ships moving), as microseconds per ship and frame. The movement of the
// four ships is timed with them, so the figure is an upper bound.
#include <benchmark/benchmark.h>

#include "settings/settings_keys.h"
#include "ships/kapitaene.h"
#include "ships/ruder.h"

namespace {

Spiel Gefecht(int32_t stufe) {
  Spiel spiel;
  spiel.SpielModus = kEinzelspieler;
  spiel.Gegneranzahl = 3;
  spiel.Kapitaensstufe = stufe;
  spiel.Option = 1;
  spiel.Reichweite = 100;
  spiel.Schiffstabelle.fill(defaultShipClass());
  const double plaetze[4][3] = {{800, 500, 50}, {1100, 300, 230}, {500, 300, 75}, {900, 800, 330}};
  for (int i = 0; i < kSchiffsAnzahl; ++i) {
    Schiff& s = spiel.Flotte[i];
    s = Schiff{
        plaetze[i][0], plaetze[i][1], 2.0, plaetze[i][2], 100, 40, 40, 0, 0, 0, 100, i, 0, 0, 0};
  }
  return spiel;
}

void captainsPerShipAndFrame(benchmark::State& state) {
  Spiel spiel = Gefecht(static_cast<int32_t>(state.range(0)));
  const Spiel anfang = spiel;
  int frame = 0;
  for (auto _ : state) {
    ComputerKapitaene(spiel);
    for (int i = 0; i < kSchiffsAnzahl; ++i) SchiffBewegen(spiel, i);
    // Player 1 sails a wide circle; every 2,000 frames the battle starts over.
    spiel.Flotte[0].Kurs += 0.3;
    if (++frame % 2000 == 0) spiel = anfang;
    benchmark::DoNotOptimize(spiel.Flotte[1].Kurs);
  }
  state.SetItemsProcessed(state.iterations() * 3);  // ship-frames
  state.SetLabel(state.range(0) < 0 ? "Leicht" : state.range(0) == 0 ? "Normal" : "Schwer");
}
BENCHMARK(captainsPerShipAndFrame)
    ->Arg(kStufeLeicht)
    ->Arg(kStufeNormal)
    ->Arg(kStufeSchwer)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
