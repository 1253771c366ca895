// The worst-case battle frame's draw list, made of media calls alone: four ships turned, two
// of them sinking under flames, both players' panels, the needles, 3,000 cannonballs drawn
// and tested against every hit disc, muzzle flames and smoke, and the result text. It needs
// nothing of the battle's code, so it measures the compositor as the battle will use it. Beside
// it the same frame drawn by SDL's own software renderer (sdl_renderer_frame.cpp).
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "basis/rounding.h"
#include "bench/battle_media.h"
#include "bench/copy_ratio.h"
#include "media/media.h"

namespace {

using namespace catalogue;

constexpr Rgb kBlack{0, 0, 0}, kGreen{101, 156, 61}, kRed{255, 0, 0};

constexpr int kBalls = 3000;

struct Ship {
  double x, y, heading;
  int picture;  // rotatable number: 8 x ship + class
  bool sinking;
};

const std::array<Ship, 4> kShips = {
    Ship{150.3, 800.0, 33.3, 0 * 8 + 7, false}, Ship{1380.0, 100.5, 212.6, 1 * 8 + 3, false},
    Ship{700.0, 420.0, -47.25, 2 * 8 + 5, true}, Ship{-60.0, 1000.0, 1081.5, 3 * 8 + 0, true}};

struct Ball {
  int x, y;
  int sprite;
};

struct Disc {
  int x, y, sprite;
};

// Top-left corners of a ship's bow, waist and stern discs.
std::array<Disc, 3> discsOf(const Ship& s) {
  const double k = s.heading * std::numbers::pi / 180;
  const auto disc = [&](double along, int sprite) {
    return Disc{roundToInt(s.x + 55 + along * std::sin(k)),
                roundToInt(s.y + 55 - along * std::cos(k)), sprite};
  };
  return {disc(18, kFirstDisc), disc(-18, kFirstDisc + 1), disc(-55, kFirstDisc + 2)};
}

// The catalogue with every picture turned as in the middle of a fight.
std::unique_ptr<Media> fightingMedia() {
  auto media = battleMedia();
  for (const Ship& s : kShips) media->setRotation(s.picture, static_cast<float>(s.heading), false);
  media->setRotation(kNeedle2, 2.7f * 30, false);
  media->setRotation(kNeedle1, -(1.9f * 30 + 180), false);
  for (int f = 0; f < 4; ++f) {
    const Ship& s = kShips[f / 2];
    media->setRotation(kFirstMuzzleFlame + f, static_cast<float>(s.heading + (f % 2 ? -90 : 90)),
                       false);
  }
  media->setRotation(kFire0, static_cast<float>(kShips[0].heading), false);
  media->setRotation(kFireOthers, static_cast<float>(kShips[1].heading), false);
  return media;
}

// Balls of both lists spread over the field and a little beyond, as long streams leave them.
std::vector<Ball> ballsInFlight() {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> x(-20, 1700), y(-20, 1070);
  std::vector<Ball> balls;
  for (int i = 0; i < kBalls; ++i) balls.push_back({x(random), y(random), i % 2 ? kBallB : kBallA});
  return balls;
}

void drawPanel(Media& media, bool right, double health, double portGuns, double starboardGuns) {
  const auto at = [right](int x) { return right ? x + 1660 : x; };
  constexpr double kFullHealth = 100, kGuns = 40;
  media.fillCircle(right ? 1680 : 0, 1050, 100, kBlack);
  media.fillRoundBox(at(0), roundToInt(900 - 2 * kFullHealth), 20, roundToInt(2 * kFullHealth + 4),
                     5, 5, kBlack);
  media.fillRoundBox(at(2), roundToInt(902 - 2 * health), 16, roundToInt(2 * health), 5, 5, kGreen);
  const std::array<int, 4> labelX =
      right ? std::array{1658, 1625, 1600, 1590} : std::array{10, 40, 62, 80};
  const std::array<const char*, 4> labels = {"30", "20", "10", "0"};
  const std::array<int, 4> labelY = {956, 972, 996, 1026};
  for (size_t i = 0; i < labels.size(); ++i) media.drawText(labelX[i], labelY[i], labels[i]);
  const int base = right ? 1250 : 0;
  media.fillRoundBox(base + 220, 1030, 104, 20, 10, 10, kBlack);
  media.fillRoundBox(base + 222, 1032, roundToInt(starboardGuns * (100 / kGuns)), 16, 10, 10, kRed);
  media.fillRoundBox(base + 110, 1030, 104, 20, 10, 10, kBlack);
  media.fillRoundBox(base + roundToInt(212 - portGuns * (100 / kGuns)), 1032,
                     roundToInt(portGuns * (100 / kGuns)), 16, 10, 10, kRed);
}

void drawFrame(Media& media, const std::vector<Ball>& balls, int& hits) {
  media.clearScreen(kBlack);
  media.drawSprite(kSea, 0, 0);

  // Broadsides: a puff of smoke and a muzzle flame for each gun that fired.
  for (int f = 0; f < 4; ++f) {
    const Ship& s = kShips[f / 2];
    const int x = roundToInt(s.x + 70), y = roundToInt(s.y + 40 + 20 * f);
    media.drawTransparentSprite(kSmoke, x, y);
    media.beginRotatedDrawing();
    media.drawRotatable(kFirstMuzzleFlame + f, x, y);
    media.endRotatedDrawing();
  }

  for (const Ball& b : balls) media.drawTransparentSprite(b.sprite, b.x, b.y);
  std::array<std::array<Disc, 3>, 4> discs{};
  for (size_t i = 0; i < kShips.size(); ++i) discs[i] = discsOf(kShips[i]);
  for (const Ball& b : balls) {
    const size_t first = b.sprite == kBallB ? 0 : 1, last = b.sprite == kBallB ? 0 : 3;
    for (size_t ship = first; ship <= last; ++ship) {
      for (const Disc& d : discs[ship])
        hits += media.spritesOverlap(b.sprite, b.x, b.y, d.sprite, d.x, d.y);
    }
  }

  media.beginDrawing();
  drawPanel(media, false, 100, 30, 40);
  drawPanel(media, true, 37.25, 12, 3);
  media.drawText(roundToInt(kShips[2].x), roundToInt(kShips[2].y), "Health: 100");
  media.drawText(roundToInt(kShips[3].x), roundToInt(kShips[3].y), "Health: 37");
  media.endDrawing();

  media.beginRotatedDrawing();
  media.drawRotatable(kNeedle1, -60, 960);
  media.drawRotatable(kNeedle2, 1590, 960);
  for (const Ship& s : kShips) {
    media.drawRotatable(s.picture, roundToInt(s.x), roundToInt(s.y));
    if (s.sinking)
      media.drawRotatable(&s == &kShips[0] ? kFire0 : kFireOthers, roundToInt(s.x),
                          roundToInt(s.y));
  }
  media.endRotatedDrawing();

  media.beginDrawing();
  media.useFont(kResultFont);
  media.drawText(400, 400, "Player 1 Wins!");
  media.endDrawing();
}

// Out of line so that callgrind can count the measured frames alone:
//   valgrind --tool=callgrind --toggle-collect='*measuredFrame*' media_frame_bench
//   --benchmark_min_time=0
[[gnu::noinline]] void measuredFrame(Media& media, const std::vector<Ball>& balls, int& hits) {
  drawFrame(media, balls, hits);
}

void worstCaseFrame(benchmark::State& state) {
  auto media = fightingMedia();
  // The same frame again and again would cost next to nothing painted in part: this measures
  // the compositor painting every drawing, as a frame with much change does.
  media->repaintOnlyWhatChanged(false);
  const std::vector<Ball> balls = ballsInFlight();
  int hits = 0;
  drawFrame(*media, balls, hits);  // a battle draws thousands of frames: its steady state counts
  hits = 0;
  for (auto _ : state) {
    measuredFrame(*media, balls, hits);
    benchmark::DoNotOptimize(hits);
    benchmark::ClobberMemory();
  }
  state.counters["hits"] = hits / static_cast<double>(state.iterations());
}
BENCHMARK(worstCaseFrame)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  return runWithCopyRatios(argc, argv, {{"sdlSoftwareRendererWorstCaseFrame", "worstCaseFrame"}});
}
