#include "settings/network_settings.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// The stored value as it is, or nothing without the group or the key.
std::optional<int32_t> stored(SettingsStore& store, const std::string& file) {
  std::optional<int32_t> value;
  if (store.openSettings(file) && store.selectGroup(kNetworkGroup)) {
    constexpr int32_t kNone = INT32_MIN;
    const int32_t read = store.readInt(kInputDelayKey, kNone);
    if (read != kNone) value = read;
  }
  store.closeSettings();
  return value;
}

}  // namespace

int32_t loadInputDelay(SettingsStore& store, const std::string& file) {
  return std::clamp(stored(store, file).value_or(kDefaultInputDelay), 0, kMaxInputDelay);
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
