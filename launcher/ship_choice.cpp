#include "launcher/ship_choice.h"

namespace {

constexpr int kHoechsteKlasse = kKlassenAnzahl - 1;

void chooseForTwoPlayers(Spiel& spiel, int32_t selection, int32_t& choices) {
  if (choices == 0) spiel.Flotte[0].Klasse = selection;
  if (choices == 1) spiel.Flotte[1].Klasse = selection;
  ++choices;
}

// Computer ships beyond the configured count keep their class from before.
void chooseForOnePlayer(Spiel& spiel, int32_t selection, int32_t& choices) {
  spiel.Flotte[0].Klasse = selection;
  spiel.Flotte[1].Klasse = spiel.Zufall.Zahl(kHoechsteKlasse);
  if (spiel.Gegneranzahl > 1) spiel.Flotte[2].Klasse = spiel.Zufall.Zahl(kHoechsteKlasse);
  if (spiel.Gegneranzahl > 2) spiel.Flotte[3].Klasse = spiel.Zufall.Zahl(kHoechsteKlasse);
  choices = 1;
}

}  // namespace

void chooseShip(Spiel& spiel, int32_t selection, int32_t& choices) {
  if (selection < 0 || selection > kHoechsteKlasse) return;
  if (spiel.SpielModus == kZweiSpieler) chooseForTwoPlayers(spiel, selection, choices);
  if (spiel.SpielModus == kEinzelspieler) chooseForOnePlayer(spiel, selection, choices);
}

bool launcherRunEnds(int32_t spielModus, int32_t choices) {
  return (spielModus == kZweiSpieler && choices >= 2) ||
         (spielModus == kEinzelspieler && choices == 1);
}

std::optional<std::string_view> shipSelectionTitle(int32_t choices) {
  if (choices == 0) return "Player1 Schiff auswählen";
  if (choices == 1) return "Player2 Schiff auswählen";
  return std::nullopt;
}
