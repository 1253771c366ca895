#include "flow/network_battle.h"

#include "flow/start_record.h"

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
  startBattle(spiel, matchStart(welcome, hostClass, guestClass));
}
