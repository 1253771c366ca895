// What a captain sees of the ships around it, in the plain geometry of the battle field:
// points and directions in field units, headings in degrees (0 up, clockwise).
#pragma once

#include <algorithm>
#include <cmath>

#include "maths/maths.h"
#include "state/klasse.h"

namespace lage {

struct Vek {
  double x = 0, y = 0;
};

inline Vek operator+(Vek a, Vek b) { return {a.x + b.x, a.y + b.y}; }
inline Vek operator-(Vek a, Vek b) { return {a.x - b.x, a.y - b.y}; }
inline Vek operator*(Vek a, double f) { return {a.x * f, a.y * f}; }
inline double Punkt(Vek a, Vek b) { return a.x * b.x + a.y * b.y; }
inline double Laenge(Vek a) { return std::sqrt(Punkt(a, a)); }

inline constexpr double kGradProBogen = 57.29577951308232;
// From a ship picture's corner to its centre, and to the centre of a ball fired with no
// offset along the hull.
inline constexpr double kBildMitte = 75, kKugelMitte = 68.5;
// Where the three hit discs sit along a hull, from its centre.
inline constexpr double kScheiben[3] = {18, -18, -55};
// A ball of 3 x 3 pixels touches a disc of diameter 40 within about this distance.
inline constexpr double kTrefferAbstand = 21;
inline constexpr double kKugelTempo = 5;

// The direction a heading points in.
inline Vek Richtung(double kurs) {
  const double bogen = Bogenmass(kurs);
  return {maths::sin(bogen), -maths::cos(bogen)};
}

// The heading that points along v, 0 to 360.
inline double KursNach(Vek v) {
  const double kurs = maths::atan2(v.x, -v.y) * kGradProBogen;
  return kurs < 0 ? kurs + 360 : kurs;
}

// The shortest turn from heading `ist` to heading `soll`, -180 to 180 (clockwise positive).
inline double Abweichung(double soll, double ist) {
  const double d = soll - ist;
  return d - 360 * std::floor((d + 180) / 360);
}

// Where a ball of battery `seite` (1 port, 2 starboard) goes per frame: at right angles to
// the heading rounded to whole degrees, as the flight takes it.
inline Vek Flug(double kurs, int seite) {
  const double bogen = Bogenmass(std::nearbyint(kurs));
  const Vek rechts{maths::cos(bogen), maths::sin(bogen)};
  return (seite == 1 ? rechts * -1.0 : rechts) * kKugelTempo;
}

// The heading at which battery `seite` fires along direction `flug`.
inline double KursFuerFlug(Vek flug, int seite) {
  return seite == 1 ? KursNach({-flug.y, flug.x}) : KursNach({flug.y, -flug.x});
}

// What anybody on the field sees of a ship: where it is, where it heads and how fast.
struct Sicht {
  Vek mitte, kurs;
  double tempo = 0;
  Vek fahrt() const { return kurs * tempo; }
};

inline Sicht Sehen(const Schiff& s) {
  return {{s.PosX + kBildMitte, s.PosY + kBildMitte}, Richtung(s.Kurs), s.Tempo};
}

}  // namespace lage
