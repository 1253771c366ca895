// Costs of the compositor's main operations, next to a plain copy of the back buffer.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/battle_media.h"
#include "bench/copy_ratio.h"
#include "media/media.h"

namespace {

using catalogue::kResultFont;
using catalogue::kSea;
constexpr int kTurned = 7;  // ship 0 of class 7, the flagship

void BM_DrawRotatableShip(benchmark::State& state) {
  auto media = battleMedia();
  media->setRotation(kTurned, 33.3f, false);
  for (auto _ : state) {
    media->drawRotatable(kTurned, 700, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawRotatableShip)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_ClearAndSea(benchmark::State& state) {
  auto media = battleMedia();
  for (auto _ : state) {
    media->clearScreen(Rgb{0, 0, 0});
    media->drawSprite(kSea, 0, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClearAndSea)->Repetitions(9)->ReportAggregatesOnly(true);

// The overlay writes a dozen small labels per frame; the result text is large.
void BM_DrawSmallLabel(benchmark::State& state) {
  auto media = battleMedia();
  media->beginDrawing();
  for (auto _ : state) {
    media->drawText(10, 956, "30");
    benchmark::ClobberMemory();
  }
  media->endDrawing();
}
BENCHMARK(BM_DrawSmallLabel)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_DrawResultText(benchmark::State& state) {
  auto media = battleMedia();
  media->beginDrawing();
  media->useFont(kResultFont);
  for (auto _ : state) {
    media->drawText(400, 400, "You win!");
    benchmark::ClobberMemory();
  }
  media->endDrawing();
}
BENCHMARK(BM_DrawResultText)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runWithCopyRatios(argc, argv); }
