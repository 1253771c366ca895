#include "flow/network_battle.h"

#include <algorithm>

#include "flow/start_record.h"
#include "launcher/catalogue.h"
#include "state/katalog.h"

Eingaben networkFrameInputs(const std::array<NetInput, 2>& inputs) {
  Eingaben eingaben;
  eingaben.Spieler = {inputs[0].steuerung, inputs[1].steuerung};
  eingaben.Neustart = inputs[0].restart || inputs[1].restart;
  return eingaben;
}

std::string eigenesSchiffMarke() { return translatedText("Battle", "Du"); }

Rollback::Step networkStep(Media& media, int32_t eigenesSchiff) {
  return [&media, eigenesSchiff, marke = eigenesSchiffMarke()](
             Spiel& spiel, const std::array<NetInput, 2>& inputs, bool silent) {
    const bool wasSilent = media.silent();
    media.setSilent(wasSilent || silent);
    Frame(spiel, media, networkFrameInputs(inputs),
          Ansicht{.EigenesSchiff = eigenesSchiff, .Ueberlagerung = {}, .EigeneMarke = marke});
    media.setSilent(wasSilent);
  };
}

Rollback::Step FrameSounds::step() {
  return [this](Spiel& spiel, const std::array<NetInput, 2>& inputs, bool again) {
    captured_.clear();
    const bool wasSilent = media_.silent();
    media_.setSilent(wasSilent || again);
    media_.captureSounds(&captured_);
    Frame(spiel, media_, networkFrameInputs(inputs), ansicht_);
    media_.captureSounds(nullptr);
    media_.setSilent(wasSilent);
    play(captured_, !wasSilent);
  };
}

std::function<void(uint32_t)> FrameSounds::watcher() {
  return [this](uint32_t frame) { running_ = frame; };
}

void FrameSounds::play(const std::vector<std::pair<int, int>>& sounds, bool shown) {
  Heard& heard = heard_[running_ % heard_.size()];
  if (heard.frame != running_) {  // the slot's list is reused: no allocation per frame
    heard.frame = running_;
    heard.sounds.clear();
  }
  const auto count = [](const std::vector<std::pair<int, int>>& in, int sound) {
    return std::count_if(in.begin(), in.end(), [sound](const auto& s) { return s.first == sound; });
  };
  std::vector<std::pair<int, int>>& fresh = fresh_;
  fresh.clear();
  for (const auto& sound : sounds) {
    const int n = sound.first;
    if (count(sounds, n) > count(heard.sounds, n) + count(fresh, n)) fresh.push_back(sound);
  }
  for (const auto& [n, volume] : fresh) {
    if (shown) media_.playSound(n, volume);
    heard.sounds.emplace_back(n, volume);
  }
}

void MitspielerUeberlegtZeigen(Media& media) {
  constexpr int kX = 420, kY = 200;  // about the middle, at the height of "Pause"
  if (media.beginDrawing()) {
    media.useFont(katalog::kHinweisschrift);
    media.drawText(kX, kY, translatedText("Network", "Der Mitspieler überlegt …"));
    media.endDrawing();
  }
  media.showFrame();
}

void setUpNetworkMatch(Spiel& spiel, const Welcome& welcome, int32_t hostClass,
                       int32_t guestClass) {
  startBattle(spiel, matchStart(welcome, hostClass, guestClass));
}
