// Broadside firing: a battery ordered to fire sends one ball at a time after its pause,
// while it has loaded guns; a battery not ordered to fire reloads.
#pragma once

#include "media/media.h"
#include "state/spiel.h"

inline constexpr int kBackbord = 1;    // port battery
inline constexpr int kSteuerbord = 2;  // starboard battery

// One frame of battery `seite` of ship `schiff`; `befohlen`: its key is held or its fire
// order is set.
void BatterieFeuern(Spiel& spiel, Media& media, int schiff, int seite, bool befohlen);

// One ball from the battery, with its sound, smoke puff and muzzle flame.
void KugelAbfeuern(Spiel& spiel, Media& media, int schiff, int seite);

// The random points along the hulls from which the next frame's balls leave.
void SchussversatzWuerfeln(Spiel& spiel, Media& media);
