// How a network battle is asked for: "--host [PORT]" or "--join HOST[:PORT]" on the command
// line, and this player's input delay from the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_store.h"

struct NetworkStart {
  bool host = false;
  std::string address;  // the host to join
  uint16_t port = 0;
};

// Takes the option and its value out of the arguments. Nothing when there is none; `error`
// says what is wrong with one that cannot be used.
std::optional<NetworkStart> takeNetworkOption(int& argc, char** argv, std::string& error);

// The group and key of the input delay (frames, 0 to 3); a file without them means 2.
inline constexpr const char* kNetworkGroup = "Netzwerk";
inline constexpr const char* kInputDelayKey = "Eingabeverzoegerung";
inline constexpr int32_t kDefaultInputDelay = 2;
int32_t readInputDelay(SettingsStore& store, const std::string& file);
