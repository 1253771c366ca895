// Costs of the compositor's main operations, next to a plain copy of the back buffer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "assets/embedded.h"
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

void BM_PlainBackBufferCopy(benchmark::State& state) {
  const size_t pixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;
  std::vector<uint32_t> from(pixels, 0x0177FE), to(pixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), pixels * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainBackBufferCopy)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
