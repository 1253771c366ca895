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

// A blob whose edge, in every direction from its centre, lies between 0.7 and 1.0
// of its radius along that direction: ragged, but always in one piece with no gaps
// and never beyond the ellipse it is given.
Shape raggedBlob(Point centre, double rx, double ry, const Noise& noise, double grain) {
  return {{centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry},
          [=, &noise](double x, double y) {
            const double dx = (x - centre.x) / rx, dy = (y - centre.y) / ry;
            const double angle = std::atan2(dy, dx);
            const double edge = 0.7 + 0.3 * noise.fractal(std::cos(angle) * grain + 40,
                                                          std::sin(angle) * grain + 40, 3);
            return dx * dx + dy * dy <= edge * edge;
          }};
}

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

// A pointer from its tip at the left end to the pivot hub at the picture's centre,
// with a short counterweight behind it. Lit along its upper edge.
Picture drawNeedle() {
  Canvas canvas(150, 5, kSamples, kBlack);
  const auto shade = [](double, double y) {
    return ramp({{255, 96, 76}, {226, 34, 26}, {150, 12, 10}}, (y - 1) / 3);
  };
  canvas.fill(
      polygon({{1, 2}, {40, 1}, {100, 1.4}, {104, 2}, {104, 3}, {100, 3.6}, {40, 4}, {1, 3}}),
      shade);
  canvas.fill(circle(75, 2.5, 2.45), Rgb{170, 18, 14});
  canvas.fill(circle(75, 2.5, 1.1), Rgb{236, 70, 52});
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

// A round puff of gun smoke, lit from the upper left.
Picture drawSmokePuff() {
  Canvas canvas(10, 10, kSamples, kBlack);
  const std::array<std::array<double, 3>, 3> lobes{
      {{5.0, 5.1, 3.6}, {4.2, 4.3, 3.0}, {5.9, 4.6, 2.6}}};
  for (const auto& [cx, cy, r] : lobes)
    canvas.fill(circle(cx, cy, r), [](double x, double y) {
      const double lit = std::clamp(1 - std::hypot(x - 3.4, y - 3.2) / 6.5, 0.0, 1.0);
      return mix(Rgb{122, 120, 118}, Rgb{222, 218, 212}, lit);
    });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

// The flame is turned across the ship with its middle on the centre line and its
// bottom end outboard, so the hull hides the upper half and the flame's root; what
// shows beside the hull is the tongue, widest just outside a small hull's side and
// running out to a point before the picture's end.
Picture drawMuzzleFlame() {
  Canvas canvas(15, 75, kSamples, kBlack);
  const Noise noise(71);
  constexpr double kRoot = 26, kTip = 73.4, kWidest = 57;
  const auto halfWidth = [](double y) {
    if (y < kRoot || y > kTip) return 0.0;
    if (y < kWidest) return 1.2 + 5.0 * std::sin((y - kRoot) / (kWidest - kRoot) * kPi / 2);
    return 6.2 * std::pow(1 - (y - kWidest) / (kTip - kWidest), 0.7);
  };
  const auto heat = [&](double x, double y) {
    const double sway = 1.4 * (noise.at(y * 0.12, 3.1) - 0.5) * std::max(0.0, y - kWidest) / 20;
    return 1 - std::abs(x - 7.5 - sway) / std::max(halfWidth(y), 1e-6);
  };
  const Shape tongue{{0, kRoot, 15, kTip}, [&](double x, double y) { return heat(x, y) >= 0; }};
  canvas.fill(tongue, [&](double x, double y) {
    const double along = std::clamp((y - kRoot) / (kTip - kRoot), 0.0, 1.0);
    return flameColour(std::clamp(heat(x, y) * (1.2 - 0.55 * along) + 0.15, 0.0, 1.0));
  });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

// Seen from above: a pall of smoke over the hull with fires burning through it in
// ragged patches, brightest at their hearts. The turbulence is noise sampled at
// noise-warped places, which curls the flames' edges.
Picture drawFire() {
  Canvas canvas(150, 150, 3, kBlack);
  const Noise noise(4242), warp(4243);
  const Shape pall = raggedBlob({75, 86}, 32, 61, noise, 2.6);
  canvas.fill(pall, [&](double x, double y) {
    const double streak =
        noise.fractal(x * 0.05 + 3, y * 0.16, 4);  // smoke drawn out along the hull
    return mix(Rgb{46, 40, 38}, Rgb{124, 114, 106}, smoothstep(0.3, 0.75, streak));
  });
  const std::array<std::array<double, 3>, 9> hearts{{{74, 40, 11},
                                                     {84, 58, 14},
                                                     {64, 62, 10},
                                                     {70, 82, 17},
                                                     {86, 96, 12},
                                                     {74, 108, 15},
                                                     {62, 124, 10},
                                                     {80, 130, 11},
                                                     {90, 78, 8}}};
  const auto heat = [&](double x, double y) {
    const double wx = x + 9 * (warp.at(x * 0.07, y * 0.07) - 0.5);
    const double wy = y + 9 * (warp.at(x * 0.07 + 31, y * 0.07 + 17) - 0.5);
    double h = 0;
    for (const auto& [cx, cy, r] : hearts) h = std::max(h, 1 - std::hypot(wx - cx, wy - cy) / r);
    return h + 0.8 * (noise.fractal(wx * 0.14 + 7, wy * 0.14, 4) - 0.5);
  };
  canvas.fill(
      intersect(pall, {{0, 0, 150, 150}, [&](double x, double y) { return heat(x, y) > 0.1; }}),
      [&](double x, double y) {
        return flameColour(std::clamp((heat(x, y) - 0.08) * 1.4, 0.0, 1.0));
      });
  return canvas.resolveKeyed(kBlack, clearOfBlack);
}

}  // namespace gen
