#include "flow/start_record.h"

#include "flow/partie.h"
#include "settings/settings_keys.h"

void startBattle(Spiel& spiel, const StartRecord& record) {
  spiel.SpielModus = record.SpielModus;
  spiel.Gegneranzahl = record.Gegneranzahl;
  spiel.Schiffstabelle = record.Schiffstabelle;
  spiel.Flotte = record.Flotte;
  spiel.Option = record.Option;
  spiel.Reichweite = record.Reichweite;
  spiel.SchussLautstaerke = record.SchussLautstaerke;
  spiel.TrefferLautstaerke = record.TrefferLautstaerke;
  spiel.Schussversatz = record.Schussversatz;
  spiel.Muendungsversatz = record.Muendungsversatz;
  spiel.Zufall.Generator.seed(record.Seed);
  spiel.Kapitaensstufe = record.Kapitaensstufe;
  spiel.Pause = {};
  PartieAufbauen(spiel);
}

StartRecord localStartRecord(Spiel& spiel) {
  StartRecord record;
  record.SpielModus = spiel.SpielModus;
  record.Gegneranzahl = spiel.Gegneranzahl;
  record.Schiffstabelle = spiel.Schiffstabelle;
  record.Flotte = spiel.Flotte;
  record.Option = spiel.Option;
  record.Reichweite = spiel.Reichweite;
  record.SchussLautstaerke = spiel.SchussLautstaerke;
  record.TrefferLautstaerke = spiel.TrefferLautstaerke;
  record.Schussversatz = spiel.Schussversatz;
  record.Muendungsversatz = spiel.Muendungsversatz;
  record.Seed = static_cast<uint32_t>(spiel.Zufall.Generator());
  record.Kapitaensstufe = spiel.Kapitaensstufe;
  return record;
}

StartRecord defaultStartRecord(int32_t mode, int32_t enemies, uint32_t seed) {
  StartRecord record;
  record.SpielModus = mode;
  record.Gegneranzahl = enemies;
  record.Schiffstabelle.fill(defaultShipClass());
  for (int i = 0; i < kSchiffsAnzahl; ++i) record.Flotte[i].Klasse = i;
  const GameOptions options;
  record.Option = options.Option;
  record.Reichweite = options.Reichweite;
  record.SchussLautstaerke = options.SchussLautstaerke;
  record.TrefferLautstaerke = options.TrefferLautstaerke;
  record.Seed = seed;
  return record;
}
