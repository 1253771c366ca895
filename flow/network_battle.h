// A battle on two computers plays by the rules of "2 Spieler VS": ship 0 is the host's, ship 1
// the guest's, one opponent. Each frame runs with both players' controls from the rollback.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "flow/schlacht.h"
#include "net/protocol.h"
#include "net/rollback.h"

// A restart asked by either player restarts both battles. Leaving is no input of a frame
// here: it ends the match for both through the network.
Eingaben networkFrameInputs(const std::array<NetInput, 2>& inputs);

// The mark beside this player's own ship, in the player's language.
std::string eigenesSchiffMarke();

// The rollback's step: one frame of the battle, silent when run a second time; `eigenesSchiff`
// is marked as this player's.
Rollback::Step networkStep(Media& media, int32_t eigenesSchiff = -1);

// The rollback's step with each frame's sounds heard once: those of its first run at once,
// and those a run again finds that no earlier run had (a shot first known from the peer's
// late input) at that run, late by the rollback's distance. A sound of a guess that turned
// out wrong is not taken back, and not heard again.
class FrameSounds {
 public:
  explicit FrameSounds(Media& media, int32_t eigenesSchiff = -1)
      : media_(media),
        marke_(eigenesSchiffMarke()),
        ansicht_{.EigenesSchiff = eigenesSchiff, .Ueberlagerung = {}, .EigeneMarke = marke_} {}
  // The view holds on to marke_.
  FrameSounds(const FrameSounds&) = delete;
  FrameSounds& operator=(const FrameSounds&) = delete;
  // Needs every frame's number first: rollback.watchFrames(sounds.watcher()).
  Rollback::Step step();
  std::function<void(uint32_t)> watcher();

 private:
  struct Heard {
    uint32_t frame = UINT32_MAX;
    std::vector<std::pair<int, int>> sounds;
  };
  void play(const std::vector<std::pair<int, int>>& sounds, bool shown);
  Media& media_;
  std::string marke_;
  Ansicht ansicht_;
  uint32_t running_ = 0;
  std::array<Heard, 128> heard_{};
  // Kept between frames so that a frame with sounds asks for no memory.
  std::vector<std::pair<int, int>> captured_, fresh_;
};

// Over the battle's last picture while the other player answers "Beenden": this side's frames
// stand still then, and the player should know why.
void MitspielerUeberlegtZeigen(Media& media);

// The battle both sides start: the host's welcome and the two players' chosen classes.
void setUpNetworkMatch(Spiel& spiel, const Welcome& welcome, int32_t hostClass, int32_t guestClass);
