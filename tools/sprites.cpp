// The small black-keyed sprites: hit disc, cannonball, gauge needle, smoke puff,
// muzzle flame and the fire over a sinking ship.
#include <array>

#include "art.h"

namespace gen {
namespace {

constexpr int kSamples = 4;
const Rgb kBlack{0, 0, 0};

Picture filled(int w, int h, Rgb c) {
  Canvas canvas(w, h, 1, c);
  return canvas.resolve();
}

// Heat 0..1 to flame colour: dark red at the ragged edge, pale yellow in the core.
Rgb flameColour(double heat) {
  return ramp({{130, 22, 10}, {206, 46, 14}, {246, 122, 26}, {255, 196, 58}, {255, 240, 156}},
              heat);
}

// One tongue of flame rising towards smaller y from a rounded base at (baseX, baseY).
struct Tongue {
  double baseX, baseY, height, width, sway;

  // 1 on the tongue's axis, falling to 0 at its edge, negative outside.
  double heat(const Noise& noise, double x, double y) const {
    const double v = (baseY - y) / height;
    if (v < -0.25 || v > 1) return -1;
    const double half = v < 0 ? width / 2 * std::sqrt(1 - (v / 0.25) * (v / 0.25))
                              : width / 2 * std::pow(1 - v, 0.85) * (1 + 0.35 * std::sin(kPi * v));
    const double wave = sway * (noise.at(y * 0.07 + baseX, baseX * 0.3) - 0.5) * std::max(v, 0.0);
    return half > 0 ? 1 - std::abs(x - baseX - wave) / half : -1;
  }
};

}  // namespace

Rgb clearOfBlack(Rgb c) {
  constexpr double kDarkest = 20;  // the brightest channel at least this far above black
  const double highest = std::max({c.r, c.g, c.b});
  return highest < kDarkest ? c + Rgb{kDarkest - highest, kDarkest - highest, kDarkest - highest}
                            : c;
}

Picture drawHitDisc() {
  Picture disc = filled(40, 40, kBlack);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const double dx = x + 0.5 - 20, dy = y + 0.5 - 20;
      if (dx * dx + dy * dy <= 400) std::fill_n(disc.at(x, y), 3, uint8_t{128});
    }
  return disc;
}

Picture drawBall() { return filled(3, 3, {2, 2, 2}); }

// Tip at the left end (x = 0); it thickens towards the pivot at the right end.
Picture drawNeedle() {
  Canvas canvas(150, 5, kSamples, kBlack);
  canvas.fill(polygon({{0, 2.0}, {146, 0}, {150, 0}, {150, 5}, {146, 5}, {0, 3.0}}),
              [](double x, double y) {
                const double fromAxis = std::abs(y - 2.5) / (0.5 + 2.0 * x / 150);
                return mix(Rgb{255, 86, 66}, Rgb{168, 14, 12}, std::min(fromAxis, 1.0));
              });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

Picture drawSmokePuff() {
  Canvas canvas(10, 10, kSamples, kBlack);
  const std::array<std::array<double, 3>, 4> blobs{
      {{4.2, 5.6, 3.2}, {6.3, 4.3, 2.8}, {5.6, 6.4, 2.6}, {3.5, 3.7, 2.2}}};
  for (const auto& [cx, cy, r] : blobs)
    canvas.fill(circle(cx, cy, r), [cx, cy, r](double x, double y) {
      const double lit =
          std::clamp(1 - std::hypot(x - (cx - r * 0.5), y - (cy - r * 0.5)) / (r * 1.6), 0.0, 1.0);
      return mix(Rgb{128, 124, 120}, Rgb{214, 210, 204}, lit);  // lit from the upper left
    });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

// The muzzle is the top end (y = 0); the tongue points down. Turned by the ship's
// heading + 90 (port) or - 90 (starboard), the picture's bottom end points out
// from that side, so the bright outer half shows beside the hull.
Picture drawMuzzleFlame() {
  Canvas canvas(15, 75, kSamples, kBlack);
  const Noise noise(71);
  const auto halfWidth = [](double v) {
    return v < 0.55 ? 2.2 + 5.2 * std::sin(v / 0.55 * kPi / 2)
                    : 7.4 * (1 - std::pow((v - 0.55) / 0.45, 1.5));
  };
  const auto heat = [&](double x, double y) {
    const double v = y / 75;
    const double wave = 2.0 * (noise.at(y * 0.13, 3.1) - 0.5) * v;
    return 1 - std::abs(x - 7.5 - wave) / std::max(halfWidth(v), 1e-6);
  };
  const Shape tongue{{0, 0, 15, 75}, [&](double x, double y) {
                       return heat(x, y) > 0.18 * noise.at(x * 0.8, y * 0.4);
                     }};
  canvas.fill(tongue, [&](double x, double y) {
    const double v = y / 75;
    return flameColour(std::clamp(heat(x, y) * (1.05 - 0.5 * v) + 0.25 * (1 - v), 0.0, 1.0));
  });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

// Flames over the whole hull on a bed of embers, with some dark smoke about them.
Picture drawFire() {
  Canvas canvas(150, 150, 3, kBlack);
  const Noise noise(4242);
  Random random(99);
  std::vector<Tongue> tongues;
  for (int i = 0; i < 11; ++i) {
    const double along = 28 + 100.0 * i / 10;
    const double side = i % 2 ? 1 : -1;  // alternate sides so the fire covers the whole hull
    tongues.push_back({75 + side * random.range(2, 17), along + random.range(6, 14),
                       random.range(26, 44), random.range(18, 28), random.range(6, 12)});
  }
  const auto heat = [&](double x, double y) {
    double best = -1;
    for (const auto& t : tongues) best = std::max(best, t.heat(noise, x, y));
    return best;
  };
  const auto smoke = [&](double x, double y) {
    const double ragged = noise.fractal(x * 0.06, y * 0.06, 4);
    return ragged - std::abs(x - 75) / 120 - std::abs(y - 62) / 160;
  };
  canvas.fill({{0, 0, 150, 150}, [&](double x, double y) { return smoke(x, y) > 0.3; }},
              [&](double x, double y) {
                return mix(Rgb{58, 50, 46}, Rgb{104, 94, 88}, noise.at(x * 0.2, y * 0.2));
              });
  const Shape embers =
      intersect(ellipse(75, 80, 24, 60), {{0, 0, 150, 150}, [&](double x, double y) {
                                            return noise.fractal(x * 0.12, y * 0.12, 3) > 0.42;
                                          }});
  canvas.fill(embers, [&](double x, double y) {
    return flameColour(0.5 * noise.fractal(x * 0.3 + 9, y * 0.3, 2));
  });
  const Shape flames{{0, 0, 150, 150}, [&](double x, double y) {
                       return heat(x, y) > 0.2 * noise.at(x * 0.3, y * 0.3);
                     }};
  canvas.fill(flames, [&](double x, double y) { return flameColour(heat(x, y) * 1.15); });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

}  // namespace gen
