// The outer loop: the launcher before every battle, until the player ends the game there.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/media.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/spiel.h"

// One launcher run: the game mode for the next battle (with the ships' classes set), or any
// other value (the launcher's kQuitGame) when the player ends the game.
using LauncherRun = std::function<int32_t(Spiel&, Media&)>;

// Launcher, battle, and the launcher again after every battle, until the launcher ends the
// game or a battle window cannot be opened. Every battle opens a new battle window, loads
// every sprite and sound again and reads the settings file again. Every battle is kept as a
// replay in `replayFolder` when it ends (none when it is empty).
void runOuterLoop(Spiel& spiel, Media& media, SettingsStore& store, const LauncherRun& launcher,
                  const std::string& settingsFile = kSettingsFile,
                  const std::string& replayFolder = {});
