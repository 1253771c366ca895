// The eight ship classes seen from above, bow up, on white: hull, deck, guns and
// deck fittings. The masts and sails are in rigging.cpp.
#include <array>

#include "art.h"
#include "ship_plan.h"

namespace gen {
namespace {

constexpr int kSamples = 4;

// Masts of the small craft: a sloop's single mast with a gaff mainsail and a
// square topsail, a schooner's two gaff-rigged masts, a brig's two square-rigged
// ones. Ships from the corvette up carry three square-rigged masts.
const std::vector<MastPlan> kSloop{{0.36, 0.8, 0.5}};
const std::vector<MastPlan> kSchooner{{0.3, 0.78, 0.22}, {0.57, 0, 0.36}};
const std::vector<MastPlan> kBrig{{0.3, 0.86, 0}, {0.57, 0.92, 0.36}};
const std::vector<MastPlan> kShipRig{{0.26, 0.84, 0}, {0.5, 0.92, 0}, {0.73, 0.68, 0.24}};

// Size, beam and gun decks grow with the class; the painted sides and the rig
// tell the classes apart at a glance.
// clang-format off
const std::array<ShipClass, kShipClasses> kClasses{{
//   bow beam curve decks guns rig       raised boats  gilded
//   colours: hull, band, rail, bulwark, deck, sail
    {26, 34, 0.4,  0, 4,  kSloop,    false, false, false,
     {176, 50, 36}, {44, 34, 30}, {204, 72, 52}, {132, 40, 30}, {198, 162, 112}, {238, 226, 200}},
    {24, 36, 0.38, 0, 5,  kSchooner, false, false, false,
     {30, 98, 66}, {220, 186, 84}, {44, 124, 86}, {26, 78, 54}, {188, 150, 100}, {234, 226, 204}},
    {22, 38, 0.34, 0, 7,  kBrig,     false, false, false,
     {36, 70, 160}, {224, 194, 90}, {56, 92, 184}, {178, 50, 40}, {204, 170, 120}, {230, 222, 198}},
    {19, 41, 0.32, 0, 9,  kShipRig,  true,  true,  false,
     {196, 150, 60}, {40, 34, 30}, {150, 100, 56}, {150, 44, 34}, {196, 160, 112}, {226, 218, 194}},
    {16, 44, 0.3,  1, 11, kShipRig,  true,  true,  false,
     {34, 32, 32}, {222, 180, 80}, {64, 60, 58}, {176, 50, 40}, {204, 170, 120}, {236, 228, 206}},
    {14, 46, 0.28, 1, 12, kShipRig,  true,  true,  false,
     {92, 118, 140}, {232, 228, 212}, {114, 140, 162}, {60, 80, 98}, {192, 160, 118}, {222, 214, 192}},
    {11, 49, 0.27, 2, 14, kShipRig,  true,  true,  false,
     {96, 46, 26}, {214, 166, 70}, {124, 66, 40}, {176, 48, 38}, {206, 172, 124}, {232, 224, 200}},
    {8,  54, 0.26, 3, 16, kShipRig,  true,  true,  true,
     {24, 22, 22}, {232, 190, 76}, {60, 54, 50}, {184, 44, 34}, {212, 178, 126}, {240, 232, 208}},
}};
// clang-format on

// Repeatable hash of an integer into [0, 1), for plank tones and joints.
double hash01(int64_t k) { return Random(static_cast<uint64_t>(k) * 0x2545F4914F6CDD1Dull).unit(); }

// Sunlight from the upper left: the port side of the hull a little lighter.
Rgb sunlit(Rgb c, double x, double half) { return c * (1.0 + 0.14 * (kCentreX - x) / half); }

// Small craft have one wale along the side, gun decks one band each.
double bandInset(int band) { return 1.5 + 1.5 * band; }
constexpr double kBandWidth = 0.9;

std::vector<double> gunRows(const Hull& hull) {
  const double first = std::max(hull.yAt(0.2), 42.0), last = std::min(hull.yAt(0.86), 124.0);
  std::vector<double> rows;
  for (int i = 0; i < hull.c.gunsPerSide; ++i)
    rows.push_back(first + (last - first) * (i + 0.5) / hull.c.gunsPerSide);
  return rows;
}

// Muzzles run out through the ports, poking out beyond the hull's side.
void drawMuzzles(Canvas& canvas, const Hull& hull) {
  for (double y : gunRows(hull)) {
    const double w = hull.halfWidth(hull.tAt(y));
    for (double side : {-1.0, 1.0})
      canvas.fill(segment({kCentreX + side * (w - 2), y}, {kCentreX + side * (w + 1.9), y}, 0.65),
                  kIron);
  }
}

// The hull's side seen from above: a dark waterline edge, the painted side with
// one band per gun deck, its ports, the rail and the inside of the bulwark.
void drawHullSides(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const double half = c.beam / 2;
  const Shade side = [&](double x, double) { return sunlit(c.hull, x, half); };
  canvas.fill(hull.shape(0), c.hull * 0.5);
  canvas.fill(hull.shape(0.6), side);
  const int bands = std::max(c.gunDecks, 1);
  for (int band = 0; band < bands; ++band) {
    const double inset = bandInset(band);
    canvas.fill(hull.shape(inset), [&](double x, double) { return sunlit(c.band, x, half); });
    canvas.fill(hull.shape(inset + kBandWidth), side);
    if (band >= c.gunDecks) continue;
    const Shape ring = minus(hull.shape(inset), hull.shape(inset + kBandWidth));
    for (double y : gunRows(hull))
      canvas.fill(intersect(ring, rect(0, y - 0.6, 150, y + 0.6)), kTar);
  }
  canvas.fill(hull.shape(sideBandWidth(c)), c.rail);
  canvas.fill(hull.shape(sideBandWidth(c) + 0.8), c.bulwark);
}

Rgb planked(const ShipClass& c, double x, double y) {
  constexpr double kPlank = 1.7, kPlankLength = 14;
  const double across = (x - kCentreX) / kPlank + 100;
  const auto plank = static_cast<int64_t>(std::floor(across));
  const Rgb tone = c.deck * (0.93 + 0.09 * hash01(plank));
  const bool seam = across - std::floor(across) < 0.2;
  const bool joint = std::fmod(y + hash01(plank + 500) * kPlankLength, kPlankLength) < 0.35;
  return (seam || joint) ? tone * 0.78 : tone;
}

void drawDeck(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const Shape deck = hull.shape(deckInset(c));
  canvas.fill(deck, [&c](double x, double y) { return planked(c, x, y); });
  if (!c.raisedEnds) return;
  // Forecastle and quarterdeck stand higher: lighter, with a rail at each break.
  for (auto [from, to] : {std::pair{0.0, 0.19}, std::pair{0.74, 1.0}}) {
    canvas.tint(intersect(deck, rect(0, hull.yAt(from), 150, hull.yAt(to))),
                [](Rgb old, double, double) { return old * 1.07; });
    const double railY = hull.yAt(from > 0 ? from : to);
    canvas.fill(intersect(hull.shape(sideBandWidth(c)), rect(0, railY - 0.5, 150, railY + 0.6)),
                c.rail * 0.86);
  }
}

// Upper-deck guns on their carriages, run out through the bulwark.
void drawDeckGuns(Canvas& canvas, const Hull& hull) {
  const double inner = deckInset(hull.c);
  for (double y : gunRows(hull)) {
    const double w = hull.halfWidth(hull.tAt(y));
    for (double side : {-1.0, 1.0}) {
      const double carriage = kCentreX + side * (w - inner - 2.6),
                   wall = kCentreX + side * (w - inner);
      canvas.fill(rect(std::min(carriage, wall), y - 0.9, std::max(carriage, wall), y + 0.9),
                  Rgb{112, 72, 40});
      canvas.fill(segment({carriage + side * 0.4, y},
                          {kCentreX + side * (w - sideBandWidth(hull.c) + 0.3), y}, 0.55),
                  kIron);
    }
  }
}

void drawGrating(Canvas& canvas, double cx, double cy, double halfW, double halfH) {
  canvas.fill(rect(cx - halfW, cy - halfH, cx + halfW, cy + halfH), Rgb{86, 58, 34});
  canvas.fill(rect(cx - halfW + 0.6, cy - halfH + 0.6, cx + halfW - 0.6, cy + halfH - 0.6),
              [](double x, double y) {
                const bool bar = std::fmod(x * 1.25, 1.0) < 0.4 || std::fmod(y * 1.25, 1.0) < 0.4;
                return bar ? Rgb{150, 112, 70} : Rgb{50, 34, 22};
              });
}

// A ship's boat stowed upright in the waist, seen from above: painted outside,
// bare wood inside, thwarts across.
void drawBoat(Canvas& canvas, double cx, double cy, double halfLength, double halfBeam, Rgb paint) {
  const auto boatShape = [=](double inset) {
    return Shape{{cx - halfBeam, cy - halfLength, cx + halfBeam, cy + halfLength},
                 [=](double x, double y) {
                   const double v = (y - cy) / (halfLength - inset);
                   if (std::abs(v) > 1) return false;
                   const double w = v < 0 ? 1 - v * v : std::sqrt(1 - std::pow(v, 4));
                   return std::abs(x - cx) <= (halfBeam - inset) * w;
                 }};
  };
  canvas.fill(boatShape(0), paint * 0.6);
  canvas.fill(boatShape(0.5), paint);
  canvas.fill(boatShape(1.1), Rgb{138, 98, 60});
  for (double t = -0.3; t <= 0.6; t += 0.3)
    canvas.fill(intersect(boatShape(0.5), rect(cx - halfBeam, cy + t * halfLength - 0.4,
                                               cx + halfBeam, cy + t * halfLength + 0.4)),
                Rgb{176, 134, 84});
}

double sailBelly(const Hull& hull, const MastPlan& m) { return kSailBelly * m.yard * hull.c.beam; }

// The open deck between mast i and the next: aft of the one, clear of the next
// sail's belly.
std::pair<double, double> openDeck(const Hull& hull, size_t i) {
  const auto& masts = hull.c.masts;
  return {hull.yAt(masts[i].at) + 3, hull.yAt(masts[i + 1].at) - sailBelly(hull, masts[i + 1]) - 1};
}

void drawCapstan(Canvas& canvas, double y, double radius) {
  canvas.fill(circle(kCentreX, y, radius), Rgb{86, 56, 32});
  canvas.fill(circle(kCentreX, y, radius * 0.5), Rgb{158, 118, 72});
}

// Boats in the waist, gratings over the hatches, the capstan, the wheel and the
// stern skylight, each where no sail hides it.
void drawDeckFittings(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  const double hatch = c.beam * 0.11, capstan = c.beam * 0.07 + 0.8;
  const size_t gaps = c.masts.size() - 1;
  for (size_t i = 0; i < gaps; ++i) {
    const auto [from, to] = openDeck(hull, i);
    const double room = (to - from) / 2;
    if (c.boats && i == 0) {
      for (double side : {-1.0, 1.0})
        drawBoat(canvas, kCentreX + side * c.beam * 0.13, from + room, std::min(room, c.beam * 0.3),
                 c.beam * 0.1, c.band);
    } else if (i + 1 < gaps) {
      drawGrating(canvas, kCentreX, from + room, hatch, std::min(room * 0.6, hatch));
    } else {  // the last stretch holds a hatch forward and the capstan aft
      drawGrating(canvas, kCentreX, from + hatch * 0.8 + 0.5, hatch, hatch * 0.8);
      drawCapstan(canvas, to - capstan - 0.5, capstan);
    }
  }
  if (gaps == 0) {
    drawGrating(canvas, kCentreX, hull.yAt(0.55), hatch, hatch);
    drawCapstan(canvas, hull.yAt(0.7), capstan);
  }
  const double wheelY = hull.yAt(0.86);
  canvas.fill(rect(kCentreX - c.beam * 0.1, wheelY - 0.7, kCentreX + c.beam * 0.1, wheelY + 0.7),
              kDarkWood);
  drawGrating(canvas, kCentreX, hull.yAt(0.93), c.beam * 0.1, 1.8);
}

// The flagship's gilded taffrail and three stern lanterns.
void drawStern(Canvas& canvas, const Hull& hull) {
  const ShipClass& c = hull.c;
  if (!c.gilded) return;
  const double half = hull.halfWidth(1.0);
  canvas.fill(
      intersect(minus(hull.shape(sideBandWidth(c) - 0.3), hull.shape(sideBandWidth(c) + 0.7)),
                rect(0, hull.yAt(0.8), 150, kSternY)),
      kGold);
  for (double x : {-0.55, 0.0, 0.55}) {
    canvas.fill(circle(kCentreX + x * half, kSternY - 2.4, 1.5), Rgb{120, 84, 30});
    canvas.fill(circle(kCentreX + x * half, kSternY - 2.4, 0.9), Rgb{252, 214, 96});
  }
}

// Anchors hanging at the catheads either side of the bow.
void drawAnchors(Canvas& canvas, const Hull& hull) {
  if (hull.c.beam < 34) return;
  const double y = hull.yAt(0.14), w = hull.halfWidth(0.14);
  for (double side : {-1.0, 1.0}) {
    const Point ring{kCentreX + side * (w - 0.5), y - 1}, crown{kCentreX + side * (w + 1.2), y + 4};
    canvas.fill(segment(ring, crown, 0.6), kIron);
    canvas.fill(
        segment({crown.x - side * 1.4, crown.y - 0.6}, {crown.x + side * 0.9, crown.y + 0.5}, 0.55),
        kIron);
  }
}

}  // namespace

const ShipClass& shipClass(int index) { return kClasses.at(static_cast<size_t>(index)); }

double sideBandWidth(const ShipClass& c) { return bandInset(std::max(c.gunDecks, 1)) + 1.6; }
double deckInset(const ShipClass& c) { return sideBandWidth(c) + 1.7; }

Rgb clearOfWhite(Rgb c) {
  constexpr double kPalest = 216;  // at least one channel this far below white
  const double lowest = std::min({c.r, c.g, c.b});
  return lowest > kPalest ? c + Rgb{kPalest - lowest, kPalest - lowest, kPalest - lowest} : c;
}

Picture drawShip(int index) {
  const Hull hull{shipClass(index)};
  Canvas canvas(kShipPicture, kShipPicture, kSamples, {255, 255, 255});
  drawMuzzles(canvas, hull);
  drawAnchors(canvas, hull);
  drawHullSides(canvas, hull);
  drawDeck(canvas, hull);
  drawDeckGuns(canvas, hull);
  drawDeckFittings(canvas, hull);
  drawStern(canvas, hull);
  drawRigging(canvas, hull);
  return canvas.resolveKeyed({255, 255, 255}, clearOfWhite);
}

}  // namespace gen
