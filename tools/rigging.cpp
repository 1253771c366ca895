// Masts, spars and sails of a ship seen from above. A set square sail shows as
// its yard with the canvas bellied forward of it; a gaff sail and a jib as a
// slim curve of canvas blown out to leeward along the boom or stay.
#include "ship_plan.h"

namespace gen {
namespace {

// The yards are braced round a little and the fore-and-aft sails blown out to
// starboard: the wind comes over the port quarter.
constexpr double kSailBrace = 8 * kPi / 180;
constexpr double kBoomSwing = 9 * kPi / 180;
const Point kSunShadow{2.4, 3.4};  // where a sail's shadow falls on the deck

struct Frame {  // a point's place along and in front of a yard or a spar
  Point origin;
  double along, across;  // unit direction angles in radians, screen clockwise
  double u(double x, double y) const {
    return (x - origin.x) * std::cos(along) + (y - origin.y) * std::sin(along);
  }
  double v(double x, double y) const {
    return (x - origin.x) * std::cos(across) + (y - origin.y) * std::sin(across);
  }
};

// How far forward of the yard a square sail's foot reaches at u (-1 to 1 along
// the yard): deepest in the middle, still well filled out near the yardarms.
double sailFoot(double u, double belly) { return belly * std::pow(std::max(1 - u * u, 0.0), 0.55); }

// The canvas of a square sail: from just behind the yard forward to the bellied foot.
Shape squareSail(const Frame& f, double halfSpan, double belly) {
  const double reach = halfSpan + belly + 1;
  return {{f.origin.x - reach, f.origin.y - reach, f.origin.x + reach, f.origin.y + reach},
          [=](double x, double y) {
            const double u = f.u(x, y) / halfSpan, v = f.v(x, y);
            return std::abs(u) <= 1 && v >= -0.7 && v <= sailFoot(u, belly);
          }};
}

Frame yardFrame(Point mast) { return {mast, kSailBrace, kSailBrace - kPi / 2}; }

void drawSquareSail(Canvas& canvas, const Hull& hull, const MastPlan& m) {
  const Frame f = yardFrame({kCentreX, hull.yAt(m.at)});
  const double halfSpan = m.yard * hull.c.beam, belly = kSailBelly * halfSpan;
  const Rgb sail = hull.c.sail;
  canvas.fill(squareSail(f, halfSpan, belly), [=](double x, double y) {
    const double u = f.u(x, y) / halfSpan, v = f.v(x, y), foot = sailFoot(u, belly);
    const double depth = std::clamp(v / (foot + 1e-9), 0.0, 1.0);
    // In the lee of the yard the canvas hangs steep and dark; the belly faces the
    // sky; the port half is turned to the sun.
    double light = 0.7 + 0.3 * std::sin(kPi / 2 * std::min(depth / 0.7, 1.0)) - 0.08 * u;
    if (foot - v < 0.8) light *= 0.8;                              // the foot's edge
    if (std::fmod((u + 1) * halfSpan, 2.2) < 0.35) light *= 0.92;  // seams between the cloths
    if (std::abs(v - 1.8) < 0.3 && std::fmod((u + 1) * halfSpan, 1.4) < 0.6)
      light *= 0.85;  // reef points
    return sail * light;
  });
  const Point left{f.origin.x - (halfSpan + 2) * std::cos(kSailBrace),
                   f.origin.y - (halfSpan + 2) * std::sin(kSailBrace)};
  const Point right{2 * f.origin.x - left.x, 2 * f.origin.y - left.y};
  canvas.fill(segment(left, right, 0.85), kSpar);
}

void shadeUnderSquareSail(Canvas& canvas, const Hull& hull, const MastPlan& m) {
  const Frame f = yardFrame({kCentreX, hull.yAt(m.at)});
  const double halfSpan = m.yard * hull.c.beam;
  canvas.tint(shifted(squareSail(f, halfSpan, kSailBelly * halfSpan), kSunShadow.x, kSunShadow.y),
              [](Rgb old, double, double) { return old * 0.74; });
}

// A spar from `from` to `to`: u along it, v out to starboard of it.
Frame sparFrame(Point from, Point to) {
  const double along = std::atan2(to.y - from.y, to.x - from.x);
  return {from, along, along - kPi / 2};
}

// How far out a sail along a spar of `length` reaches at u, bellied by `belly`.
double sailReach(double u, double length, double belly) {
  const double s = u / length;
  return s < 0 || s > 1 ? -1 : belly * std::pow(std::sin(kPi * s), 0.8);
}

// Canvas along a spar, bellied out to starboard, lit where it bellies most.
void fillSailAlong(Canvas& canvas, Point from, Point to, double belly, Rgb sail) {
  const Frame f = sparFrame(from, to);
  const double length = std::hypot(to.x - from.x, to.y - from.y);
  const Shape canvasShape{{std::min(from.x, to.x) - belly - 1, std::min(from.y, to.y) - belly - 1,
                           std::max(from.x, to.x) + belly + 1, std::max(from.y, to.y) + belly + 1},
                          [=](double x, double y) {
                            const double out = f.v(x, y);
                            return out >= -0.6 && out <= sailReach(f.u(x, y), length, belly);
                          }};
  canvas.fill(canvasShape, [=](double x, double y) {
    return sail * (0.8 + 0.18 * std::clamp(f.v(x, y) / std::max(belly, 1.0), 0.0, 1.0));
  });
}

void drawGaffSail(Canvas& canvas, const Hull& hull, const MastPlan& m) {
  const Point mast{kCentreX, hull.yAt(m.at)};
  const double length = m.boom * hull.length();
  const Point boomEnd{mast.x + length * std::sin(kBoomSwing),
                      mast.y + length * std::cos(kBoomSwing)};
  fillSailAlong(canvas, mast, boomEnd, 0.22 * length + 1, hull.c.sail);
  canvas.fill(segment(mast, boomEnd, 0.65), kSpar);
  const double gaff = 0.6 * length, swing = kBoomSwing * 1.6;
  canvas.fill(
      segment(mast, {mast.x + gaff * std::sin(swing), mast.y + gaff * std::cos(swing)}, 0.5),
      kSpar);
}

double bowspritTip(const Hull& hull) { return std::max(3.5, hull.c.bowY - 0.18 * hull.length()); }

void drawBowsprit(Canvas& canvas, const Hull& hull) {
  const double tip = bowspritTip(hull), bow = hull.c.bowY;
  canvas.fill(segment({kCentreX, hull.yAt(0.1)}, {kCentreX, bow + 1}, 1.3), kSpar);
  canvas.fill(segment({kCentreX, bow + 1}, {kCentreX, tip}, 0.8), kSpar);
  if (hull.c.masts.size() == 3) {  // the spritsail yard across the bowsprit
    const double y = bow - 0.45 * (bow - tip), span = 0.22 * hull.c.beam;
    canvas.fill(segment({kCentreX - span, y}, {kCentreX + span, y}, 0.5), kSpar);
  }
}

void drawJibs(Canvas& canvas, const Hull& hull) {
  const double foremast = hull.yAt(hull.c.masts.front().at), tip = bowspritTip(hull);
  const Rgb sail = hull.c.sail * 0.97;
  fillSailAlong(canvas, {kCentreX, tip + 1.5}, {kCentreX, foremast - 2}, 0.08 * (foremast - tip),
                sail);
  fillSailAlong(canvas, {kCentreX, hull.c.bowY + 1}, {kCentreX, foremast - 2},
                0.07 * (foremast - hull.c.bowY), sail * 1.03);
  canvas.fill(segment({kCentreX, tip + 1}, {kCentreX, foremast}, 0.3), kRope);  // forestay
}

// Standing rigging from the mast down to the chains on either side, a little aft.
void drawShrouds(Canvas& canvas, const Hull& hull, const MastPlan& m) {
  const Point mast{kCentreX, hull.yAt(m.at)};
  for (double side : {-1.0, 1.0})
    for (double dt : {0.015, 0.035, 0.055}) {
      const double t = m.at + dt;
      canvas.fill(segment(mast, {kCentreX + side * (hull.halfWidth(t) - 1.2), hull.yAt(t)}, 0.28),
                  kRope);
    }
}

void drawMastHead(Canvas& canvas, const Hull& hull, const MastPlan& m) {
  const double y = hull.yAt(m.at), r = std::max(1.3, hull.c.beam * 0.042);
  canvas.fill(circle(kCentreX, y, r), kDarkWood);
  canvas.fill(circle(kCentreX - 0.35 * r, y - 0.35 * r, 0.45 * r), Rgb{150, 108, 64});
}

}  // namespace

void drawRigging(Canvas& canvas, const Hull& hull) {
  const auto& masts = hull.c.masts;
  drawBowsprit(canvas, hull);
  for (const auto& m : masts) drawShrouds(canvas, hull, m);
  for (const auto& m : masts)
    if (m.yard > 0) shadeUnderSquareSail(canvas, hull, m);
  drawJibs(canvas, hull);
  for (const auto& m : masts)
    if (m.boom > 0) drawGaffSail(canvas, hull, m);
  for (const auto& m : masts)
    if (m.yard > 0) drawSquareSail(canvas, hull, m);
  for (const auto& m : masts) drawMastHead(canvas, hull, m);
}

}  // namespace gen
