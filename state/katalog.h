// The battle's fixed numbers of sprites, rotatable sprites, sounds and fonts.
#pragma once

#include "state/records.h"

namespace katalog {

// Sprites.
inline constexpr int kSchiffsbild = 32;  // + class 0..7
inline constexpr int kMeer = 40;
inline constexpr int kTrefferzone1 = 43, kTrefferzone2 = 44, kTrefferzone3 = 45;
inline constexpr int kKugelA = 46, kKugelB = 47;
inline constexpr int kNadel = 48;
inline constexpr int kRauch = 51;
inline constexpr int kMuendungsfeuer = 52;
inline constexpr int kFlammen = 57;

// Rotatable sprites.
inline constexpr int kNadelSpieler2 = 49, kNadelSpieler1 = 50;
inline constexpr int kFeuerLinksSchiff0 = 53, kFeuerRechtsSchiff0 = 54;
inline constexpr int kFeuerLinksAndere = 55, kFeuerRechtsAndere = 56;
inline constexpr int kFlammenSchiff0 = 59, kFlammenAndere = 61;
// The picture of ship i with class k.
constexpr int schiffsSprite(int schiff, int klasse) { return schiff * kKlassenAnzahl + klasse; }

// Sounds.
inline constexpr int kSchussTon = 63, kTrefferTon = 64;

// Fonts.
inline constexpr int kErgebnisschrift = 0;  // the result text
inline constexpr int kHinweisschrift = 1;   // a network battle's note while it waits

}  // namespace katalog
