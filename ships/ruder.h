// The helm of the human ships and the movement of every ship, once per frame.
#pragma once

#include "basis/steuerung.h"
#include "media/media.h"
#include "state/spiel.h"

// The four keys one player steers with.
struct HelmKeys {
  Key Beschleunigen, Bremsen, Links, Rechts;
};

inline constexpr HelmKeys kTastenSpieler1{Key::W, Key::S, Key::A, Key::D};
inline constexpr HelmKeys kTastenSpieler2{Key::Up, Key::Down, Key::Left, Key::Right};

// Speed and heading of one human ship from its player's controls in this frame.
void RuderFuehren(Spiel& spiel, int schiff, const Steuerung& steuerung);

// The same from the keys held in this frame's reading.
void RuderFuehren(Spiel& spiel, Media& media, int schiff, HelmKeys tasten);

// Moves the ship along its heading, keeps the heading within 1 to 360, wraps the ship at
// the field's edges and counts its battery pauses down.
void SchiffBewegen(Spiel& spiel, int schiff);
