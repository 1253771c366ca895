#include "media/change_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

bool holds(const ScreenBox& b, int x, int y) {
  return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
}

// Boxes that overlap, touch, cross the edges or lie off the picture, with pixels changed in
// some (one pixel, many, or painted again as they were): every pixel that changed lies in a
// box found, and each box found is a band's tight box around pixels that changed.
TEST(ChangeFinder, FindsEveryChangedPixelInTightBoxesBandByBand) {
  std::mt19937 random(11);
  const auto upTo = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  Image image(203, 117);
  for (uint32_t& p : image.pixels) p = random() & 0xFFFFFF;
  for (int round = 0; round < 40; ++round) {
    std::vector<ScreenBox> boxes;
    for (int i = 0; i < 1 + round % 9; ++i) {
      const ScreenBox b{upTo(240) - 20, upTo(150) - 20, 1 + upTo(70), 1 + upTo(40)};
      boxes.push_back(b);
      boxes.push_back({b.x + upTo(5) - 2, b.y + upTo(5) - 2, b.w, b.h});  // the same, moved
    }
    boxes.push_back({-5, 110, 300, 20});
    boxes.push_back({0, 0, 0, 50});
    const Image before = image;
    ChangeFinder finder;
    finder.keep(image, boxes);
    for (const ScreenBox& b : boxes) {
      if (upTo(3) == 0) continue;
      const int many = upTo(2) == 0 ? 1 : 40;
      for (int n = 0; n < many; ++n) {
        const int x = b.x + upTo(std::max(b.w, 1)), y = b.y + upTo(std::max(b.h, 1));
        if (x >= 0 && y >= 0 && x < image.w && y < image.h && b.w > 0 && b.h > 0)
          image.at(x, y) = upTo(4) == 0 ? before.at(x, y) : random() & 0xFFFFFF;
      }
    }
    std::vector<ScreenBox> found = {{1, 2, 3, 4}};  // appended to
    finder.compare(image, found);
    ASSERT_EQ(found.front().x, 1);
    found.erase(found.begin());
    for (int y = 0; y < image.h; ++y) {
      for (int x = 0; x < image.w; ++x) {
        if (image.at(x, y) == before.at(x, y)) continue;
        ASSERT_TRUE(std::any_of(found.begin(), found.end(),
                                [&](const ScreenBox& b) { return holds(b, x, y); }))
            << "round " << round << ": " << x << "," << y << " changed outside the boxes found";
      }
    }
    for (const ScreenBox& b : found) {
      ASSERT_TRUE(b.w > 0 && b.h > 0 && b.x >= 0 && b.y >= 0 && b.x + b.w <= image.w &&
                  b.y + b.h <= image.h &&
                  b.y / ChangeFinder::kBand == (b.y + b.h - 1) / ChangeFinder::kBand);
      const auto differs = [&](int x, int y) { return image.at(x, y) != before.at(x, y); };
      bool left = false, right = false, top = false, bottom = false;
      for (int i = 0; i < b.h; ++i) {
        left |= differs(b.x, b.y + i);
        right |= differs(b.x + b.w - 1, b.y + i);
      }
      for (int i = 0; i < b.w; ++i) {
        top |= differs(b.x + i, b.y);
        bottom |= differs(b.x + i, b.y + b.h - 1);
      }
      ASSERT_TRUE(left && right && top && bottom) << "round " << round << ": a box not tight";
    }
  }
}

}  // namespace
