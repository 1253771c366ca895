#include "settings/captain_settings.h"

#include "state/records.h"

int32_t readCaptainLevel(SettingsStore& store) {
  store.selectGroup(kCaptainGroup);
  const int32_t level = store.readInt(kCaptainLevelKey, kStufeNormal);
  return level >= kStufeLeicht && level <= kStufeSchwer ? level : kStufeNormal;
}

int32_t loadCaptainLevel(SettingsStore& store, const std::string& file) {
  store.openSettings(file);
  const int32_t level = readCaptainLevel(store);
  store.closeSettings();
  return level;
}

bool saveCaptainLevel(SettingsStore& store, int32_t level, const std::string& file) {
  if (level < kStufeLeicht || level > kStufeSchwer) level = kStufeNormal;
  if (level == loadCaptainLevel(store, file)) return true;
  store.openSettings(file);
  store.selectGroup(kCaptainGroup);
  store.writeInt(kCaptainLevelKey, level);
  store.closeSettings();
  return store.lastSaveError() == 0;
}
