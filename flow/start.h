// Start-up, the preparation of each battle, and the shutdown sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "media/media.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/spiel.h"

// Where the art and sound files come from: the embedded files, or a test's stand-ins.
using DateiQuelle = std::function<std::span<const uint8_t>(std::string_view name)>;

// Brings up the media services, the tables and the result font, and measures the desktop.
// False when a media service failed (after the start-up message has been shown).
bool Hochfahren(Spiel& spiel, Media& media);

// Opens the battle window and screen, makes the sea, loads every sprite and sound,
// makes the rotatable sprites and reads the battle settings. False when the battle
// window could not be opened.
bool SchlachtOeffnen(Spiel& spiel, Media& media, SettingsStore& store,
                     const std::string& einstellungen = kSettingsFile);

// The battle window and screen with the sea and every sprite and sound: a battle's start but
// for the settings file. False when the window could not be opened.
bool openBattleMedia(Media& media, int width, int height, const DateiQuelle& quelle);

// Creates the sea, sprite 40, when it can.
void MeerErzeugen(Media& media);

// Loads every sprite and sound under its number and makes the rotatable sprites. A file
// that is missing or broken leaves its number empty.
void BilderUndToeneLaden(Media& media, const DateiQuelle& quelle);

// The battle needs one to three computer ships; a hand-edited count is brought into range.
int32_t enemyCountInRange(int32_t storedCount);

// What the launcher holds, released at its places in the shutdown sequence.
struct LauncherRelease {
  std::function<void()> controls;
  std::function<void()> windows;
};

// Releases the sound, the settings store, the keyboard, the screen and sprites, the
// rotatable sprites, the game controllers, the launcher's controls and windows, the battle
// window, the fonts and the desktop, in this order; the program then ends with the
// returned exit code 0.
int Herunterfahren(Media& media, SettingsStore& store, const LauncherRelease& launcher = {});
