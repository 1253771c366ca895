#include "settings/settings_keys.h"

#include "settings/captain_settings.h"

namespace {

// The battle reads Health, SchussTempo and KanonenAnzahl of the first two classes as whole
// numbers, dropping a stored fraction; the launcher shows them with it.
float readBattleValue(SettingsStore& store, int klasse, const ClassKey& key) {
  if (klasse < 2 && key.integerAtBattleStart) {
    return static_cast<float>(store.readInt(key.key, static_cast<int32_t>(key.def)));
  }
  return store.readFloat(key.key, key.def);
}

SchiffsTyp readClass(SettingsStore& store, int klasse, bool asAtBattleStart) {
  store.selectGroup(kKlassenGruppen[klasse]);
  SchiffsTyp typ{};
  for (const ClassKey& key : kClassKeys) {
    typ.*key.field =
        asAtBattleStart ? readBattleValue(store, klasse, key) : store.readFloat(key.key, key.def);
  }
  return typ;
}

std::array<SchiffsTyp, kKlassenAnzahl> readClasses(SettingsStore& store, bool asAtBattleStart) {
  std::array<SchiffsTyp, kKlassenAnzahl> classes{};
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
    classes[klasse] = readClass(store, klasse, asAtBattleStart);
  }
  return classes;
}

GameOptions readOptions(SettingsStore& store) {
  const GameOptions defaults;
  GameOptions options;
  store.selectGroup(kAllgemeinGruppe);
  for (const OptionKey& key : kOptionKeys) {
    options.*key.field = store.readInt(key.key, defaults.*key.field);
  }
  return options;
}

}  // namespace

SchiffsTyp defaultShipClass() {
  SchiffsTyp typ{};
  for (const ClassKey& key : kClassKeys) typ.*key.field = key.def;
  return typ;
}

void readBattleSettings(Spiel& game, SettingsStore& store, const std::string& file) {
  if (!store.openSettings(file)) store.createSettings(file);
  store.openSettings(file);
  game.Schiffstabelle = readClasses(store, true);
  const GameOptions options = readOptions(store);
  game.Option = options.Option;
  game.Reichweite = options.Reichweite;
  game.Sound = options.Sound;
  game.SchussLautstaerke = options.SchussLautstaerke;
  game.TrefferLautstaerke = options.TrefferLautstaerke;
  game.Gegneranzahl = options.Gegneranzahl;
  game.Kapitaensstufe = readCaptainLevel(store);
  store.closeSettings();
}

std::array<SchiffsTyp, kKlassenAnzahl> loadShipClasses(SettingsStore& store,
                                                       const std::string& file) {
  store.openSettings(file);
  const std::array<SchiffsTyp, kKlassenAnzahl> classes = readClasses(store, false);
  store.closeSettings();
  return classes;
}

bool saveShipClasses(SettingsStore& store, const std::array<SchiffsTyp, kKlassenAnzahl>& classes,
                     const std::string& file) {
  store.openSettings(file);
  for (int klasse = 0; klasse < kKlassenAnzahl; ++klasse) {
    store.selectGroup(kKlassenGruppen[klasse]);
    for (int index : kEditorWriteOrder) {
      const ClassKey& key = kClassKeys[index];
      store.writeFloat(key.key, classes[klasse].*key.field);
    }
  }
  store.closeSettings();
  return store.lastSaveError() == 0;
}

GameOptions loadOptions(SettingsStore& store, const std::string& file) {
  store.openSettings(file);
  const GameOptions options = readOptions(store);
  store.closeSettings();
  return options;
}

bool saveOptions(SettingsStore& store, const GameOptions& options, const std::string& file) {
  store.openSettings(file);
  store.selectGroup(kAllgemeinGruppe);
  for (int index : kOptionsWriteOrder) {
    const OptionKey& key = kOptionKeys[index];
    store.writeInt(key.key, options.*key.field);
  }
  store.closeSettings();
  return store.lastSaveError() == 0;
}

KeyBindings loadKeyBindings(SettingsStore& store, const std::string& file) {
  KeyBindings bindings = kDefaultKeyBindings;
  store.openSettings(file);
  store.selectGroup(kTastenGruppe);
  for (size_t player = 0; player < bindings.size(); ++player) {
    for (size_t control = 0; control < kControlsPerPlayer; ++control) {
      const int32_t code = store.readInt(kKeyBindingKeys[player][control], 0);
      if (keyBindable(code)) bindings[player][control] = code;
    }
  }
  store.closeSettings();
  return bindings;
}

bool saveKeyBindings(SettingsStore& store, const KeyBindings& bindings, const std::string& file) {
  store.openSettings(file);
  store.selectGroup(kTastenGruppe);
  for (size_t player = 0; player < bindings.size(); ++player) {
    for (size_t control = 0; control < kControlsPerPlayer; ++control) {
      store.writeInt(kKeyBindingKeys[player][control], bindings[player][control]);
    }
  }
  store.closeSettings();
  return store.lastSaveError() == 0;
}
