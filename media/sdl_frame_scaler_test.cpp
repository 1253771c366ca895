// The frame scaler against an exact bilinear stretch and against SDL's own linear stretch,
// and scaling only what changed against scaling everything.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "media/frame_scaler.h"

namespace {

constexpr Size kFrame{1680, 1050};

// Noise beside hard edges and thin lines: what a stretch blurs or misplaces shows up.
std::vector<uint32_t> testFrame(uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> frame(static_cast<size_t>(kFrame.w) * kFrame.h);
  for (int y = 0; y < kFrame.h; ++y) {
    for (int x = 0; x < kFrame.w; ++x) {
      uint32_t p = random() & 0xFFFFFF;
      if (x > 400) p = (x / 7 + y / 5) % 2 != 0 ? 0xFFFFFF : 0x000000;
      if (x > 1200) p = 0x0177FE;
      if (x % 97 == 0 || y % 89 == 0) p = 0xFF00FF;
      frame[static_cast<size_t>(y) * kFrame.w + x] = p;
    }
  }
  return frame;
}

// The exact bilinear value of one channel at window pixel (x, y), pixel centres aligned.
double exactChannel(const std::vector<uint32_t>& frame, Size window, int x, int y, int shift) {
  const auto at = [&](int sx, int sy) {
    sx = std::clamp(sx, 0, kFrame.w - 1);
    sy = std::clamp(sy, 0, kFrame.h - 1);
    return double((frame[static_cast<size_t>(sy) * kFrame.w + sx] >> shift) & 0xFF);
  };
  const double sx = std::max(0.0, (x + 0.5) * kFrame.w / window.w - 0.5);
  const double sy = std::max(0.0, (y + 0.5) * kFrame.h / window.h - 0.5);
  const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
  const double fx = sx - x0, fy = sy - y0;
  const double top = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
  const double bottom = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
  return top * (1 - fy) + bottom * fy;
}

struct Error {
  double largest = 0, mean = 0;
};

Error errorOf(const std::vector<uint32_t>& frame, Size window, const std::vector<uint32_t>& shown) {
  Error e;
  for (int y = 0; y < window.h; ++y) {
    for (int x = 0; x < window.w; ++x) {
      for (int shift : {0, 8, 16}) {
        const double got = (shown[static_cast<size_t>(y) * window.w + x] >> shift) & 0xFF;
        const double d = std::abs(got - exactChannel(frame, window, x, y, shift));
        e.largest = std::max(e.largest, d);
        e.mean += d;
      }
    }
  }
  e.mean /= 3.0 * window.w * window.h;
  return e;
}

std::vector<uint32_t> scaledWhole(const std::vector<uint32_t>& frame, Size window) {
  FrameScaler scaler(kFrame, window);
  std::vector<uint32_t> shown(static_cast<size_t>(window.w) * window.h);
  scaler.scale(frame.data(), FrameChanges{}, shown.data(), window.w);
  return shown;
}

std::vector<uint32_t> scaledBySdl(std::vector<uint32_t> frame, Size window) {
  std::vector<uint32_t> shown(static_cast<size_t>(window.w) * window.h);
  SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(frame.data(), kFrame.w, kFrame.h, 32,
                                                         kFrame.w * 4, SDL_PIXELFORMAT_RGB888);
  SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(shown.data(), window.w, window.h, 32,
                                                       window.w * 4, SDL_PIXELFORMAT_RGB888);
  EXPECT_EQ(SDL_SoftStretchLinear(from, nullptr, to, nullptr), 0) << SDL_GetError();
  SDL_FreeSurface(from);
  SDL_FreeSurface(to);
  for (uint32_t& p : shown) p &= 0xFFFFFF;
  return shown;
}

// Within one and a half steps of the exact stretch everywhere, and on average at least as close to
// it as SDL's linear stretch (what the window showed before). The same size is the frame itself.
TEST(FrameScaler, StretchesAsCloseToExactBilinearAsSdlOrCloser) {
  const std::vector<uint32_t> frame = testFrame(1);
  EXPECT_EQ(scaledWhole(frame, kFrame), frame);
  for (const Size window :
       {Size{1920, 1080}, Size{2560, 1440}, Size{1024, 768}, Size{1681, 1051}}) {
    const Error ours = errorOf(frame, window, scaledWhole(frame, window));
    const Error sdl = errorOf(frame, window, scaledBySdl(frame, window));
    EXPECT_LE(ours.largest, 1.5) << window.w << "x" << window.h;
    EXPECT_LE(ours.mean, sdl.mean) << window.w << "x" << window.h;
    std::printf("%dx%d: largest error %.2f (SDL %.2f), mean %.3f (SDL %.3f)\n", window.w, window.h,
                ours.largest, sdl.largest, ours.mean, sdl.mean);
  }
}

// A window kept up to date with only the changed boxes of each frame shows what a whole
// stretch of the last frame shows, whatever the size, wherever the boxes lie.
TEST(FrameScaler, ScalingOnlyWhatChangedShowsTheWholeFrame) {
  // Corners, the first and the last pixel of a tile, boxes across tiles and off the frame.
  constexpr int tw = FrameScaler::kTileW, th = FrameScaler::kTileH;
  const std::vector<ScreenBox> boxes = {
      {0, 0, 1, 1},   {1679, 1049, 1, 1},   {3 * tw, 3 * th, 1, 1}, {5 * tw - 1, 5 * th - 1, 1, 1},
      {33, 17, 3, 3}, {700, 500, 150, 150}, {1600, 0, 80, 1050},    {-5, 1000, 30, 100}};
  for (const Size window : {kFrame, Size{1920, 1080}, Size{2560, 1440}, Size{1024, 768}}) {
    FrameScaler scaler(kFrame, window);
    std::vector<uint32_t> frame = testFrame(2);
    std::vector<uint32_t> shown(static_cast<size_t>(window.w) * window.h);
    scaler.scale(frame.data(), FrameChanges{}, shown.data(), window.w);
    std::mt19937 random(3);
    for (const ScreenBox& b : boxes) {
      for (int y = std::max(b.y, 0); y < std::min(b.y + b.h, kFrame.h); ++y) {
        for (int x = std::max(b.x, 0); x < std::min(b.x + b.w, kFrame.w); ++x)
          frame[static_cast<size_t>(y) * kFrame.w + x] = random() & 0xFFFFFF;
      }
    }
    const auto& rects =
        scaler.scale(frame.data(), FrameChanges{false, boxes}, shown.data(), window.w);
    EXPECT_EQ(shown, scaledWhole(frame, window)) << window.w << "x" << window.h;
    int64_t written = 0;
    for (const ScreenBox& r : rects) written += int64_t{r.w} * r.h;
    EXPECT_LT(written, int64_t{window.w} * window.h / 4) << window.w << "x" << window.h;
    // Boxes drawn again just as they were: nothing to scale, nothing to show.
    EXPECT_TRUE(
        scaler.scale(frame.data(), FrameChanges{false, boxes}, shown.data(), window.w).empty());
    // Boxes said to be mostly new are scaled without comparing; a frame compared after them
    // (here going back to the frame before) is not compared with what they replaced.
    const std::vector<uint32_t> before = frame;
    for (const ScreenBox& b : boxes) {
      for (int y = std::max(b.y, 0); y < std::min(b.y + b.h, kFrame.h); ++y)
        frame[static_cast<size_t>(y) * kFrame.w + std::max(b.x, 0)] ^= 0x00FF00;
    }
    scaler.scale(frame.data(), FrameChanges{false, boxes, true}, shown.data(), window.w);
    EXPECT_EQ(shown, scaledWhole(frame, window)) << window.w << "x" << window.h;
    scaler.scale(before.data(), FrameChanges{false, boxes}, shown.data(), window.w);
    EXPECT_EQ(shown, scaledWhole(before, window)) << window.w << "x" << window.h;
  }
}

// Only what changed scaled: for random boxes (cannonballs, a ship's box before and after a
// move, boxes over the edges; wholly new, with one pixel changed, or as they were) frame
// after frame, said to be mostly new, compared already or neither, the window shows the whole
// stretch, and every window pixel that changed lies in a rectangle handed on to be shown.
TEST(FrameScaler, BoxesScaledWhereTheyChangedShowTheWholeFrame) {
  for (const Size window : {kFrame, Size{1920, 1080}, Size{2560, 1440}, Size{1681, 1051}}) {
    FrameScaler scaler(kFrame, window);
    std::vector<uint32_t> frame = testFrame(4);
    std::vector<uint32_t> shown(static_cast<size_t>(window.w) * window.h);
    scaler.scale(frame.data(), FrameChanges{}, shown.data(), window.w);
    std::mt19937 random(5);
    const auto upTo = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 6; ++round) {
      std::vector<ScreenBox> boxes;
      for (int i = 0; i < 40; ++i) {
        const ScreenBox b{upTo(kFrame.w + 40) - 20, upTo(kFrame.h + 40) - 20,
                          i % 4 == 0 ? 1 + upTo(160) : 3, i % 4 == 0 ? 1 + upTo(150) : 3};
        boxes.push_back(b);
        boxes.push_back({b.x + upTo(5) - 2, b.y + upTo(5) - 2, b.w, b.h});
      }
      for (size_t i = 0; i < boxes.size(); ++i) {
        const ScreenBox& b = boxes[i];
        const int x0 = std::max(b.x, 0), x1 = std::min(b.x + b.w, kFrame.w);
        const int y0 = std::max(b.y, 0), y1 = std::min(b.y + b.h, kFrame.h);
        if (x0 >= x1 || y0 >= y1 || i % 3 == 2) continue;
        for (int y = y0; y < y1; ++y) {
          for (int x = x0; x < x1; ++x) {
            if (i % 3 == 0 || (x == x0 + (x1 - x0) * round / 5 && y == y1 - 1 - round % (y1 - y0)))
              frame[static_cast<size_t>(y) * kFrame.w + x] = random() & 0xFFFFFF;
          }
        }
      }
      const std::vector<uint32_t> before = shown;
      FrameChanges changes{false, boxes, round % 2 == 0};
      changes.compared = round % 3 == 1;
      const std::vector<ScreenBox>& rects =
          scaler.scale(frame.data(), changes, shown.data(), window.w);
      ASSERT_EQ(shown, scaledWhole(frame, window)) << window.w << "x" << window.h;
      for (int y = 0; y < window.h; ++y) {
        for (int x = 0; x < window.w; ++x) {
          const size_t at = static_cast<size_t>(y) * window.w + x;
          if (shown[at] == before[at]) continue;
          const bool inRect = std::any_of(rects.begin(), rects.end(), [&](const ScreenBox& r) {
            return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
          });
          ASSERT_TRUE(inRect) << x << "," << y << " in " << window.w << "x" << window.h;
        }
      }
    }
  }
}

}  // namespace
