// The turned drawing skips what it can prove transparent and reuses prepared pictures; these
// tests hold it to the plain way of drawing, which visits every pixel of the turned box.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "media/compositor.h"

namespace {

// ----- the plain way: every pixel of the picture's box, texels looked up with bounds checks

constexpr int64_t kOne = 1 << 16;
constexpr int64_t kHalf = kOne / 2;

int64_t toFixed(double v) { return static_cast<int64_t>(std::llround(v * kOne)); }

uint32_t lerp(uint32_t a, uint32_t b, uint32_t t) {
  const uint32_t rb = (((a & 0xFF00FF) * (256 - t) + (b & 0xFF00FF) * t) >> 8) & 0xFF00FF;
  const uint32_t g = (((a & 0x00FF00) * (256 - t) + (b & 0x00FF00) * t) >> 8) & 0x00FF00;
  return rb | g;
}

struct PlainSampler {
  const Image& src;
  uint32_t key;

  uint32_t texel(int x, int y) const {
    if (x < 0 || y < 0 || x >= src.w || y >= src.h) return key;
    return src.at(x, y) & kRgbMask;
  }

  bool sample(int64_t fx, int64_t fy, uint32_t& out) const {
    if (fx <= -kHalf || fx > src.w * kOne - kHalf || fy <= -kHalf || fy > src.h * kOne - kHalf)
      return false;
    const int ix = static_cast<int>((fx + kOne) >> 16) - 1;
    const int iy = static_cast<int>((fy + kOne) >> 16) - 1;
    const int64_t fracX = fx - int64_t{ix} * kOne, fracY = fy - int64_t{iy} * kOne;
    if (texel(ix + (fracX > kHalf), iy + (fracY > kHalf)) == key) return false;
    const auto tx = static_cast<uint32_t>(fracX >> 8), ty = static_cast<uint32_t>(fracY >> 8);
    const std::array<uint32_t, 4> p = {texel(ix, iy), texel(ix + 1, iy), texel(ix, iy + 1),
                                       texel(ix + 1, iy + 1)};
    if (std::none_of(p.begin(), p.end(), [&](uint32_t t) { return t == key; })) {
      out = lerp(lerp(p[0], p[1], tx), lerp(p[2], p[3], tx), ty);
      return true;
    }
    const std::array<uint32_t, 4> weight = {(256 - tx) * (256 - ty), tx * (256 - ty),
                                            (256 - tx) * ty, tx * ty};
    uint64_t sum[3] = {}, total = 0;
    for (size_t i = 0; i < 4; ++i) {
      if (p[i] == key) continue;
      total += weight[i];
      for (int c = 0; c < 3; ++c) sum[c] += uint64_t{weight[i]} * ((p[i] >> (16 - 8 * c)) & 0xFF);
    }
    out = 0;
    for (int c = 0; c < 3; ++c)
      out |= static_cast<uint32_t>((sum[c] + total / 2) / total) << (16 - 8 * c);
    return true;
  }
};

bool narrowColumns(double u0, double du, double lo, double hi, double& first, double& last) {
  if (std::abs(du) < 1e-12) return u0 > lo - 1 && u0 <= hi + 1;
  double a = (lo - u0) / du, b = (hi - u0) / du;
  if (a > b) std::swap(a, b);
  first = std::max(first, std::floor(a) - 1);
  last = std::min(last, std::ceil(b) + 1);
  return first <= last;
}

void plainTurned(Image& dst, const Image& src, uint32_t key, double cx, double cy, double deg) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(deg)) return;
  double reduced = std::fmod(deg, 360.0);
  if (reduced < 0) reduced += 360.0;
  double sin = std::sin(reduced * std::numbers::pi / 180.0);
  double cos = std::cos(reduced * std::numbers::pi / 180.0);
  if (reduced == 0 || reduced == 360.0) sin = 0, cos = 1;
  if (reduced == 90.0) sin = 1, cos = 0;
  if (reduced == 180.0) sin = 0, cos = -1;
  if (reduced == 270.0) sin = -1, cos = 0;
  const double reachX = std::abs(cos) * src.w / 2 + std::abs(sin) * src.h / 2 + 1;
  const double reachY = std::abs(sin) * src.w / 2 + std::abs(cos) * src.h / 2 + 1;
  const double firstCol = std::max(0.0, std::floor(cx - reachX));
  const double lastCol = std::min(dst.w - 1.0, std::ceil(cx + reachX));
  const double firstRow = std::max(0.0, std::floor(cy - reachY));
  const double lastRow = std::min(dst.h - 1.0, std::ceil(cy + reachY));
  const PlainSampler sampler{src, key};
  for (double y = firstRow; y <= lastRow; ++y) {
    const double ux = (src.w - 1) / 2.0 + sin * (y - cy) - cos * cx;
    const double uy = (src.h - 1) / 2.0 + cos * (y - cy) + sin * cx;
    double first = firstCol, last = lastCol;
    if (!narrowColumns(ux, cos, -0.5, src.w - 0.5, first, last)) continue;
    if (!narrowColumns(uy, -sin, -0.5, src.h - 0.5, first, last)) continue;
    int64_t fx = toFixed(ux + cos * first), fy = toFixed(uy - sin * first);
    for (double x = first; x <= last; ++x, fx += toFixed(cos), fy += toFixed(-sin)) {
      uint32_t colour = 0;
      if (sampler.sample(fx, fy, colour)) dst.at(static_cast<int>(x), static_cast<int>(y)) = colour;
    }
  }
}

// ----- pictures like the game's, with colours that make every blending difference show

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kSea = 0x0177FE;

uint32_t noise(std::mt19937& random) { return random() & 0x00FEFEFE; }  // never the white key

// A hull on white with key-coloured holes in the deck and a lone texel at a corner.
Image shipPicture(std::mt19937& random) {
  Image image(150, 150, kWhite);
  for (int y = 10; y < 145; ++y) {
    const double halfBeam = 20.0 * std::sqrt(std::min(1.0, (y - 10) / 40.0));
    for (int x = 0; x < 150; ++x) {
      if (std::abs(x - 74.5) <= halfBeam) image.at(x, y) = noise(random);
    }
  }
  for (int y = 60; y < 70; ++y) image.at(74, y) = kWhite;
  image.at(149, 0) = 0x123456;
  return image;
}

// Tongues of flame and stray puffs on black, as the fire over a sinking ship.
Image firePicture(std::mt19937& random) {
  Image image(150, 150, kBlack);
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 150; ++x) {
      const bool tongue = std::abs(x - 75 - 15 * std::sin(y / 9.0)) < 12 + y / 15;
      if (tongue || random() % 97 == 0) image.at(x, y) = noise(random) | 0x010000;
    }
  }
  return image;
}

Image solidPicture(int w, int h, std::mt19937& random, uint32_t keyBorder) {
  Image image(w, h);
  for (uint32_t& p : image.pixels) p = noise(random) | 0x000100;
  if (w > 2 && h > 2) {
    for (int x = 0; x < w; ++x) image.at(x, 0) = keyBorder;  // a transparent top edge
  }
  return image;
}

struct Case {
  const char* name;
  Image picture;
  uint32_t key;
};

std::vector<Case> pictures() {
  std::mt19937 random(2024);
  Image hull = shipPicture(random);
  hull.at(149, 0) = kWhite;  // opaque texels in a box well inside the picture
  return {{"ship 150x150", shipPicture(random), kWhite},
          {"hull alone 150x150", hull, kWhite},
          {"fire 150x150", firePicture(random), kBlack},
          {"needle 150x5", solidPicture(150, 5, random, kBlack), kBlack},
          {"flame 15x75", solidPicture(15, 75, random, kBlack), kBlack},
          {"ball 3x3", solidPicture(3, 3, random, kBlack), kBlack}};
}

std::vector<double> angles() {
  std::vector<double> list = {0,      1e-7,         -1e-7,    0.03,   -0.03,     33.3,
                              45,     90,           -90,      180,    -180,      270,
                              359.99, 360,          361.5,    -725.3, 1e7 + 0.3, -2.5e9,
                              1e30,   std::nan(""), HUGE_VAL, 89.999, 135,       300.25};
  std::mt19937 random(99);
  std::uniform_real_distribution<double> any(-720, 720);
  for (int i = 0; i < 24; ++i) list.push_back(any(random));
  return list;
}

struct Centre {
  double x, y;
};

// Inside, across each edge and corner, on half pixels, and wholly off the destination.
const std::vector<Centre> kCentres = {{130.5, 100}, {131.3, 99.7}, {-30, 100},
                                      {250, 90.5},  {100, -60.25}, {140.75, 230},
                                      {-40, -40},   {500, 100},    {120, -1e9}};

TEST(TurnedDrawing, EveryPixelAsThePlainWayAtEveryAngleAndPlace) {
  for (const Case& c : pictures()) {
    const TurnSource prepared(c.picture, c.key);
    for (const double angle : angles()) {
      for (const Centre centre : kCentres) {
        Image fast(260, 200, kSea), plain(260, 200, kSea);
        drawTurned(fast, prepared, centre.x, centre.y, angle);
        plainTurned(plain, c.picture, c.key, centre.x, centre.y, angle);
        ASSERT_EQ(fast.pixels, plain.pixels)
            << c.name << " at " << angle << " degrees, centre " << centre.x << "," << centre.y;
      }
    }
  }
}

// What it drew decides what is restored under it: every pixel it changed lies in the box it
// tells, and that box lies on the destination.
TEST(TurnedDrawing, TheBoxItTellsHoldsEveryPixelItDrew) {
  for (const Case& c : pictures()) {
    const TurnSource prepared(c.picture, c.key);
    for (const double angle : angles()) {
      for (const Centre centre : kCentres) {
        Image dst(260, 200, kSea);
        const PixelBox box = drawTurned(dst, prepared, centre.x, centre.y, angle);
        ASSERT_TRUE(box.w >= 0 && box.h >= 0 && box.x >= 0 && box.y >= 0 &&
                    box.x + box.w <= dst.w && box.y + box.h <= dst.h);
        for (int y = 0; y < dst.h; ++y) {
          for (int x = 0; x < dst.w; ++x) {
            if (dst.at(x, y) == kSea) continue;
            ASSERT_TRUE(x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h)
                << c.name << " at " << angle << " degrees, centre " << centre.x << "," << centre.y
                << ": " << x << "," << y << " outside the box";
          }
        }
      }
    }
  }
}

// Kept rows are copied only where the walk is the same, known again at a place drawn before,
// and clips cut without moving a pixel: every place, angle and clip gives the plain turned
// drawing's pixels inside the clips and nothing outside, whether the rows come from the cache or
// not. The box worked out beforehand holds every pixel drawn.
TEST(TurnedDrawing, KeptAngleAndClipsGiveTheSamePixelsWithinTheBoxForetold) {
  const std::vector<Centre> moves = {{130.5, 100.5}, {131.5, 97.5},    {-30.5, 100.5},
                                     {250.5, 90.5},  {100.5, -60.5},   {140.5, 150.5},
                                     {131.3, 99.7},  {1e6 + 0.5, 3.5}, {-1e9, 20}};
  const std::vector<PixelBox> pieces = {
      {0, 0, 260, 200}, {0, 0, 260, 64}, {0, 64, 130, 70}, {131, 64, 129, 70}, {0, 134, 260, 66}};
  for (const Case& c : pictures()) {
    const TurnSource prepared(c.picture, c.key);
    TurnCache cache;
    for (const double angle : {33.3, 90.0, -47.25, 212.6, 1e-7, 1e30}) {
      for (const Centre centre : moves) {
        Image plain(260, 200, kSea);
        drawTurned(plain, prepared, centre.x, centre.y, angle);
        std::vector<PixelBox> bands;
        const PixelBox box = turnedBox(plain, prepared, centre.x, centre.y, angle, 8, bands);
        EXPECT_EQ(box, turnedBox(plain, prepared, centre.x, centre.y, angle));
        const auto holds = [](const PixelBox& b, int x, int y) {
          return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
        };
        for (const PixelBox& b : bands) {
          ASSERT_TRUE(b.w > 0 && b.h > 0 && holds(box, b.x, b.y) &&
                      holds(box, b.x + b.w - 1, b.y + b.h - 1) && b.y / 8 == (b.y + b.h - 1) / 8);
        }
        for (int y = 0; y < plain.h; ++y) {
          for (int x = 0; x < plain.w; ++x) {
            ASSERT_TRUE(plain.at(x, y) == kSea ||
                        std::any_of(bands.begin(), bands.end(),
                                    [&](const PixelBox& b) { return holds(b, x, y); }))
                << c.name << " at " << angle << ": " << x << "," << y << " outside the bands";
          }
        }
        // In pieces first, so that rows of a kept drawing are known at this place only in
        // part when it is drawn whole.
        for (const bool whole : {false, false, true, false}) {
          const std::span<const PixelBox> clips(pieces.data() + (whole ? 0 : 1),
                                                whole ? 1 : pieces.size() - 2);
          Image kept(260, 200, kSea);
          drawTurned(kept, prepared, cache, centre.x, centre.y, angle, clips);
          for (int y = 0; y < kept.h; ++y) {
            for (int x = 0; x < kept.w; ++x) {
              const bool inside = std::any_of(clips.begin(), clips.end(), [&](const PixelBox& b) {
                return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
              });
              ASSERT_EQ(kept.at(x, y), inside ? plain.at(x, y) : kSea)
                  << c.name << " at " << angle << " degrees, centre " << centre.x << "," << centre.y
                  << ", pixel " << x << "," << y << (whole ? "" : " in pieces");
            }
          }
        }
      }
    }
  }
}

// A kept drawing remembers, place by place, which rows it may copy and the rows of its own
// there (those the screen's edge cuts): places that share a column or a row, cut by the edge
// or not, on pictures of two widths, taken in turn and more of them than are remembered, each
// give the plain pixels.
TEST(TurnedDrawing, PlacesDrawnAgainGiveTheirOwnPixels) {
  const std::vector<Centre> places = {{-30.5, 100.5}, {160.5, 60.5},  {250.5, 60.5},
                                      {130.5, 100.5}, {160.5, -20.5}, {12.5, 20.5}};
  for (const Case& c : pictures()) {
    const TurnSource prepared(c.picture, c.key);
    TurnCache cache;
    for (const double angle : {33.3, 212.6}) {
      for (const size_t taken : {3, 3, 3, 6, 6}) {
        for (size_t i = 0; i < taken; ++i) {
          for (const int width : {260, 150}) {
            Image plain(width, 200, kSea), kept(width, 200, kSea);
            const PixelBox screen{0, 0, width, 200};
            drawTurned(plain, prepared, places[i].x, places[i].y, angle);
            drawTurned(kept, prepared, cache, places[i].x, places[i].y, angle, {&screen, 1});
            ASSERT_EQ(kept.pixels, plain.pixels)
                << c.name << " at " << angle << " degrees, centre " << places[i].x << ","
                << places[i].y << " on " << width;
          }
        }
      }
    }
  }
}

TEST(TurnedDrawing, BlankAndSingleTexelPictures) {
  std::vector<Image> pictures = {Image(150, 150, kBlack), Image(1, 1, 0x808080),
                                 Image(7, 7, kBlack)};
  pictures.back().at(6, 6) = 0x00FF00;  // one opaque texel in a corner
  for (const Image& picture : pictures) {
    const TurnSource prepared(picture, kBlack);
    for (const double angle : angles()) {
      Image fast(60, 60, kSea), plain(60, 60, kSea);
      drawTurned(fast, prepared, 30.5, 29.5, angle);
      plainTurned(plain, picture, kBlack, 30.5, 29.5, angle);
      ASSERT_EQ(fast.pixels, plain.pixels) << picture.w << "x" << picture.h << " at " << angle;
    }
  }
}

// What is restored under a ship and compared when it moves: its outline band by band, far
// less than its box when it lies aslant.
TEST(TurnedDrawing, AShipAslantIsOutlinedInLessThanHalfItsBox) {
  std::mt19937 random(7);
  const Image ship = shipPicture(random);
  const TurnSource prepared(ship, kWhite);
  const Image dst(400, 400);
  for (const double angle : {30.0, 45.0, 135.0, 222.2}) {
    std::vector<PixelBox> bands;
    const PixelBox box = turnedBox(dst, prepared, 200.5, 199.5, angle, 8, bands);
    int64_t outlined = 0;
    for (const PixelBox& b : bands) outlined += int64_t{b.w} * b.h;
    EXPECT_LT(outlined, int64_t{box.w} * box.h * 45 / 100) << angle << " degrees";
  }
}

}  // namespace
