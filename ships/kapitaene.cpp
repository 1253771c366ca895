#include "ships/kapitaene.h"

// Placeholders until the captains are built: the frame loop already calls them.
float Zielwinkel(const Spiel& /*spiel*/, int /*schiff*/) { return 0.0f; }

void ComputerKapitaene(Spiel& /*spiel*/) {}

void NachladenPruefen(Spiel& /*spiel*/) {}
