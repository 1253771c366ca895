// Costs of the compositor's main operations, next to a plain copy of the back buffer.
#include <benchmark/benchmark.h>

#include <memory>

#include "assets/embedded.h"
#include "bench/copy_ratio.h"
#include "media/headless.h"
#include "media/media.h"

namespace {

constexpr int kSea = 40, kShip = 39, kTurned = 7;

std::unique_ptr<Media> battleMedia() {
  auto media = std::make_unique<Media>(std::make_unique<HeadlessBackend>(), 1);
  media->initMedia();
  media->openBattleWindow(kScreenWidth, kScreenHeight);
  media->openBattleScreen();
  media->createSprite(kSea, kScreenWidth, kScreenHeight);
  media->beginDrawing(kSea);
  media->fillBox(0, 0, kScreenWidth, kScreenHeight, Rgb{1, 119, 254});
  media->endDrawing();
  media->loadSprite(kShip, embeddedFile("ship7.bmp"), true);
  media->setTransparentColour(kShip, Rgb{255, 255, 255});
  media->createRotatable(kTurned, kShip);
  return media;
}

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
  media->loadFont(0, "impact", 100);
  media->beginDrawing();
  media->useFont(0);
  for (auto _ : state) {
    media->drawText(400, 400, "You win!");
    benchmark::ClobberMemory();
  }
  media->endDrawing();
}
BENCHMARK(BM_DrawResultText)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runWithCopyRatios(argc, argv); }
