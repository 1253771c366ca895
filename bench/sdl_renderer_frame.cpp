// The worst-case frame of media_frame_bench drawn by SDL2's own software renderer, as a
// game would draw it without our compositor: a surface of the back buffer's size, the same
// pictures as textures with their transparent colours, turned with SDL_RenderCopyEx and
// linear filtering. Shapes SDL cannot draw (circles, round boxes) become the rows of
// rectangles they cover. The balls' hit tests are left out: SDL has none, so the
// comparison flatters SDL.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "media/media.h"

namespace {

struct Picture {
  SDL_Texture* texture = nullptr;
  int w = 0, h = 0;
};

Picture load(SDL_Renderer* renderer, const char* file, SDL_Color key) {
  const std::span<const uint8_t> bytes = embeddedFile(file);
  SDL_Surface* surface =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (surface == nullptr) return {};
  SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, key.r, key.g, key.b));
  Picture p{SDL_CreateTextureFromSurface(renderer, surface), surface->w, surface->h};
  SDL_FreeSurface(surface);
  return p;
}

Picture text(SDL_Renderer* renderer, int w, int h) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255));
  SDL_SetColorKey(surface, SDL_TRUE, 0);
  Picture p{SDL_CreateTextureFromSurface(renderer, surface), w, h};
  SDL_FreeSurface(surface);
  return p;
}

// The rows of a disc of radius r about (x, y).
std::vector<SDL_Rect> discRows(int x, int y, int r) {
  std::vector<SDL_Rect> rows;
  for (int dy = -r; dy <= r; ++dy) {
    const int half = static_cast<int>(std::sqrt(double(r) * r - double(dy) * dy));
    rows.push_back({x - half, y + dy, 2 * half + 1, 1});
  }
  return rows;
}

void turned(SDL_Renderer* renderer, const Picture& p, int x, int y, double degrees) {
  const SDL_Rect to{x, y, p.w, p.h};
  SDL_RenderCopyEx(renderer, p.texture, nullptr, &to, degrees, nullptr, SDL_FLIP_NONE);
}

void plain(SDL_Renderer* renderer, const Picture& p, int x, int y) {
  const SDL_Rect to{x, y, p.w, p.h};
  SDL_RenderCopy(renderer, p.texture, nullptr, &to);
}

void sdlSoftwareRendererWorstCaseFrame(benchmark::State& state) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_Surface* screen =
      SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Renderer* r = SDL_CreateSoftwareRenderer(screen);
  if (r == nullptr) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  constexpr SDL_Color white{255, 255, 255, 255}, black{0, 0, 0, 255};
  std::array<Picture, 8> ships{};
  for (int k = 0; k < 8; ++k)
    ships[k] = load(r, ("ship" + std::to_string(k) + ".bmp").c_str(), white);
  const Picture ball = load(r, "ball.bmp", black), smoke = load(r, "smoke.bmp", black);
  const Picture flame = load(r, "flame.bmp", black), fire = load(r, "fire.bmp", black);
  const Picture needle = load(r, "needle.bmp", black);
  const Picture label = text(r, 20, 14), health = text(r, 90, 16), result = text(r, 700, 120);
  struct Ship {
    int x, y;
    double heading;
    int klasse;
    bool sinking;
  };
  const std::array<Ship, 4> fleet = {
      Ship{150, 800, 33.3, 7, false}, Ship{1380, 100, 212.6, 3, false},
      Ship{700, 420, -47.25, 5, true}, Ship{-60, 1000, 1081.5, 0, true}};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> bx(-20, 1700), by(-20, 1070);
  std::vector<SDL_Point> balls(3000);
  for (SDL_Point& b : balls) b = {bx(random), by(random)};
  std::vector<SDL_Rect> blackRects = discRows(0, 1050, 100);
  for (const SDL_Rect& row : discRows(1680, 1050, 100)) blackRects.push_back(row);
  for (const SDL_Rect box :
       {SDL_Rect{0, 700, 20, 204}, SDL_Rect{1660, 700, 20, 204}, SDL_Rect{220, 1030, 104, 20},
        SDL_Rect{110, 1030, 104, 20}, SDL_Rect{1470, 1030, 104, 20}, SDL_Rect{1360, 1030, 104, 20}})
    blackRects.push_back(box);
  const std::array<SDL_Rect, 2> green = {SDL_Rect{2, 702, 16, 200}, SDL_Rect{1662, 828, 16, 74}};
  const std::array<SDL_Rect, 4> red = {SDL_Rect{222, 1032, 100, 16}, SDL_Rect{137, 1032, 75, 16},
                                       SDL_Rect{1472, 1032, 8, 16}, SDL_Rect{1432, 1032, 30, 16}};
  for (auto _ : state) {
    SDL_SetRenderDrawColor(r, 1, 119, 254, 255);
    SDL_RenderClear(r);
    for (int f = 0; f < 4; ++f) {
      const Ship& s = fleet[f / 2];
      const int x = s.x + 70, y = s.y + 40 + 20 * f;
      plain(r, smoke, x, y);
      turned(r, flame, x, y, s.heading + (f % 2 ? -90 : 90));
    }
    for (size_t i = 0; i < balls.size(); ++i) plain(r, ball, balls[i].x, balls[i].y);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRects(r, blackRects.data(), static_cast<int>(blackRects.size()));
    SDL_SetRenderDrawColor(r, 101, 156, 61, 255);
    SDL_RenderFillRects(r, green.data(), static_cast<int>(green.size()));
    SDL_SetRenderDrawColor(r, 255, 0, 0, 255);
    SDL_RenderFillRects(r, red.data(), static_cast<int>(red.size()));
    for (int i = 0; i < 8; ++i)
      plain(r, label, i < 4 ? 10 + 25 * i : 1590 + 20 * (i - 4), 956 + 20 * (i % 4));
    plain(r, health, 700, 420);
    plain(r, health, -60, 1000);
    turned(r, needle, -60, 960, -(1.9 * 30 + 180));
    turned(r, needle, 1590, 960, 2.7 * 30);
    for (const Ship& s : fleet) {
      turned(r, ships[s.klasse], s.x, s.y, s.heading);
      if (s.sinking) turned(r, fire, s.x, s.y, s.heading);
    }
    plain(r, result, 400, 400);
    SDL_RenderFlush(r);
    benchmark::DoNotOptimize(screen->pixels);
    benchmark::ClobberMemory();
  }
  SDL_DestroyRenderer(r);
  SDL_FreeSurface(screen);
}
BENCHMARK(sdlSoftwareRendererWorstCaseFrame)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
