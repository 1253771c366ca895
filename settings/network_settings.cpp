#include "settings/network_settings.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// The stored value as it is, or nothing without the group or the key.
std::optional<int32_t> stored(SettingsStore& store, const std::string& file, const char* key) {
  std::optional<int32_t> value;
  if (store.openSettings(file) && store.selectGroup(kNetworkGroup)) {
    constexpr int32_t kNone = INT32_MIN;
    const int32_t read = store.readInt(key, kNone);
    if (read != kNone) value = read;
  }
  store.closeSettings();
  return value;
}

bool savedInGroup(SettingsStore& store, const std::string& file, const char* key,
                  std::string_view text) {
  store.openSettings(file);
  store.selectGroup(kNetworkGroup);
  const bool written = store.writeText(key, text);
  store.closeSettings();
  return written && store.lastSaveError() == 0;
}

std::string_view trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool keepable(std::string_view address) {
  return address.size() <= 255 &&
         std::all_of(address.begin(), address.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

}  // namespace

int32_t loadInputDelay(SettingsStore& store, const std::string& file) {
  return std::clamp(stored(store, file, kInputDelayKey).value_or(kDefaultInputDelay), 0,
                    kMaxInputDelay);
}

bool saveInputDelay(SettingsStore& store, int32_t delay, const std::string& file) {
  delay = std::clamp(delay, 0, kMaxInputDelay);
  if (delay == loadInputDelay(store, file)) return true;
  store.openSettings(file);
  store.selectGroup(kNetworkGroup);
  store.writeInt(kInputDelayKey, delay);
  store.closeSettings();
  return store.lastSaveError() == 0;
}

uint16_t loadNetworkPort(SettingsStore& store, const std::string& file) {
  const int32_t port = stored(store, file, kPortKey).value_or(kDefaultNetworkPort);
  return port >= 1 && port <= 65535 ? static_cast<uint16_t>(port) : kDefaultNetworkPort;
}

bool saveNetworkPort(SettingsStore& store, uint16_t port, const std::string& file) {
  if (port == 0 || port == loadNetworkPort(store, file)) return true;
  return savedInGroup(store, file, kPortKey, std::to_string(port));
}

std::string loadJoinAddress(SettingsStore& store, const std::string& file) {
  std::optional<std::string> text;
  if (store.openSettings(file) && store.selectGroup(kNetworkGroup))
    text = store.readText(kAddressKey);
  store.closeSettings();
  return text && keepable(*text) ? *text : std::string();
}

bool saveJoinAddress(SettingsStore& store, std::string_view address, const std::string& file) {
  address = trimmed(address);
  if (address.empty() || !keepable(address)) return false;
  if (address == loadJoinAddress(store, file)) return true;
  return savedInGroup(store, file, kAddressKey, address);
}
