// What a network battle keeps in the settings file: this player's input delay, the port last
// offered and the address last joined, in a group of their own. A file without the group
// (or a key) means the default, and a save writes a key only once its value differs from
// what the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

inline constexpr const char* kNetworkGroup = "Netzwerk";
inline constexpr const char* kInputDelayKey = "Eingabeverzoegerung";
inline constexpr int32_t kDefaultInputDelay = 2;
inline constexpr int32_t kMaxInputDelay = 3;
inline constexpr const char* kPortKey = "Port";
inline constexpr const char* kAddressKey = "Adresse";
inline constexpr uint16_t kDefaultNetworkPort = 47111;

// Frames, 0 to 3.
int32_t loadInputDelay(SettingsStore& store, const std::string& file);
// True when the delay is in the file (nothing to write counts as done).
bool saveInputDelay(SettingsStore& store, int32_t delay, const std::string& file);

// The port to offer: the default without the key or for one outside 1 to 65535.
uint16_t loadNetworkPort(SettingsStore& store, const std::string& file);
bool saveNetworkPort(SettingsStore& store, uint16_t port, const std::string& file);
// The address last joined, as typed (blanks around it taken off); empty without the key. Only
// printable ASCII of at most 255 characters is kept: no address needs more.
std::string loadJoinAddress(SettingsStore& store, const std::string& file);
bool saveJoinAddress(SettingsStore& store, std::string_view address, const std::string& file);
