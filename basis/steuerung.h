// One player's controls in one frame, whatever they come from (keys, a pad, the network).
#pragma once

struct Steuerung {
  bool Beschleunigen = false, Bremsen = false, Links = false, Rechts = false, FeuerLinks = false,
       FeuerRechts = false;
  bool operator==(const Steuerung&) const = default;
};
