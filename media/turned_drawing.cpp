// Turned drawing of a picture by inverse mapping: every destination pixel near the turned
// picture looks up where it comes from in the source. The mapping is affine, so a row of
// destination pixels walks the source along a straight line with a constant step.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "media/compositor.h"

namespace {

struct Turn {
  double sin = 0, cos = 1;
};

// Quarter turns come out exact, so pictures turned by 90, 180 or 270 degrees land on whole
// pixels instead of a rounding error away from a tie.
Turn turnOf(double degrees) {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0) reduced += 360.0;
  if (reduced == 0 || reduced == 360.0) return {0, 1};
  if (reduced == 90.0) return {1, 0};
  if (reduced == 180.0) return {0, -1};
  if (reduced == 270.0) return {-1, 0};
  const double radians = reduced * std::numbers::pi / 180.0;
  return {std::sin(radians), std::cos(radians)};
}

// Narrows [first, last] to the columns x at which u0 + du * x can lie in (lo, hi]. Generous by
// a column at each end: the exact test is made per pixel.
bool narrowColumns(double u0, double du, double lo, double hi, double& first, double& last) {
  if (std::abs(du) < 1e-12) return u0 > lo - 1 && u0 <= hi + 1;
  double a = (lo - u0) / du;
  double b = (hi - u0) / du;
  if (a > b) std::swap(a, b);
  first = std::max(first, std::floor(a) - 1);
  last = std::min(last, std::ceil(b) + 1);
  return first <= last;
}

// Source positions along a row in 16.16 fixed point: exact for whole and half pixels, and
// far finer than any visible difference elsewhere.
constexpr int64_t kOne = 1 << 16;
constexpr int64_t kHalf = kOne / 2;

int64_t toFixed(double v) { return static_cast<int64_t>(std::llround(v * kOne)); }

// a + (b - a) * t / 256 on each of the three channels at once.
uint32_t lerp(uint32_t a, uint32_t b, uint32_t t) {
  const uint32_t rb = (((a & 0xFF00FF) * (256 - t) + (b & 0xFF00FF) * t) >> 8) & 0xFF00FF;
  const uint32_t g = (((a & 0x00FF00) * (256 - t) + (b & 0x00FF00) * t) >> 8) & 0x00FF00;
  return rb | g;
}

// Bilinear sampling restricted to opaque texels. A destination pixel is covered when the
// nearest texel (ties going to the lower index) is opaque; its colour blends only the opaque
// texels of the 2 x 2 neighbourhood, so the transparent colour never bleeds into an edge.
class OpaqueSampler {
 public:
  OpaqueSampler(const Image& src, uint32_t key)
      : src_(src), key_(key), xHigh_(src.w * kOne - kHalf), yHigh_(src.h * kOne - kHalf) {}

  // (fx, fy): source position in fixed point.
  bool sample(int64_t fx, int64_t fy, uint32_t& out) const {
    if (fx <= -kHalf || fx > xHigh_ || fy <= -kHalf || fy > yHigh_) return false;
    const int ix = static_cast<int>((fx + kOne) >> 16) - 1;  // floor, as fx > -1
    const int iy = static_cast<int>((fy + kOne) >> 16) - 1;
    const int64_t fracX = fx - int64_t{ix} * kOne;
    const int64_t fracY = fy - int64_t{iy} * kOne;
    if (isKey(texel(ix + (fracX > kHalf), iy + (fracY > kHalf)), key_)) return false;
    const auto tx = static_cast<uint32_t>(fracX >> 8);  // 0..255
    const auto ty = static_cast<uint32_t>(fracY >> 8);
    const bool inside = ix >= 0 && iy >= 0 && ix + 1 < src_.w && iy + 1 < src_.h;
    const uint32_t p00 = inside ? src_.at(ix, iy) : texel(ix, iy);
    const uint32_t p10 = inside ? src_.at(ix + 1, iy) : texel(ix + 1, iy);
    const uint32_t p01 = inside ? src_.at(ix, iy + 1) : texel(ix, iy + 1);
    const uint32_t p11 = inside ? src_.at(ix + 1, iy + 1) : texel(ix + 1, iy + 1);
    if (inside && !isKey(p00, key_) && !isKey(p10, key_) && !isKey(p01, key_) &&
        !isKey(p11, key_)) {
      out = lerp(lerp(p00, p10, tx), lerp(p01, p11, tx), ty);
      return true;
    }
    out = blendOpaque({p00, p10, p01, p11}, tx, ty);
    return true;
  }

 private:
  // Outside the picture counts as transparent.
  uint32_t texel(int x, int y) const {
    if (x < 0 || y < 0 || x >= src_.w || y >= src_.h) return key_;
    return src_.at(x, y);
  }

  // Weighted mean of the opaque ones among the four texels (the nearest one is opaque, and
  // weighs at least 128 x 128, so the weights never sum to 0).
  uint32_t blendOpaque(const std::array<uint32_t, 4>& p, uint32_t tx, uint32_t ty) const {
    const std::array<uint32_t, 4> weight = {(256 - tx) * (256 - ty), tx * (256 - ty),
                                            (256 - tx) * ty, tx * ty};
    uint64_t r = 0, g = 0, b = 0, total = 0;
    for (size_t i = 0; i < 4; ++i) {
      if (isKey(p[i], key_)) continue;
      total += weight[i];
      r += uint64_t{weight[i]} * ((p[i] >> 16) & 0xFF);
      g += uint64_t{weight[i]} * ((p[i] >> 8) & 0xFF);
      b += uint64_t{weight[i]} * (p[i] & 0xFF);
    }
    const auto mean = [total](uint64_t sum) {
      return static_cast<uint32_t>((sum + total / 2) / total);
    };
    return (mean(r) << 16) | (mean(g) << 8) | mean(b);
  }

  const Image& src_;
  uint32_t key_;
  int64_t xHigh_, yHigh_;
};

}  // namespace

void drawTurned(Image& dst, const Image& src, uint32_t key, double centreX, double centreY,
                double degrees) {
  if (src.empty() || dst.empty()) return;
  if (!std::isfinite(centreX) || !std::isfinite(centreY) || !std::isfinite(degrees)) return;
  const Turn turn = turnOf(degrees);
  // Half extents of the turned picture's bounding box, plus a pixel for the sampling margin.
  const double reachX = std::abs(turn.cos) * src.w / 2 + std::abs(turn.sin) * src.h / 2 + 1;
  const double reachY = std::abs(turn.sin) * src.w / 2 + std::abs(turn.cos) * src.h / 2 + 1;
  const double firstCol = std::max(0.0, std::floor(centreX - reachX));
  const double lastCol = std::min(dst.w - 1.0, std::ceil(centreX + reachX));
  const double firstRow = std::max(0.0, std::floor(centreY - reachY));
  const double lastRow = std::min(dst.h - 1.0, std::ceil(centreY + reachY));
  if (firstCol > lastCol || firstRow > lastRow) return;

  const double srcCentreX = (src.w - 1) / 2.0;
  const double srcCentreY = (src.h - 1) / 2.0;
  const OpaqueSampler sampler(src, key);
  const int64_t stepX = toFixed(turn.cos);
  const int64_t stepY = toFixed(-turn.sin);
  for (int y = static_cast<int>(firstRow); y <= static_cast<int>(lastRow); ++y) {
    // Along this row the source point is (ux + cos * x, uy - sin * x).
    const double dy = y - centreY;
    const double ux = srcCentreX + turn.sin * dy - turn.cos * centreX;
    const double uy = srcCentreY + turn.cos * dy + turn.sin * centreX;
    double first = firstCol;
    double last = lastCol;
    if (!narrowColumns(ux, turn.cos, -0.5, src.w - 0.5, first, last)) continue;
    if (!narrowColumns(uy, -turn.sin, -0.5, src.h - 0.5, first, last)) continue;
    uint32_t* row = &dst.at(0, y);
    int64_t fx = toFixed(ux + turn.cos * first);
    int64_t fy = toFixed(uy - turn.sin * first);
    for (int x = static_cast<int>(first); x <= static_cast<int>(last); ++x) {
      uint32_t colour = 0;
      if (sampler.sample(fx, fy, colour)) row[x] = colour;
      fx += stepX;
      fy += stepY;
    }
  }
}
