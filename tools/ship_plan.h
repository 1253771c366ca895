// What the ship pictures share: the class plans and the hull's outline. Every hull
// ends at the picture's bottom edge, so that its stern lies under the aftmost hit
// zone, and runs forward from there by the class's length.
#pragma once

#include <vector>

#include "raster.h"

namespace gen {

constexpr int kShipPicture = 150;
constexpr double kCentreX = kShipPicture / 2.0;
constexpr double kSternY = kShipPicture;

// One mast: where it stands along the hull (0 bow tip, 1 stern), the half-span of
// its yard in beams (0: no square sail), and the length of its boom in hull
// lengths (0: no gaff sail).
struct MastPlan {
  double at, yard, boom;
};

struct ShipClass {
  double bowY, beam;
  double bow;    // length of the bow's curve, in hull lengths
  int gunDecks;  // covered gun decks below the upper deck, each a band on the side
  int gunsPerSide;
  std::vector<MastPlan> masts;
  bool raisedEnds;  // forecastle and quarterdeck
  bool boats;       // boats stowed in the waist
  bool gilded;      // the flagship's gold trim and stern lanterns
  Rgb hull, band, rail, bulwark, deck, sail;
};

const ShipClass& shipClass(int index);

// Depth of a set square sail's curve forward of its yard, in half-spans.
constexpr double kSailBelly = 0.26;

// Colours shared by every class.
inline const Rgb kDarkWood{70, 46, 28}, kSpar{96, 64, 36}, kRope{52, 40, 28}, kIron{38, 38, 42},
    kTar{30, 24, 20}, kGold{222, 176, 56};

struct Hull {
  const ShipClass& c;

  double length() const { return kSternY - c.bowY; }
  double yAt(double t) const { return c.bowY + t * length(); }
  double tAt(double y) const { return (y - c.bowY) / length(); }

  // Half the hull's width at t: a full pointed bow, straight sides and a stern
  // that rounds in to a broad transom.
  double halfWidth(double t) const {
    const double half = c.beam / 2;
    if (t < 0 || t > 1) return -1;
    if (t < c.bow) return half * (1 - std::pow(1 - t / c.bow, 2.2));
    if (t < 0.74) return half;
    const double s = (t - 0.74) / 0.26;
    return half * (1 - 0.3 * s * s);
  }

  // The hull shrunk by `inset` measured across its side, so the bands keep their
  // width round the bow.
  Shape shape(double inset) const {
    const double half = c.beam / 2;
    return {{kCentreX - half, c.bowY, kCentreX + half, kSternY}, [this, inset](double x, double y) {
              if (y > kSternY - inset) return false;
              const double t = tAt(y), dt = 0.5 / length();
              const double slope =
                  halfWidth(std::min(t + dt, 1.0)) - halfWidth(std::max(t - dt, 0.0));
              return std::abs(x - kCentreX) <= halfWidth(t) - inset * std::sqrt(1 + slope * slope);
            }};
  }
};

// The inset at which the upper deck's planking begins.
double deckInset(const ShipClass& c);
double sideBandWidth(const ShipClass& c);

void drawRigging(Canvas& canvas, const Hull& hull);

}  // namespace gen
