#include "settings/language_settings.h"

int32_t loadLanguageChoice(SettingsStore& store, const std::string& file) {
  int32_t choice = kLanguageAutomatic;
  if (store.openSettings(file) && store.selectGroup(kLanguageGroup)) {
    choice = store.readInt(kLanguageKey, kLanguageAutomatic);
  }
  store.closeSettings();
  return choice == kLanguageGerman || choice == kLanguageEnglish ? choice : kLanguageAutomatic;
}

bool saveLanguageChoice(SettingsStore& store, int32_t choice, const std::string& file) {
  if (choice == loadLanguageChoice(store, file)) return true;
  store.openSettings(file);
  store.selectGroup(kLanguageGroup);
  store.writeInt(kLanguageKey, choice);
  store.closeSettings();
  return store.lastSaveError() == 0;
}
