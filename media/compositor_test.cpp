#include "media/compositor.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kKey = 0x00FF00;
constexpr uint32_t kBack = 0x0000FF;

// 4 x 3, every pixel distinct, two of them the key colour.
Image sprite() {
  Image image(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) image.at(x, y) = 0x100000u * (y + 1) + 0x10u * (x + 1);
  }
  image.at(1, 1) = kKey;
  image.at(3, 0) = 0xFF000000u | kKey;  // the unused byte plays no part in transparency
  return image;
}

// What a copy must give, computed pixel by pixel in 64 bits.
Image expectedCopy(const Image& src, int64_t x, int64_t y, bool keyed) {
  Image dst(10, 8, kBack);
  for (int dy = 0; dy < dst.h; ++dy) {
    for (int dx = 0; dx < dst.w; ++dx) {
      const int64_t sx = dx - x, sy = dy - y;
      if (sx < 0 || sy < 0 || sx >= src.w || sy >= src.h) continue;
      const uint32_t p = src.at(static_cast<int>(sx), static_cast<int>(sy));
      if (!keyed || !isKey(p, kKey)) dst.at(dx, dy) = p;
    }
  }
  return dst;
}

struct Point {
  int x, y;
};

const std::vector<Point> kPlaces = {{3, 2},
                                    {-2, 1},
                                    {8, 1},
                                    {1, -2},
                                    {1, 6},
                                    {-3, -2},
                                    {9, 7},
                                    {-4, 0},
                                    {10, 0},
                                    {0, -3},
                                    {0, 8},
                                    {INT_MIN, 0},
                                    {INT_MAX, 0},
                                    {0, INT_MIN},
                                    {0, INT_MAX},
                                    {INT_MIN, INT_MIN},
                                    {INT_MAX, INT_MAX},
                                    {INT_MAX - 2, INT_MIN + 1}};

TEST(CopyImage, DrawsTheVisiblePartAtEveryEdgeAndNothingWhollyOutside) {
  for (const Point p : kPlaces) {
    Image opaque(10, 8, kBack), keyed(10, 8, kBack);
    copyImage(opaque, sprite(), p.x, p.y);
    copyImageKeyed(keyed, sprite(), p.x, p.y, kKey);
    EXPECT_EQ(opaque.pixels, expectedCopy(sprite(), p.x, p.y, false).pixels) << p.x << "," << p.y;
    EXPECT_EQ(keyed.pixels, expectedCopy(sprite(), p.x, p.y, true).pixels) << p.x << "," << p.y;
  }
}

TEST(ImagesOverlap, RectanglesThatOnlyTouchDoNotOverlap) {
  const Image a(4, 3, 0xFFFFFF), b(5, 2, 0xFFFFFF);
  EXPECT_FALSE(imagesOverlap(a, 0, 10, 10, b, 0, 14, 10));  // b right of a
  EXPECT_FALSE(imagesOverlap(a, 0, 10, 10, b, 0, 5, 10));   // b left of a
  EXPECT_FALSE(imagesOverlap(a, 0, 10, 10, b, 0, 10, 13));  // b below a
  EXPECT_FALSE(imagesOverlap(a, 0, 10, 10, b, 0, 10, 8));   // b above a
  EXPECT_TRUE(imagesOverlap(a, 0, 10, 10, b, 0, 13, 12));   // one shared corner pixel
  EXPECT_TRUE(imagesOverlap(a, 0, 10, 10, b, 0, 6, 9));     // one shared pixel at (10, 10)
}

TEST(ImagesOverlap, SharedPixelsCountOnlyWhereBothAreOpaque) {
  Image a(3, 3, kKey), b(3, 3, 0x000000);
  a.at(0, 0) = 0x123456;  // a's only opaque pixel
  b.at(2, 2) = 0x345678;  // b's only opaque pixel, on key black
  EXPECT_FALSE(imagesOverlap(a, kKey, 0, 0, b, 0x000000, 1, 1));  // a's pixel meets b's key
  EXPECT_FALSE(imagesOverlap(a, kKey, 0, 0, b, 0x000000, -1, -1));
  EXPECT_TRUE(imagesOverlap(a, kKey, 0, 0, b, 0x000000, -2, -2));
  // Other keys, same pictures: what was transparent now counts.
  EXPECT_TRUE(imagesOverlap(a, 0x010101, 0, 0, b, 0x010101, 1, 1));
}

TEST(ImagesOverlap, ExtremePositionsNeitherOverflowNorOverlap) {
  const Image a(4, 4, 0xFFFFFF);
  EXPECT_FALSE(imagesOverlap(a, 0, INT_MAX, 0, a, 0, INT_MIN, 0));
  EXPECT_FALSE(imagesOverlap(a, 0, INT_MAX - 1, 0, a, 0, INT_MIN, 0));
  EXPECT_TRUE(imagesOverlap(a, 0, INT_MAX, INT_MAX, a, 0, INT_MAX - 2, INT_MAX - 3));
}

std::vector<uint32_t> filled(void (*draw)(Image&), int w = 200, int h = 60) {
  Image image(w, h, kBack);
  draw(image);
  return image.pixels;
}

// Columns [from, to] of one row that hold `colour`, or {-1, -1}.
std::pair<int, int> columnsOf(const Image& image, int row, uint32_t colour) {
  int from = -1, to = -1;
  for (int x = 0; x < image.w; ++x) {
    if (image.at(x, row) != colour) continue;
    if (from < 0) from = x;
    to = x;
  }
  return {from, to};
}

TEST(FillRoundBox, NegativeSizesExtendLeftAndUpAndRadiiAreCutToHalf) {
  Image image(200, 60, kBack);
  fillRoundBox(image, 100, 30, -20, -10, 0, 0, 1);
  EXPECT_EQ(columnsOf(image, 20, 1), std::make_pair(80, 99));
  EXPECT_EQ(columnsOf(image, 29, 1), std::make_pair(80, 99));
  EXPECT_EQ(columnsOf(image, 19, 1), std::make_pair(-1, -1));
  EXPECT_EQ(columnsOf(image, 30, 1), std::make_pair(-1, -1));
  EXPECT_EQ(filled([](Image& i) { fillRoundBox(i, 100, 30, -20, -10, 5, 5, 1); }),
            filled([](Image& i) { fillRoundBox(i, 80, 20, 20, 10, 5, 5, 1); }));
  EXPECT_EQ(filled([](Image& i) { fillRoundBox(i, 10, 10, 16, 21, 500, 100, 1); }),
            filled([](Image& i) { fillRoundBox(i, 10, 10, 16, 21, 8, 10, 1); }));
  EXPECT_NE(filled([](Image& i) { fillRoundBox(i, 10, 10, 16, 21, 8, 10, 1); }),
            filled([](Image& i) { fillRoundBox(i, 10, 10, 16, 21, 7, 10, 1); }));
  EXPECT_EQ(filled([](Image& i) { fillRoundBox(i, 10, 10, 16, 21, 0, 10, 1); }),
            filled([](Image& i) { fillBox(i, 10, 10, 16, 21, 1); }));
}

TEST(FillRoundBox, CornersAreRoundAndTheShapeIsSymmetric) {
  Image image(40, 40, kBack);
  fillRoundBox(image, 5, 6, 25, 17, 6, 4, 1);
  EXPECT_EQ(image.at(5, 6), kBack);                           // corner cut away
  EXPECT_EQ(columnsOf(image, 14, 1), std::make_pair(5, 29));  // middle row full width
  EXPECT_EQ(columnsOf(image, 5, 1), std::make_pair(-1, -1));
  EXPECT_EQ(columnsOf(image, 23, 1), std::make_pair(-1, -1));
  for (int row = 6; row < 23; ++row) {
    const auto [from, to] = columnsOf(image, row, 1);
    EXPECT_EQ(from - 5, 29 - to) << "row " << row;
    EXPECT_EQ(columnsOf(image, 6 + 22 - row, 1), std::make_pair(from, to)) << "row " << row;
  }
  EXPECT_GT(columnsOf(image, 6, 1).first, 5);
}

TEST(FillShapes, WildSizesAndPositionsClipWithoutOverflow) {
  Image image(20, 10, kBack);
  fillBox(image, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1);  // ends at -1 on both axes
  EXPECT_EQ(image.pixels, Image(20, 10, kBack).pixels);
  fillBox(image, -5, -5, INT_MAX, INT_MAX, 2);
  EXPECT_EQ(image.pixels, std::vector<uint32_t>(200, 2));
  // Spans from -1 to 2^31 - 2: the corner ellipses are far larger than the image.
  fillRoundBox(image, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 3);
  fillRoundBox(image, INT_MIN, 0, INT_MAX, 5, INT_MIN, 2, 3);
  fillBox(image, 3, 3, 0, 5, 3);
  fillBox(image, 3, 3, -2, 5, 3);
  EXPECT_EQ(image.pixels, std::vector<uint32_t>(200, 2));
  fillRoundBox(image, INT_MAX, 0, INT_MIN, 5, 0, 0, 3);  // x -1 to 2^31 - 2, rows 0 to 4
  EXPECT_EQ(columnsOf(image, 4, 3), std::make_pair(0, 19));
  EXPECT_EQ(columnsOf(image, 5, 3), std::make_pair(-1, -1));
}

TEST(FillCircle, CoversExactlyThePixelsWithinTheRadius) {
  for (int r : {0, 1, 3, 7, 12}) {
    Image image(40, 40, kBack);
    fillCircle(image, 20, 19, r, 1);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const int dx = x - 20, dy = y - 19;
        EXPECT_EQ(image.at(x, y) == 1, dx * dx + dy * dy <= r * r) << r << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(image.at(20 - r, 19), 1u);
    EXPECT_EQ(image.at(20 + r, 19), 1u);
    EXPECT_EQ(image.at(20, 19 + r), 1u);
  }
  Image none(10, 10, kBack);
  fillCircle(none, 5, 5, -1, 1);
  EXPECT_EQ(none.pixels, Image(10, 10, kBack).pixels);
}

TEST(FillCircle, HugeRadiiAndFarCentresClip) {
  Image image(30, 20, kBack);
  fillCircle(image, 0, 0, INT_MAX, 1);  // the whole image, in one row span per row
  EXPECT_EQ(image.pixels, std::vector<uint32_t>(600, 1));
  fillCircle(image, INT_MIN, INT_MAX, INT_MAX, 2);
  fillCircle(image, INT_MAX, INT_MIN, 5, 2);
  EXPECT_EQ(image.pixels, std::vector<uint32_t>(600, 1));
  // A corner-centred disc of radius 100 reaches (70, 70) but not (71, 71).
  Image big(120, 120, kBack);
  fillCircle(big, 0, 0, 100, 1);
  EXPECT_EQ(big.at(70, 70), 1u);
  EXPECT_EQ(big.at(71, 71), kBack);
  EXPECT_EQ(big.at(100, 0), 1u);
  EXPECT_EQ(big.at(101, 0), kBack);
}

// ----- turned drawing

Image numbered(int w, int h) {
  Image image(w, h);
  for (int i = 0; i < w * h; ++i) image.pixels[i] = 0x010101u * (i + 1);
  return image;
}

TEST(DrawTurned, QuarterTurnsAreExactAndClockwise) {
  const Image src = numbered(5, 3);
  Image dst(20, 20, kBack);
  drawTurned(dst, src, kKey, 10, 10, 90);
  // Turned clockwise, the source's top row becomes the right-hand column, read top down.
  for (int sy = 0; sy < 3; ++sy) {
    for (int sx = 0; sx < 5; ++sx) {
      EXPECT_EQ(dst.at(10 + (1 - sy), 10 + (sx - 2)), src.at(sx, sy)) << sx << "," << sy;
    }
  }
  int drawn = 0;
  for (uint32_t p : dst.pixels) drawn += p != kBack;
  EXPECT_EQ(drawn, 15);

  Image full(20, 20, kBack), back(20, 20, kBack);
  drawTurned(full, src, kKey, 10, 10, 720);
  copyImage(back, src, 8, 9);
  EXPECT_EQ(full.pixels, back.pixels);
}

TEST(DrawTurned, NoFringeOfTheTransparentColour) {
  // A hull-like shape: brown body, a lighter deck stripe, hard edges on a white key.
  constexpr uint32_t kWhite = 0xFFFFFF;
  Image ship(60, 90, kWhite);
  for (int y = 5; y < 85; ++y) {
    const double halfBeam = 22.0 * std::sqrt(std::min(1.0, (y - 5) / 30.0));
    for (int x = 0; x < 60; ++x) {
      if (std::abs(x - 29.5) <= halfBeam)
        ship.at(x, y) = std::abs(x - 29.5) < 4 ? 0xC8A070 : 0x6B3A1E;
    }
  }
  Image sea(200, 200, kBack);
  drawTurned(sea, ship, kWhite, 100.3, 99.6, 33);
  int drawn = 0;
  for (uint32_t p : sea.pixels) {
    if (p == kBack) continue;
    ++drawn;
    const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
    EXPECT_TRUE(r <= 0xC8 && g <= 0xA0 && b <= 0x70)
        << std::hex << p;  // never lighter than the deck
  }
  int opaque = 0;
  for (uint32_t p : ship.pixels) opaque += p != kWhite;
  EXPECT_NEAR(drawn, opaque, opaque * 0.03);  // the turned ship keeps its area
}

TEST(DrawTurned, WildInputsDrawNothingAndNeverFault) {
  const Image src = numbered(7, 5);
  Image dst(30, 30, kBack);
  const double nan = std::nan(""), inf = HUGE_VAL;
  for (double c : {nan, inf, -inf, 1e30, -1e30, 2.2e9, -2.2e9}) {
    drawTurned(dst, src, kKey, c, 15, 33);
    drawTurned(dst, src, kKey, 15, c, 33);
  }
  drawTurned(dst, src, kKey, 15, 15, nan);
  drawTurned(dst, src, kKey, 15, 15, inf);
  EXPECT_EQ(dst.pixels, Image(30, 30, kBack).pixels);
  drawTurned(dst, src, kKey, 15, 15, 1e30);  // a huge angle is still an angle
  EXPECT_NE(dst.pixels, Image(30, 30, kBack).pixels);
}

}  // namespace
