// Small raster helpers for the asset generator: colours, shapes, a supersampled
// canvas and a repeatable random source.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace gen {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline Rgb operator*(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }

// Colour ramp through evenly spaced stops, t in [0, 1].
inline Rgb ramp(const std::vector<Rgb>& stops, double t) {
  t = std::clamp(t, 0.0, 1.0) * static_cast<double>(stops.size() - 1);
  const auto i = std::min(static_cast<size_t>(t), stops.size() - 2);
  return mix(stops[i], stops[i + 1], t - static_cast<double>(i));
}

inline double smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// SplitMix64: the same numbers on every platform, unlike the std distributions.
class Random {
 public:
  explicit Random(uint64_t start) : state_(start) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
  double symmetric() { return 2 * unit() - 1; }  // [-1, 1)

 private:
  uint64_t state_;
};

// Smooth lattice noise in [0, 1] and its fractal sum, for clouds, waves and fire.
class Noise {
 public:
  explicit Noise(uint64_t start) {
    Random random(start);
    for (auto& v : lattice_) v = random.unit();
  }
  double at(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const auto ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double top = mix1(corner(ix, iy), corner(ix + 1, iy), tx);
    const double bottom = mix1(corner(ix, iy + 1), corner(ix + 1, iy + 1), tx);
    return mix1(top, bottom, ty);
  }
  double fractal(double x, double y, int octaves) const {
    double sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
      sum += amplitude * at(x, y);
      weight += amplitude;
      x = x * 2.03 + 17.1;
      y = y * 2.03 + 5.3;
      amplitude *= 0.5;
    }
    return sum / weight;
  }

 private:
  static constexpr int kSize = 256;
  static double smooth(double t) { return t * t * (3 - 2 * t); }
  static double mix1(double a, double b, double t) { return a + (b - a) * t; }
  double corner(int x, int y) const {
    const auto hx = static_cast<unsigned>(x) & (kSize - 1),
               hy = static_cast<unsigned>(y) & (kSize - 1);
    return lattice_[(hx * 97u + hy * 131u + ((hx * hy) & 63u)) & (kSize * kSize - 1)];
  }
  std::vector<double> lattice_ = std::vector<double>(kSize * kSize);
};

struct Point {
  double x = 0, y = 0;
};

struct Box {
  double x0, y0, x1, y1;
};

// A region in picture coordinates: a bounding box and a membership test.
struct Shape {
  Box box;
  std::function<bool(double, double)> inside;
};

inline Shape rect(double x0, double y0, double x1, double y1) {
  return {{x0, y0, x1, y1},
          [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

inline Shape ellipse(double cx, double cy, double rx, double ry) {
  return {{cx - rx, cy - ry, cx + rx, cy + ry}, [=](double x, double y) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1;
          }};
}

inline Shape circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }

// A thick line with round ends.
inline Shape segment(Point a, Point b, double halfWidth) {
  const Box box{std::min(a.x, b.x) - halfWidth, std::min(a.y, b.y) - halfWidth,
                std::max(a.x, b.x) + halfWidth, std::max(a.y, b.y) + halfWidth};
  return {box, [=](double x, double y) {
            const double vx = b.x - a.x, vy = b.y - a.y;
            const double len2 = vx * vx + vy * vy;
            const double t =
                len2 > 0 ? std::clamp(((x - a.x) * vx + (y - a.y) * vy) / len2, 0.0, 1.0) : 0;
            const double dx = x - a.x - t * vx, dy = y - a.y - t * vy;
            return dx * dx + dy * dy <= halfWidth * halfWidth;
          }};
}

inline Shape polygon(std::vector<Point> points) {
  Box box{1e9, 1e9, -1e9, -1e9};
  for (const auto& p : points)
    box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x),
           std::max(box.y1, p.y)};
  return {box, [pts = std::move(points)](double x, double y) {
            bool in = false;  // even-odd crossing count
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
              if ((pts[i].y > y) != (pts[j].y > y) &&
                  x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
                in = !in;
            }
            return in;
          }};
}

inline Shape shifted(const Shape& s, double dx, double dy) {
  return {{s.box.x0 + dx, s.box.y0 + dy, s.box.x1 + dx, s.box.y1 + dy},
          [in = s.inside, dx, dy](double x, double y) { return in(x - dx, y - dy); }};
}

inline Shape intersect(const Shape& a, const Shape& b) {
  return {{std::max(a.box.x0, b.box.x0), std::max(a.box.y0, b.box.y0), std::min(a.box.x1, b.box.x1),
           std::min(a.box.y1, b.box.y1)},
          [ia = a.inside, ib = b.inside](double x, double y) { return ia(x, y) && ib(x, y); }};
}

// The part of `a` outside `b`.
inline Shape minus(const Shape& a, const Shape& b) {
  return {a.box,
          [ia = a.inside, ib = b.inside](double x, double y) { return ia(x, y) && !ib(x, y); }};
}

using Shade = std::function<Rgb(double x, double y)>;
using Opacity = std::function<double(double x, double y)>;

inline Shade flat(Rgb c) {
  return [c](double, double) { return c; };
}

// 8-bit RGB picture, rows top to bottom.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;  // r, g, b per pixel
  Picture(int width, int height)
      : w(width), h(height), rgb(static_cast<size_t>(width) * height * 3) {}
  uint8_t* at(int x, int y) { return &rgb[(static_cast<size_t>(y) * w + x) * 3]; }
  const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * w + x) * 3]; }
};

// 8-bit RGBA picture with straight (not premultiplied) alpha, rows top to bottom.
struct RgbaPicture {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  RgbaPicture(int width, int height)
      : w(width), h(height), rgba(static_cast<size_t>(width) * height * 4) {}
  uint8_t* at(int x, int y) { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
};

// Drawing surface at `scale` x `scale` samples per picture pixel. Painting marks
// the samples it covers, so a keyed picture can later tell object from background
// and keep the object's outline hard while its inside stays smooth.
class Canvas {
 public:
  Canvas(int w, int h, int scale, Rgb background)
      : w_(w), h_(h), scale_(scale), colour_(size(), background), marked_(size(), false) {}

  int width() const { return w_; }
  int height() const { return h_; }

  // Paints the shape opaquely, or with the given opacity, and marks it as object.
  void fill(const Shape& s, const Shade& shade, const Opacity& opacity = nullptr) {
    visit(s, [&](size_t i, double x, double y) {
      const double a = opacity ? std::clamp(opacity(x, y), 0.0, 1.0) : 1.0;
      if (a <= 0) return;
      colour_[i] = mix(colour_[i], shade(x, y), a);
      marked_[i] = true;
    });
  }
  void fill(const Shape& s, Rgb c, const Opacity& opacity = nullptr) { fill(s, flat(c), opacity); }

  // Recolours samples already marked as object, leaving the outline as it is.
  void tint(const Shape& s, const std::function<Rgb(Rgb old, double x, double y)>& change) {
    visit(s, [&](size_t i, double x, double y) {
      if (marked_[i]) colour_[i] = change(colour_[i], x, y);
    });
  }

  // Averages the samples of each pixel.
  Picture resolve() const {
    Picture out(w_, h_);
    forEachPixel([&](int px, int py, const std::vector<size_t>& samples) {
      Rgb sum;
      for (auto i : samples) sum = sum + colour_[i];
      store(out.at(px, py), sum * (1.0 / static_cast<double>(samples.size())));
    });
    return out;
  }

  // A pixel is object when at least half of its samples are; it then takes the
  // average of its object samples only, so no background colour bleeds into the
  // edge. Every other pixel is exactly the key colour.
  Picture resolveKeyed(Rgb key, const std::function<Rgb(Rgb)>& keepClearOfKey) const {
    Picture out(w_, h_);
    forEachPixel([&](int px, int py, const std::vector<size_t>& samples) {
      Rgb sum;
      size_t count = 0;
      for (auto i : samples)
        if (marked_[i]) sum = sum + colour_[i], ++count;
      const bool object = count * 2 >= samples.size();
      store(out.at(px, py),
            object ? keepClearOfKey(sum * (1.0 / static_cast<double>(count))) : key);
    });
    return out;
  }

 private:
  size_t size() const { return static_cast<size_t>(w_) * h_ * scale_ * scale_; }

  template <class F>
  void visit(const Shape& s, F&& f) {
    const int sw = w_ * scale_, sh = h_ * scale_;
    const int x0 = std::max(0, static_cast<int>(std::floor(s.box.x0 * scale_)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(s.box.y0 * scale_)) - 1);
    const int x1 = std::min(sw - 1, static_cast<int>(std::ceil(s.box.x1 * scale_)) + 1);
    const int y1 = std::min(sh - 1, static_cast<int>(std::ceil(s.box.y1 * scale_)) + 1);
    for (int sy = y0; sy <= y1; ++sy)
      for (int sx = x0; sx <= x1; ++sx) {
        const double x = (sx + 0.5) / scale_, y = (sy + 0.5) / scale_;
        if (s.inside(x, y)) f(static_cast<size_t>(sy) * sw + sx, x, y);
      }
  }

  template <class F>
  void forEachPixel(F&& f) const {
    std::vector<size_t> samples(static_cast<size_t>(scale_) * scale_);
    for (int py = 0; py < h_; ++py)
      for (int px = 0; px < w_; ++px) {
        size_t k = 0;
        for (int sy = 0; sy < scale_; ++sy)
          for (int sx = 0; sx < scale_; ++sx)
            samples[k++] =
                static_cast<size_t>(py * scale_ + sy) * (w_ * scale_) + (px * scale_ + sx);
        f(px, py, samples);
      }
  }

  static void store(uint8_t* p, Rgb c) {
    p[0] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.0, 255.0)));
    p[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.0, 255.0)));
    p[2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.0, 255.0)));
  }

  int w_, h_, scale_;
  std::vector<Rgb> colour_;
  std::vector<bool> marked_;
};

}  // namespace gen
