// The game's icon: the flagship under sail, bow to the upper right, on a tile of the
// battle's sea. The raster sizes sample the ship's own sprite; the scalable one draws the
// same ship from its class plan as outlines.
#include <cstdio>
#include <string>

#include "art.h"
#include "ship_plan.h"

namespace gen {
namespace {

// Everything is laid out on a 128-unit tile.
constexpr double kTile = 128, kTileEdge = 4, kTileRadius = 22, kRim = 3;
constexpr int kIconClass = 7;
constexpr double kTurn = 35 * kPi / 180;    // clockwise from bow up
constexpr double kShipScale = 0.74;         // tile units per ship-picture pixel
constexpr Point kShipMiddle{kCentreX, 80};  // the ship-picture point at the tile's centre
constexpr Point kShadow{2.5, 3.5};          // in tile units, as in the battle's light
const Rgb kSea{1, 119, 254}, kRimColour{8, 40, 96};

// Signed distance to the rounded tile's edge, negative inside.
double tileDistance(double x, double y) {
  const double half = kTile / 2 - kTileEdge - kTileRadius;
  const double dx = std::max(std::abs(x - kTile / 2) - half, 0.0);
  const double dy = std::max(std::abs(y - kTile / 2) - half, 0.0);
  return std::hypot(dx, dy) - kTileRadius;
}

Rgb seaAt(double x, double y) {
  const double t = (x + y) / (2 * kTile);  // lit from the upper left
  return mix(mix(kSea, Rgb{255, 255, 255}, 0.18), kSea * 0.72, t);
}

// The ship picture's pixel under a tile point, if the ship is there.
bool shipAt(const Picture& ship, double x, double y, Rgb& colour) {
  const double dx = (x - kTile / 2) / kShipScale, dy = (y - kTile / 2) / kShipScale;
  const double px = dx * std::cos(kTurn) + dy * std::sin(kTurn) + kShipMiddle.x;
  const double py = -dx * std::sin(kTurn) + dy * std::cos(kTurn) + kShipMiddle.y;
  if (px < 0 || py < 0 || px >= ship.w || py >= ship.h) return false;
  const uint8_t* p = ship.at(static_cast<int>(px), static_cast<int>(py));
  if (p[0] == 255 && p[1] == 255 && p[2] == 255) return false;  // the sprite's key colour
  colour = {double(p[0]), double(p[1]), double(p[2])};
  return true;
}

Rgb tileColour(const Picture& ship, double x, double y) {
  Rgb colour;
  if (shipAt(ship, x, y, colour)) return colour;
  if (tileDistance(x, y) > -kRim) return kRimColour;
  Rgb ignored;
  const bool shaded = shipAt(ship, x - kShadow.x, y - kShadow.y, ignored);
  return seaAt(x, y) * (shaded ? 0.7 : 1.0);
}

// --- the scalable icon -----------------------------------------------------------------

std::string hex(Rgb c) {
  char text[8];
  auto byte = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
  return text;
}

std::string num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string pathOf(const std::vector<Point>& points) {
  std::string d;
  for (const Point& p : points) d += (d.empty() ? "M" : " L") + num(p.x) + " " + num(p.y);
  return d + " Z";
}

// The hull's outline shrunk by `inset`, as Hull::shape draws it.
std::vector<Point> hullOutline(const Hull& hull, double inset) {
  std::vector<Point> right;
  constexpr int kSteps = 40;
  for (int i = 0; i <= kSteps; ++i) {
    const double y = std::min(hull.yAt(static_cast<double>(i) / kSteps), kSternY - inset);
    const double t = hull.tAt(y), dt = 0.5 / hull.length();
    const double slope =
        hull.halfWidth(std::min(t + dt, 1.0)) - hull.halfWidth(std::max(t - dt, 0.0));
    const double w = hull.halfWidth(t) - inset * std::sqrt(1 + slope * slope);
    if (w > 0) right.push_back({kCentreX + w, y});
  }
  std::vector<Point> all = right;
  for (auto p = right.rbegin(); p != right.rend(); ++p) all.push_back({2 * kCentreX - p->x, p->y});
  return all;
}

// A square sail seen from above: its yard braced round, the canvas bellied forward of it.
std::vector<Point> squareSail(Point mast, double halfSpan, double belly) {
  constexpr double kBrace = 8 * kPi / 180;
  std::vector<Point> points;
  auto at = [&](double u, double v) {  // along the yard, forward of it
    return Point{mast.x + u * std::cos(kBrace) + v * std::sin(kBrace),
                 mast.y + u * std::sin(kBrace) - v * std::cos(kBrace)};
  };
  points.push_back(at(halfSpan, 0));
  points.push_back(at(-halfSpan, 0));
  for (int i = -10; i <= 10; ++i) {
    const double u = i / 10.0;
    points.push_back(at(u * halfSpan, belly * std::pow(std::max(1 - u * u, 0.0), 0.55)));
  }
  return points;
}

std::string shape(const std::string& d, const std::string& fill) {
  return "  <path d=\"" + d + "\" fill=\"" + fill + "\"/>\n";
}

std::string line(Point a, Point b, double width, Rgb colour) {
  return "  <path d=\"M" + num(a.x) + " " + num(a.y) + " L" + num(b.x) + " " + num(b.y) +
         "\" stroke=\"" + hex(colour) + "\" stroke-width=\"" + num(width) +
         "\" stroke-linecap=\"round\" fill=\"none\"/>\n";
}

// The ship in ship-picture coordinates; in one colour for its shadow.
std::string shipPaths(bool shadow) {
  const Hull hull{shipClass(kIconClass)};
  const ShipClass& c = hull.c;
  auto paint = [&](Rgb colour) { return shadow ? std::string("#000000") : hex(colour); };
  std::string out;
  const Point tip{kCentreX, std::max(3.5, c.bowY - 0.18 * hull.length())};
  if (!shadow) out += line(tip, {kCentreX, hull.yAt(0.1)}, 2, kSpar);
  out += shape(pathOf(hullOutline(hull, 0)), paint(c.hull * 0.5));
  if (!shadow) {
    out += shape(pathOf(hullOutline(hull, 0.6)), hex(c.hull));
    out += shape(pathOf(hullOutline(hull, 1.5)), hex(c.band));
    out += shape(pathOf(hullOutline(hull, 2.4)), hex(c.hull));
    out += shape(pathOf(hullOutline(hull, sideBandWidth(c))), hex(c.rail));
    out += shape(pathOf(hullOutline(hull, sideBandWidth(c) + 0.8)), hex(c.bulwark));
    out += shape(pathOf(hullOutline(hull, deckInset(c))), hex(c.deck));
  }
  for (const MastPlan& m : c.masts) {
    const Point mast{kCentreX, hull.yAt(m.at)};
    if (m.boom > 0 && !shadow)
      out += line(mast, {mast.x + 4, mast.y + m.boom * hull.length()}, 1.3, kSpar);
    if (m.yard <= 0) continue;
    const double halfSpan = m.yard * c.beam;
    out += shape(pathOf(squareSail(mast, halfSpan, kSailBelly * halfSpan)), paint(c.sail));
    if (!shadow)
      out += line(squareSail(mast, halfSpan + 2, 0)[1], squareSail(mast, halfSpan + 2, 0)[0], 1.7,
                  kSpar);
  }
  if (!shadow)
    for (const MastPlan& m : c.masts)
      out += "  <circle cx=\"" + num(kCentreX) + "\" cy=\"" + num(hull.yAt(m.at)) +
             "\" r=\"2.3\" fill=\"" + hex(kDarkWood) + "\"/>\n";
  return out;
}

std::string shipPlacement(Point offset) {
  return "translate(" + num(kTile / 2 + offset.x) + " " + num(kTile / 2 + offset.y) + ") rotate(" +
         num(kTurn * 180 / kPi) + ") scale(" + num(kShipScale) + ") translate(" +
         num(-kShipMiddle.x) + " " + num(-kShipMiddle.y) + ")";
}

}  // namespace

RgbaPicture drawIcon(int size) {
  const Picture ship = drawShip(kIconClass);
  RgbaPicture icon(size, size);
  constexpr int kSamples = 6;
  const double unit = kTile / size;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      Rgb sum;
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) * unit,
                       y = (py + (sy + 0.5) / kSamples) * unit;
          if (tileDistance(x, y) > 0) continue;
          sum = sum + tileColour(ship, x, y);
          ++inside;
        }
      uint8_t* p = icon.at(px, py);
      if (inside == 0) continue;  // fully transparent
      const Rgb c = sum * (1.0 / inside);
      p[0] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.0, 255.0)));
      p[1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.0, 255.0)));
      p[2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.0, 255.0)));
      p[3] = static_cast<uint8_t>(std::lround(255.0 * inside / (kSamples * kSamples)));
    }
  return icon;
}

std::string drawIconSvg() {
  const double side = kTile - 2 * kTileEdge;
  const Rgb light = mix(kSea, Rgb{255, 255, 255}, 0.18), dark = kSea * 0.72;
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 128 "
      "128\">\n"
      " <defs>\n  <linearGradient id=\"sea\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\">\n"
      "   <stop offset=\"0\" stop-color=\"" +
      hex(light) +
      "\"/>\n"
      "   <stop offset=\"1\" stop-color=\"" +
      hex(dark) +
      "\"/>\n  </linearGradient>\n"
      "  <clipPath id=\"tile\"><rect x=\"" +
      num(kTileEdge) + "\" y=\"" + num(kTileEdge) + "\" width=\"" + num(side) + "\" height=\"" +
      num(side) + "\" rx=\"" + num(kTileRadius) +
      "\"/></clipPath>\n"
      " </defs>\n"
      " <rect x=\"" +
      num(kTileEdge) + "\" y=\"" + num(kTileEdge) + "\" width=\"" + num(side) + "\" height=\"" +
      num(side) + "\" rx=\"" + num(kTileRadius) + "\" fill=\"" + hex(kRimColour) + "\"/>\n" +
      " <rect x=\"" + num(kTileEdge + kRim) + "\" y=\"" + num(kTileEdge + kRim) + "\" width=\"" +
      num(side - 2 * kRim) + "\" height=\"" + num(side - 2 * kRim) + "\" rx=\"" +
      num(kTileRadius - kRim) + "\" fill=\"url(#sea)\"/>\n";
  svg += " <g clip-path=\"url(#tile)\">\n";
  svg += " <g opacity=\"0.3\" transform=\"" + shipPlacement(kShadow) + "\">\n" + shipPaths(true) +
         " </g>\n";
  svg += " <g transform=\"" + shipPlacement({0, 0}) + "\">\n" + shipPaths(false) + " </g>\n";
  return svg + " </g>\n</svg>\n";
}

}  // namespace gen
