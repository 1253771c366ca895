// What a network battle keeps in the settings file: this player's input delay, in a group of
// its own. A file without the group means the default, and saving the options writes the
// group only once the delay differs from what the file holds.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

inline constexpr const char* kNetworkGroup = "Netzwerk";
inline constexpr const char* kInputDelayKey = "Eingabeverzoegerung";
inline constexpr int32_t kDefaultInputDelay = 2;
inline constexpr int32_t kMaxInputDelay = 3;

// Frames, 0 to 3.
int32_t loadInputDelay(SettingsStore& store, const std::string& file);
// True when the delay is in the file (nothing to write counts as done).
bool saveInputDelay(SettingsStore& store, int32_t delay, const std::string& file);
