// One cannonball in flight.
#pragma once

#include <cstdint>

struct Kugel {
  double PosX, PosY, Tempo, Kurs;
  int32_t Seite, Alter;
  int8_t Schuetze;
};
