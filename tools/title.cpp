// The launcher's title picture: an evening sea battle between ships of the line.
#include "art.h"

namespace gen {
namespace {

constexpr int kWidth = 500, kHeight = 361;
constexpr double kHorizon = 206;
const Point kSun{96, 132};

struct SideShip {
  double centreX, waterY, length;
  double facing;  // +1: bow to the right
  Rgb hull, stripe, sail, flag;

  // Picture point of a point along the ship (u from -0.5 stern to 0.5 bow) at
  // height h above the waterline, both in ship lengths.
  Point at(double u, double h) const {
    return {centreX + facing * u * length, waterY - h * length};
  }
  Shape outline(const std::vector<Point>& local) const {
    std::vector<Point> points;
    for (const auto& p : local) points.push_back(at(p.x, p.y));
    return polygon(points);
  }
  double unit() const { return length / 200; }  // line widths scale with the ship
};

Rgb skyAt(const Noise& noise, double x, double y) {
  const double t = y / kHorizon;
  Rgb sky = ramp({{54, 78, 128}, {104, 120, 160}, {214, 170, 140}, {246, 206, 150}}, t);
  const double glow = std::exp(-std::hypot(x - kSun.x, (y - kSun.y) * 1.6) / 60);
  sky = mix(sky, Rgb{255, 236, 180}, glow);
  const double cloud = smoothstep(0.5, 0.7, noise.fractal(x / 70, y / 24, 5) + 0.25 * (t - 0.5));
  const double lit = smoothstep(0.3, 0.9, noise.fractal(x / 40 + 3, y / 14 + 7, 3));
  const Rgb cloudColour = mix(Rgb{120, 108, 124}, Rgb{252, 214, 170}, lit * (0.5 + 0.5 * glow));
  return mix(sky, cloudColour, cloud * 0.85);
}

Rgb seaAt(const Noise& noise, double x, double y) {
  const double depth = (y - kHorizon) / (kHeight - kHorizon);  // 0 at the horizon
  const double stretch = 0.04 + depth;                         // waves grow towards the viewer
  const Rgb water = ramp({{112, 120, 136}, {46, 78, 102}, {16, 40, 62}}, depth);
  const double wave = noise.fractal(x / (60 * stretch), y / (6 * stretch), 4);
  const double crest = smoothstep(0.58, 0.72, wave);
  const double glitter =
      std::exp(-std::abs(x - kSun.x) / (18 + 60 * depth)) * smoothstep(0.55, 0.7, wave);
  return mix(mix(water * (0.8 + 0.4 * wave), Rgb{150, 162, 172}, crest * 0.5), Rgb{255, 226, 160},
             glitter);
}

void drawBackdrop(Canvas& canvas) {
  const Noise clouds(7), waves(8);
  canvas.fill(rect(0, 0, kWidth, kHorizon),
              [&](double x, double y) { return skyAt(clouds, x, y); });
  canvas.fill(rect(0, kHorizon, kWidth, kHeight),
              [&](double x, double y) { return seaAt(waves, x, y); });
}

void drawHull(Canvas& canvas, const SideShip& s) {
  const std::vector<Point> hull{{-0.46, -0.01}, {0.4, -0.01},  {0.46, 0.04},   {0.5, 0.1},
                                {0.54, 0.135},  {0.47, 0.14},  {0.3, 0.126},   {0.1, 0.118},
                                {-0.1, 0.12},   {-0.3, 0.132}, {-0.42, 0.162}, {-0.47, 0.2},
                                {-0.5, 0.196},  {-0.49, 0.08}};
  canvas.fill(s.outline(hull), [&s](double, double y) {
    return s.hull * (0.7 + 0.5 * std::clamp((s.waterY - y) / (0.2 * s.length), 0.0, 1.0));
  });
  // Two gun decks: ochre bands broken by black ports.
  for (double band : {0.036, 0.078}) {
    const Shape stripe = intersect(
        s.outline(hull),
        s.outline({{-0.5, band}, {0.5, band}, {0.5, band + 0.017}, {-0.5, band + 0.017}}));
    canvas.fill(stripe, s.stripe);
    for (double u = -0.38; u <= 0.38; u += 0.045) {
      const Point p = s.at(u, band + 0.0085);
      const double r = 0.0055 * s.length;
      canvas.fill(rect(p.x - r, p.y - r, p.x + r, p.y + r), Rgb{14, 12, 12});
    }
  }
  for (double u : {-0.47, -0.455, -0.44}) {  // lit stern windows
    const Point p = s.at(u, 0.16);
    canvas.fill(rect(p.x - s.unit(), p.y - s.unit(), p.x + s.unit(), p.y + s.unit()),
                Rgb{250, 210, 110});
  }
}

// A square sail billowing with the wind, lit from the sun's side.
void drawSquareSail(Canvas& canvas, const SideShip& s, double u, double bottom, double top,
                    double halfWidth) {
  const Point tl = s.at(u, top), br = s.at(u, bottom);
  const double half = halfWidth * s.length, cx = tl.x, billow = 0.1 * (br.y - tl.y);
  const Shape sail{{cx - half * 1.05, tl.y, cx + half * 1.05, br.y + billow},
                   [=](double x, double y) {
                     const double k = (x - cx) / half;
                     const double widen = 0.92 + 0.08 * (y - tl.y) / (br.y - tl.y);
                     return std::abs(k) <= widen && y >= tl.y && y <= br.y + billow * (1 - k * k);
                   }};
  canvas.fill(sail, [=, &s](double x, double y) {
    const double k = (x - cx) / half, down = (y - tl.y) / (br.y - tl.y);
    const double towardsSun = kSun.x < cx ? -k : k;
    return s.sail * (0.74 + 0.16 * (1 - k * k) + 0.1 * towardsSun + 0.08 * std::sin(kPi * down));
  });
  canvas.fill(segment({cx - half * 1.08, tl.y}, {cx + half * 1.08, tl.y}, 0.8 * s.unit()),
              Rgb{50, 36, 26});
}

void drawRig(Canvas& canvas, const SideShip& s) {
  const Rgb wood{58, 40, 26}, rope{40, 32, 26};
  const double masts[][3] = {
      {0.27, 0.74, 0.86}, {0.02, 0.84, 1.0}, {-0.24, 0.62, 0.76}};  // u, height, sail size
  canvas.fill(segment(s.at(0.46, 0.13), s.at(0.7, 0.25), 1.3 * s.unit()), wood);  // bowsprit
  for (const auto& [u, height, size] : masts) {
    canvas.fill(segment(s.at(u, 0.1), s.at(u, height), 1.6 * s.unit()), wood);
    canvas.fill(segment(s.at(u, height * 0.8), s.at(u + 0.1, 0.13), 0.4 * s.unit()), rope);
    canvas.fill(segment(s.at(u, height * 0.8), s.at(u - 0.1, 0.13), 0.4 * s.unit()), rope);
  }
  canvas.fill(s.outline({{0.7, 0.25}, {0.27, 0.66}, {0.46, 0.18}}), s.sail * 0.95);  // jib
  canvas.fill(s.outline({{-0.25, 0.2}, {-0.25, 0.5}, {-0.5, 0.33}, {-0.5, 0.22}}),
              s.sail * 0.9);  // spanker
  for (const auto& [u, height, size] : masts) {
    drawSquareSail(canvas, s, u, 0.19, 0.36 * size + 0.02, 0.13 * size);
    drawSquareSail(canvas, s, u, 0.38 * size + 0.04, 0.58 * size + 0.02, 0.11 * size);
    drawSquareSail(canvas, s, u, 0.6 * size + 0.04, 0.72 * size, 0.08 * size);
  }
  const Point top = s.at(0.02, 0.84);  // pennant streaming downwind
  canvas.fill(polygon({{top.x, top.y},
                       {top.x, top.y + 2 * s.unit()},
                       {top.x - 0.16 * s.length, top.y + 3 * s.unit()}}),
              s.flag);
  const Point staff = s.at(-0.5, 0.2);  // ensign at the stern
  canvas.fill(segment(staff, s.at(-0.53, 0.28), 0.5 * s.unit()), wood);
  const Point fly = s.at(-0.53, 0.28);
  canvas.fill(rect(std::min(fly.x, fly.x - s.facing * 0.07 * s.length), fly.y,
                   std::max(fly.x, fly.x - s.facing * 0.07 * s.length), fly.y + 0.045 * s.length),
              s.flag);
}

// Dark wavy reflection below the hull and a line of foam along the waterline.
void drawWaterline(Canvas& canvas, const SideShip& s) {
  const Noise ripple(11);
  const Point a = s.at(-0.5, 0), b = s.at(0.5, 0);
  const Shape below =
      rect(std::min(a.x, b.x), s.waterY, std::max(a.x, b.x), s.waterY + 0.1 * s.length);
  canvas.tint(below, [&](Rgb old, double x, double y) {
    const double fade = 1 - (y - s.waterY) / (0.1 * s.length);
    return old * (1 - 0.5 * fade * ripple.at(x / 3, y / 1.5));
  });
  const Shape foam{
      {std::min(a.x, b.x), s.waterY - 1, std::max(a.x, b.x), s.waterY + 1.5},
      [&](double x, double y) { return y - s.waterY < 1.5 * ripple.at(x / 2, 5) - 0.5; }};
  canvas.fill(foam, Rgb{206, 214, 218});
}

void drawShip(Canvas& canvas, const SideShip& s) {
  drawWaterline(canvas, s);
  drawHull(canvas, s);
  drawRig(canvas, s);
}

// Gun smoke: a soft cluster of puffs, lit from the sun's side.
void drawSmoke(Canvas& canvas, Point centre, double radius, int puffs, uint64_t start) {
  Random random(start);
  const Noise texture(start);
  for (int i = 0; i < puffs; ++i) {
    const Point c{centre.x + random.symmetric() * radius * 1.6,
                  centre.y + random.symmetric() * radius * 0.5};
    const double r = radius * random.range(0.5, 1.0);
    canvas.fill(
        circle(c.x, c.y, r),
        [=](double x, double y) {
          const double lit = std::clamp(0.5 - ((x - c.x) * 0.5 + (y - c.y)) / (2 * r), 0.0, 1.0);
          return mix(Rgb{128, 124, 124}, Rgb{238, 230, 218}, lit);
        },
        [=, &texture](double x, double y) {
          const double edge = 1 - std::hypot(x - c.x, y - c.y) / r;
          return smoothstep(0.0, 0.6, edge) * (0.5 + 0.5 * texture.fractal(x / 9, y / 9, 3));
        });
  }
}

void drawMuzzleFlash(Canvas& canvas, Point p, double size) {
  canvas.fill(circle(p.x, p.y, size), Rgb{252, 150, 40},
              [=](double x, double y) { return 1 - std::hypot(x - p.x, y - p.y) / size; });
  canvas.fill(circle(p.x, p.y, size * 0.45), Rgb{255, 236, 150});
}

// A column of spray where a ball fell short.
void drawSplash(Canvas& canvas, Point base, double height) {
  Random random(static_cast<uint64_t>(base.x * 7 + base.y));
  for (int i = 0; i < 7; ++i) {
    const double up = height * i / 7.0, r = height * (0.16 - 0.012 * i);
    const Point c{base.x + random.symmetric() * r * 0.4, base.y - up - r * 0.3};
    canvas.fill(circle(c.x, c.y, r), Rgb{222, 230, 234}, [=](double x, double y) {
      return 0.85 * smoothstep(0.0, 0.7, 1 - std::hypot(x - c.x, y - c.y) / r);
    });
  }
}

void drawVignette(Canvas& canvas) {
  canvas.tint(rect(0, 0, kWidth, kHeight), [](Rgb old, double x, double y) {
    const double dx = (x - kWidth / 2.0) / kWidth, dy = (y - kHeight / 2.0) / kHeight;
    return old * (1 - 0.5 * (dx * dx + dy * dy));
  });
}

}  // namespace

Picture drawTitle() {
  Canvas canvas(kWidth, kHeight, 2, {});
  drawBackdrop(canvas);
  const SideShip distant{236,          212, 54, 1, {40, 34, 30}, {150, 120, 70}, {200, 190, 172},
                         {30, 50, 140}};
  const SideShip enemy{126,           247, 190, 1, {70, 40, 28}, {170, 60, 40}, {222, 210, 184},
                       {230, 220, 60}};
  const SideShip flagship{366,          286, 236, -1, {30, 28, 28}, {214, 166, 60}, {236, 226, 200},
                          {200, 30, 30}};
  drawShip(canvas, distant);
  drawSmoke(canvas, distant.at(0, 0.04), 6, 6, 31);
  drawShip(canvas, enemy);
  drawSmoke(canvas, enemy.at(0.12, 0.04), 20, 12, 32);
  drawSmoke(canvas, enemy.at(-0.25, 0.03), 16, 10, 35);
  drawSplash(canvas, {296, 266}, 30);
  drawSplash(canvas, {222, 256}, 20);
  drawShip(canvas, flagship);
  drawSmoke(canvas, flagship.at(0.28, 0.05), 24, 14, 33);
  drawSmoke(canvas, flagship.at(-0.05, 0.03), 20, 12, 34);
  for (double u : {-0.34, -0.16, 0.1, 0.3}) drawMuzzleFlash(canvas, flagship.at(u, 0.045), 7);
  drawVignette(canvas);
  return canvas.resolve();
}

}  // namespace gen
