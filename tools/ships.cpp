// The eight ship classes seen from above, bow up, on white.
#include <array>

#include "art.h"

namespace gen {
namespace {

constexpr int kSize = 150;
constexpr int kSamples = 4;
constexpr double kCentre = kSize / 2.0;
constexpr double kDeckInset = 4.2;  // hull side, stripe and bulwark around the deck

struct ShipClass {
  double length, beam;
  int masts;
  bool sailsSet;
  int gunsPerSide;
  Rgb hull, stripe, bulwark, deck, sail, roof, pennant;
  bool gilded;  // the flagship's gold trim, lanterns and anchors
};

// Lengths and beams grow with the class; colours and rig tell them apart at a glance.
const std::array<ShipClass, kShipClasses> kClasses{{
    {74,
     24,
     1,
     true,
     4,
     {122, 84, 48},
     {60, 40, 24},
     {156, 108, 62},
     {204, 166, 114},
     {226, 214, 184},
     {128, 76, 42},
     {200, 30, 30},
     false},
    {84,
     27,
     2,
     false,
     6,
     {30, 70, 52},
     {206, 172, 86},
     {58, 124, 88},
     {190, 152, 100},
     {214, 204, 178},
     {44, 96, 68},
     {30, 70, 180},
     false},
    {92,
     29,
     2,
     true,
     7,
     {30, 48, 96},
     {212, 182, 78},
     {62, 94, 166},
     {208, 174, 124},
     {230, 220, 192},
     {44, 62, 120},
     {220, 190, 40},
     false},
    {100,
     32,
     3,
     false,
     8,
     {110, 34, 30},
     {34, 30, 28},
     {172, 54, 40},
     {196, 156, 104},
     {222, 210, 182},
     {120, 40, 32},
     {240, 220, 60},
     false},
    {108,
     35,
     3,
     true,
     10,
     {50, 50, 56},
     {184, 62, 42},
     {112, 114, 122},
     {202, 168, 116},
     {218, 212, 198},
     {74, 74, 82},
     {200, 40, 40},
     false},
    {116,
     38,
     3,
     false,
     11,
     {56, 84, 108},
     {216, 190, 112},
     {100, 140, 170},
     {188, 160, 122},
     {224, 210, 180},
     {60, 90, 116},
     {40, 140, 60},
     false},
    {124,
     42,
     3,
     true,
     12,
     {128, 82, 34},
     {40, 36, 34},
     {196, 136, 62},
     {198, 162, 110},
     {232, 222, 194},
     {110, 66, 30},
     {30, 60, 170},
     false},
    {134,
     46,
     3,
     true,
     14,
     {26, 24, 24},
     {216, 170, 62},
     {176, 44, 34},
     {212, 178, 124},
     {236, 226, 198},
     {128, 36, 28},
     {214, 30, 30},
     true},
}};

// Repeatable hash of an integer into [0, 1), for plank tones and joints.
double hash01(int64_t k) { return Random(static_cast<uint64_t>(k) * 0x2545F4914F6CDD1Dull).unit(); }

struct Hull {
  const ShipClass& c;
  double bowY() const { return kCentre - c.length / 2; }
  double sternY() const { return kCentre + c.length / 2; }
  double yAt(double t) const { return bowY() + t * c.length; }

  // Half the hull's width at t (0 bow tip, 1 stern): a pointed bow, straight
  // sides and a rounded stern with a short flat transom.
  double halfWidth(double t) const {
    const double half = c.beam / 2;
    if (t < 0 || t > 1) return -1;
    if (t < 0.36) return half * (1 - std::pow(1 - t / 0.36, 1.7));
    if (t < 0.84) return half;
    const double u = (t - 0.84) / 0.16;
    return half * std::sqrt(1 - 0.85 * u * u);
  }

  // The hull shrunk by `inset` on every side.
  Shape shape(double inset) const {
    const double half = c.beam / 2;
    return {{kCentre - half, bowY(), kCentre + half, sternY()}, [this, inset](double x, double y) {
              if (y > sternY() - inset) return false;
              return std::abs(x - kCentre) <= halfWidth((y - bowY()) / c.length) - inset;
            }};
  }
};

Rgb planked(const ShipClass& c, double x, double y) {
  constexpr double kPlank = 2.4, kPlankLength = 15;
  const double across = (x - kCentre) / kPlank + 100;
  const auto plank = static_cast<int64_t>(std::floor(across));
  Rgb tone = c.deck * (0.92 + 0.1 * hash01(plank));
  const bool seam = across - std::floor(across) < 0.16;
  const bool joint = std::fmod(y + hash01(plank + 500) * kPlankLength, kPlankLength) < 0.4;
  return (seam || joint) ? tone * 0.74 : tone;
}

// Cannon muzzles poking out of both sides, with their ports on the stripe.
void drawGuns(Canvas& canvas, const Hull& hull, bool barrels) {
  const ShipClass& c = hull.c;
  for (int i = 0; i < c.gunsPerSide; ++i) {
    const double t = 0.27 + 0.55 * (i + 0.5) / c.gunsPerSide;
    const double y = hull.yAt(t), w = hull.halfWidth(t);
    for (double side : {-1.0, 1.0}) {
      const double inner = kCentre + side * (w - 1.6),
                   outer = kCentre + side * (w + (barrels ? 2.6 : 0));
      const Shape port = rect(std::min(inner, outer), y - 0.8, std::max(inner, outer), y + 0.8);
      canvas.fill(port, barrels ? Rgb{58, 58, 64} : (c.gilded ? Rgb{20, 18, 18} : c.stripe * 0.35));
    }
  }
}

void drawHullAndDeck(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  canvas.fill(hull.shape(0), c.hull);
  canvas.fill(hull.shape(1.0), c.stripe);
  canvas.fill(hull.shape(2.0), c.hull);
  canvas.fill(hull.shape(2.8), c.bulwark);
  canvas.fill(hull.shape(kDeckInset), [&c](double x, double y) { return planked(c, x, y); });
  drawGuns(canvas, hull, false);
  // Forecastle and quarterdeck stand a little higher: lighter, with a rail at the break.
  for (auto [from, to] : {std::pair{0.0, 0.2}, std::pair{0.74, 1.0}}) {
    const Shape raised =
        intersect(hull.shape(kDeckInset), rect(0, hull.yAt(from), kSize, hull.yAt(to)));
    canvas.tint(raised, [](Rgb old, double, double) { return old * 1.07; });
    const double railY = hull.yAt(from > 0 ? from : to);
    canvas.fill(intersect(hull.shape(2.8), rect(0, railY - 0.6, kSize, railY + 0.6)), c.bulwark);
  }
}

void drawGrating(Canvas& canvas, double cx, double cy, double half) {
  canvas.fill(rect(cx - half, cy - half, cx + half, cy + half), Rgb{74, 52, 32});
  canvas.fill(rect(cx - half + 0.6, cy - half + 0.6, cx + half - 0.6, cy + half - 0.6),
              [](double x, double y) {
                const bool bar = std::fmod(x * 1.4, 1.0) < 0.35 || std::fmod(y * 1.4, 1.0) < 0.35;
                return bar ? Rgb{140, 104, 64} : Rgb{44, 30, 20};
              });
}

std::vector<double> mastPositions(int masts) {
  if (masts == 1) return {0.42};
  if (masts == 2) return {0.34, 0.6};
  return {0.28, 0.5, 0.7};
}

void drawDeckFittings(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const auto masts = mastPositions(c.masts);
  // Hatch gratings between the masts, a capstan aft of the main mast.
  for (size_t i = 0; i + 1 < masts.size(); ++i)
    drawGrating(canvas, kCentre, hull.yAt((masts[i] + masts[i + 1]) / 2), c.beam * 0.1);
  if (masts.size() == 1) drawGrating(canvas, kCentre, hull.yAt(0.6), c.beam * 0.12);
  const double capstanY = hull.yAt(masts.back() + 0.07);
  canvas.fill(circle(kCentre, capstanY, c.beam * 0.09), Rgb{92, 60, 34});
  canvas.fill(circle(kCentre, capstanY, c.beam * 0.045), Rgb{150, 110, 66});
}

// The stern cabin's roof with a skylight; the flagship's is edged in gold.
void drawSternCabin(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const double top = hull.yAt(0.86), bottom = hull.sternY() - 3.2;
  const double half = hull.halfWidth(0.9) - 3.6;
  const Shape roof = intersect(hull.shape(3.4), rect(kCentre - half, top, kCentre + half, bottom));
  if (c.gilded)
    canvas.fill(intersect(hull.shape(2.6), rect(0, top - 1, kSize, bottom + 1)), Rgb{222, 178, 52});
  canvas.fill(roof, [&c, top, bottom](double, double y) {
    return c.roof * (1.05 - 0.2 * (y - top) / (bottom - top));
  });
  drawGrating(canvas, kCentre, (top + bottom) / 2, std::min(half, bottom - top) * 0.3);
}

void drawBowsprit(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const double root = hull.yAt(0.12), tip = std::max(3.0, hull.bowY() - c.length * 0.17);
  canvas.fill(segment({kCentre, root}, {kCentre, hull.bowY() + 1}, 1.4), Rgb{112, 76, 42});
  canvas.fill(segment({kCentre, hull.bowY() + 1}, {kCentre, tip}, 0.8), Rgb{112, 76, 42});
  const double foremast = hull.yAt(mastPositions(c.masts).front());
  canvas.fill(segment({kCentre, tip + 1}, {kCentre + 0.6, foremast}, 0.3),
              Rgb{58, 44, 30});  // forestay
  if (c.gilded)                  // anchors hanging at the catheads
    for (double side : {-1.0, 1.0}) {
      const double y = hull.yAt(0.1), x = kCentre + side * hull.halfWidth(0.1);
      canvas.fill(segment({x, y}, {x + side * 2.6, y + 1.6}, 0.8), Rgb{52, 52, 58});
    }
}

// Standing rigging from the mast down to the chains on either side.
void drawShrouds(Canvas& canvas, const Hull& hull, double t) {
  const double my = hull.yAt(t);
  for (double side : {-1.0, 1.0})
    for (double dt : {0.02, 0.05, 0.08}) {
      const double ty = hull.yAt(t + dt), tx = kCentre + side * (hull.halfWidth(t + dt) - 0.8);
      canvas.fill(segment({kCentre, my}, {tx, ty}, 0.3), Rgb{58, 44, 30});
    }
}

// A set sail seen from above: the canvas bellies forward of its yard.
Shape sailShape(double my, double halfSpan, double belly) {
  return {{kCentre - halfSpan, my - belly - 1, kCentre + halfSpan, my + 1.2},
          [=](double x, double y) {
            const double u = (x - kCentre) / halfSpan;
            if (std::abs(u) > 1) return false;
            return y <= my + 1.2 && y >= my - 0.4 - belly * (1 - u * u);
          }};
}

void drawSetSail(Canvas& canvas, const ShipClass& c, double my, double halfSpan, double belly) {
  const Shape sail = sailShape(my, halfSpan, belly);
  canvas.tint(shifted(sail, 2.5, 3.5),
              [](Rgb old, double, double) { return old * 0.72; });  // shadow on deck
  canvas.fill(sail, [&c, my, halfSpan, belly](double x, double y) {
    const double u = (x - kCentre) / halfSpan;
    const double depth = std::clamp((my - y) / std::max(belly, 1.0), 0.0, 1.0);
    const double light = 0.7 + 0.26 * depth - 0.06 * u - 0.1 * u * u;  // sun from the upper left
    const bool seam = std::fmod(x - kCentre + 100.3, 2.6) < 0.3;
    return c.sail * (light * (seam ? 0.93 : 1.0));
  });
  canvas.fill(segment({kCentre - halfSpan, my + 0.5}, {kCentre + halfSpan, my + 0.5}, 0.75),
              Rgb{96, 64, 36});
}

void drawFurledSail(Canvas& canvas, const ShipClass& c, double my, double halfSpan) {
  canvas.fill(segment({kCentre - halfSpan, my}, {kCentre + halfSpan, my}, 0.8), Rgb{96, 64, 36});
  canvas.fill(
      segment({kCentre - halfSpan * 0.86, my - 0.6}, {kCentre + halfSpan * 0.86, my - 0.6}, 1.6),
      [&c, my](double x, double y) {
        const double across = std::abs(y - (my - 1.1)) / 1.6;  // rounded roll, lit from above
        const bool gasket = std::fmod(x - kCentre + 100.0, 5.0) < 0.5;
        return c.sail * ((gasket ? 0.7 : 1.0) * (0.98 - 0.22 * across));
      });
}

void drawMast(Canvas& canvas, const Hull& hull, double t, double size) {
  const ShipClass& c = hull.c;
  const double my = hull.yAt(t), span = c.beam * 0.72 * size;
  drawShrouds(canvas, hull, t);
  if (c.sailsSet) {
    const double belly = c.beam * 0.3 * size;
    drawSetSail(canvas, c, my, span, belly);
    drawSetSail(canvas, c, my - 0.6, span * 0.78, belly * 0.62);
    drawSetSail(canvas, c, my - 1.0, span * 0.56, belly * 0.3);
  } else {
    drawFurledSail(canvas, c, my + 1.5, span);
    drawFurledSail(canvas, c, my - 2.2, span * 0.74);
  }
  // The fighting top and the mast head.
  canvas.fill(ellipse(kCentre, my + 0.6, c.beam * 0.13 * size, c.beam * 0.09 * size),
              Rgb{104, 70, 40});
  canvas.fill(circle(kCentre, my, std::max(1.3, c.beam * 0.05)), Rgb{70, 46, 26});
  canvas.fill(circle(kCentre - 0.3, my - 0.3, std::max(0.6, c.beam * 0.022)), Rgb{140, 100, 60});
}

// A long pennant from the aftmost mast head, streaming aft in the wind.
void drawPennant(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const double my = hull.yAt(mastPositions(c.masts).back()), length = c.length * 0.2;
  std::vector<Point> left, right;
  for (int i = 0; i <= 12; ++i) {
    const double s = i / 12.0, x = kCentre + 1.6 * std::sin(s * 2 * kPi),
                 half = 1.3 * (1 - s) + 0.2;
    left.push_back({x - half, my + s * length});
    right.push_back({x + half, my + s * length});
  }
  left.insert(left.end(), right.rbegin(), right.rend());
  canvas.fill(polygon(left), c.pennant);
}

}  // namespace

Rgb clearOfWhite(Rgb c) {
  constexpr double kPalest = 216;  // at least one channel this far below white
  const double lowest = std::min({c.r, c.g, c.b});
  return lowest > kPalest ? c + Rgb{kPalest - lowest, kPalest - lowest, kPalest - lowest} : c;
}

Picture drawShip(int shipClass) {
  const ShipClass& c = kClasses.at(static_cast<size_t>(shipClass));
  const Hull hull{c};
  Canvas canvas(kSize, kSize, kSamples, {255, 255, 255});
  drawGuns(canvas, hull, true);
  drawHullAndDeck(canvas, hull);
  drawBowsprit(canvas, hull);
  drawDeckFittings(canvas, hull);
  drawSternCabin(canvas, hull);
  const auto masts = mastPositions(c.masts);
  for (size_t i = 0; i < masts.size(); ++i) {
    const bool mizzen = masts.size() == 3 && i == 2;
    drawMast(canvas, hull, masts[i], mizzen ? 0.8 : 1.0);
  }
  drawPennant(canvas, hull);
  return canvas.resolveKeyed({255, 255, 255}, clearOfWhite);
}

}  // namespace gen
