// The language the player chose in the options, in a group of its own. A file without the
// group means "Automatisch" (the desktop's language), and saving the options writes the group
// only once the choice differs from what the file holds.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

inline constexpr const char* kLanguageGroup = "Sprache";
inline constexpr const char* kLanguageKey = "Sprache";
inline constexpr int32_t kLanguageAutomatic = 0;
inline constexpr int32_t kLanguageGerman = 1;
inline constexpr int32_t kLanguageEnglish = 2;

// One of the three; anything else stored counts as automatic.
int32_t loadLanguageChoice(SettingsStore& store, const std::string& file);
// True when the choice is in the file (nothing to write counts as done).
bool saveLanguageChoice(SettingsStore& store, int32_t choice, const std::string& file);
