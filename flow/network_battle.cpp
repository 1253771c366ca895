#include "flow/network_battle.h"

#include "flow/partie.h"

Eingaben networkFrameInputs(const std::array<NetInput, 2>& inputs) {
  Eingaben eingaben;
  eingaben.Spieler = {inputs[0].steuerung, inputs[1].steuerung};
  eingaben.Neustart = inputs[0].restart || inputs[1].restart;
  return eingaben;
}

Rollback::Step networkStep(Media& media) {
  return [&media](Spiel& spiel, const std::array<NetInput, 2>& inputs, bool silent) {
    const bool wasSilent = media.silent();
    media.setSilent(wasSilent || silent);
    Frame(spiel, media, networkFrameInputs(inputs));
    media.setSilent(wasSilent);
  };
}

void setUpNetworkMatch(Spiel& spiel, const Welcome& welcome, int32_t hostClass,
                       int32_t guestClass) {
  takeWelcome(spiel, welcome);
  spiel.SpielModus = kZweiSpieler;
  spiel.Gegneranzahl = 1;
  spiel.Flotte[0].Klasse = hostClass;
  spiel.Flotte[1].Klasse = guestClass;
  PartieAufbauen(spiel);
}
