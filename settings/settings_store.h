// The settings store: one settings file at a time, opened, read or written key by key
// within groups, and written back whole at close when something was written.
//
// Names and keys are byte strings; the game's own are Latin-1. A file that begins with the
// UTF-8 encoding mark keeps it, and then the given names and keys are converted from
// Latin-1 to UTF-8 before they are looked up or stored. Values are kept as text and
// converted at each read.
//
// The store returns whatever number a value text holds: any float, negative, zero, and plus
// or minus infinity for a text beyond the float range ("1e39"); never NaN. Consumers that
// need a range must check it.
//
// A save never leaves a half-written file: the new content goes to a temporary file beside
// the old one and is renamed over it; in a folder that takes no new file the file is
// rewritten in place, and a failed write puts the old bytes back. A file that exists but
// could not be opened is never replaced; changes to it, and to a read-only file, are not
// saved, and lastSaveError() tells why.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_text.h"

class SettingsStore {
 public:
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
  ~SettingsStore();

  // Closes the open store first. False when the file could not be opened; reads then give
  // their defaults, and a close after writes creates the file if it still does not exist.
  bool openSettings(const std::string& file);
  // Closes the open store, then opens an empty file of that name (truncating an existing,
  // readable one). Leaves nothing open when that fails.
  void createSettings(const std::string& file);
  // An empty name is the section before the first header. A missing group becomes pending:
  // reads give defaults and the first write appends its header.
  bool selectGroup(std::string_view group);
  float readFloat(std::string_view key, float def);
  int32_t readInt(std::string_view key, int32_t def);
  void writeFloat(std::string_view key, float value);
  void writeInt(std::string_view key, int32_t value);
  // A value as the file holds it; nothing without the key.
  std::optional<std::string> readText(std::string_view key);
  // False, writing nothing, for a value with a control character (a line break would end
  // the line and start another key).
  bool writeText(std::string_view key, std::string_view value);
  // Writes the file if anything was written, then empties the store.
  void closeSettings();
  // Why the last close could not save its changes (an errno value); 0 when it saved them or
  // had none.
  int lastSaveError() const { return saveError_; }

 private:
  bool isActive() const { return file_.has_value() || rememberedName_.has_value(); }
  std::string storedName(std::string_view name) const;
  std::optional<size_t> findGroup(std::string_view name) const;
  size_t groupBegin() const;
  size_t groupEnd() const;
  std::optional<size_t> findKey(std::string_view key) const;
  std::optional<std::string_view> readValue(std::string_view key) const;
  void writeValue(std::string_view key, std::string value);
  void saveChanges();
  void adoptFile(settings::OpenedFile file, const std::string& name, std::string_view content);

  std::vector<settings::Entry> entries_;
  std::optional<size_t> currentGroup_;  // index of its header; none = the top section
  std::string pendingGroup_;            // never empty while pending
  std::optional<settings::OpenedFile> file_;
  std::string path_;                           // the file a save replaces
  std::optional<std::string> rememberedName_;  // set only when opening failed
  bool utf8Mode_ = false;
  bool modified_ = false;
  int saveError_ = 0;
};
