// The computer captains' level in single-player battles, in a group of its own. A file
// without the group means "Normal", and saving writes the group only once the level differs
// from what the file holds, so that a player who never changes it keeps the game's own file.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

inline constexpr const char* kCaptainGroup = "Computergegner";
inline constexpr const char* kCaptainLevelKey = "Stufe";

// From an open store: -1 "Leicht", 0 "Normal", 1 "Schwer"; a missing group or key, or a
// number that is no level, gives "Normal". Leaves that group selected.
int32_t readCaptainLevel(SettingsStore& store);

int32_t loadCaptainLevel(SettingsStore& store, const std::string& file);
// True when the file holds the level afterwards (also when nothing had to be written);
// otherwise the store's lastSaveError() tells why.
bool saveCaptainLevel(SettingsStore& store, int32_t level, const std::string& file);
