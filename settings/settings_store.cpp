#include "settings/settings_store.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "basis/latin1.h"

using settings::Entry;

SettingsStore::~SettingsStore() { closeSettings(); }

bool SettingsStore::openSettings(const std::string& file) {
  closeSettings();
  std::optional<settings::OpenedFile> opened = settings::openExisting(file);
  std::optional<std::string> content;
  if (opened) content = settings::readWhole(opened->fd.get());
  if (!content) {
    rememberedName_ = file;
    return false;
  }
  adoptFile(std::move(*opened), file, *content);
  return true;
}

// Parses into a local list first, so that running out of memory leaves the store closed
// rather than open on a partial list that a later save would write back.
void SettingsStore::adoptFile(settings::OpenedFile file, const std::string& name,
                              std::string_view content) {
  const bool marked = content.starts_with(settings::kUtf8Mark);
  if (marked) content.remove_prefix(settings::kUtf8Mark.size());
  std::vector<Entry> entries = settings::parseEntries(content);
  std::string path = settings::resolvedPath(name);
  entries_ = std::move(entries);
  path_ = std::move(path);
  utf8Mode_ = marked;
  file_ = std::move(file);
}

void SettingsStore::createSettings(const std::string& file) {
  closeSettings();
  if (settings::existsUnreadable(file)) return;
  settings::UniqueFd fd = settings::createEmpty(file);
  if (!fd) return;
  path_ = settings::resolvedPath(file);
  file_ = settings::OpenedFile{std::move(fd), false};
}

bool SettingsStore::selectGroup(std::string_view group) {
  if (!isActive()) return false;
  if (group.empty()) {
    currentGroup_.reset();
    pendingGroup_.clear();
    return true;
  }
  std::string name = storedName(group);
  if (const std::optional<size_t> at = findGroup(name)) {
    currentGroup_ = at;
    pendingGroup_.clear();
    return true;
  }
  pendingGroup_ = std::move(name);
  return false;
}

float SettingsStore::readFloat(std::string_view key, float def) {
  const std::optional<std::string_view> value = readValue(key);
  return value ? settings::parseFloatText(*value) : def;
}

int32_t SettingsStore::readInt(std::string_view key, int32_t def) {
  const std::optional<std::string_view> value = readValue(key);
  return value ? settings::parseIntText(*value) : def;
}

void SettingsStore::writeFloat(std::string_view key, float value) {
  writeValue(key, settings::formatFloat(value));
}

void SettingsStore::writeInt(std::string_view key, int32_t value) {
  writeValue(key, settings::formatInt(value));
}

std::optional<std::string> SettingsStore::readText(std::string_view key) {
  const std::optional<std::string_view> value = readValue(key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

bool SettingsStore::writeText(std::string_view key, std::string_view value) {
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (std::any_of(value.begin(), value.end(), control)) return false;
  writeValue(key, std::string(value));
  return true;
}

void SettingsStore::closeSettings() {
  saveError_ = 0;
  if (modified_) saveChanges();
  entries_.clear();
  currentGroup_.reset();
  pendingGroup_.clear();
  file_.reset();
  path_.clear();
  rememberedName_.reset();
  utf8Mode_ = false;
  modified_ = false;
}

// Without memory for the new content nothing is written: the old file is better than none.
void SettingsStore::saveChanges() {
  try {
    if (file_ && file_->readOnly) {
      saveError_ = file_->writeRefusal;
    } else if (file_) {
      saveError_ = settings::replaceWhole(file_->fd.get(), path_,
                                          settings::formatEntries(entries_, utf8Mode_));
    } else if (rememberedName_) {
      saveError_ =
          settings::createWhole(*rememberedName_, settings::formatEntries(entries_, utf8Mode_));
    }
  } catch (const std::bad_alloc&) {
    saveError_ = ENOMEM;
  }
}

std::string SettingsStore::storedName(std::string_view name) const {
  return utf8Mode_ ? latin1ToUtf8(name) : std::string(name);
}

std::optional<size_t> SettingsStore::findGroup(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].kind == Entry::Kind::Group && settings::sameName(entries_[i].name, name)) {
      return i;
    }
  }
  return std::nullopt;
}

size_t SettingsStore::groupBegin() const { return currentGroup_ ? *currentGroup_ + 1 : 0; }

size_t SettingsStore::groupEnd() const {
  size_t i = groupBegin();
  while (i < entries_.size() && entries_[i].kind != Entry::Kind::Group) ++i;
  return i;
}

std::optional<size_t> SettingsStore::findKey(std::string_view key) const {
  for (size_t i = groupBegin(), end = groupEnd(); i < end; ++i) {
    if (entries_[i].kind == Entry::Kind::Key && settings::sameName(entries_[i].name, key)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> SettingsStore::readValue(std::string_view key) const {
  if (!isActive() || !pendingGroup_.empty()) return std::nullopt;
  const std::optional<size_t> at = findKey(storedName(key));
  if (!at) return std::nullopt;
  return entries_[*at].value;
}

void SettingsStore::writeValue(std::string_view key, std::string value) {
  if (!isActive()) return;
  std::string name = storedName(key);
  if (!pendingGroup_.empty()) {
    entries_.push_back(Entry{Entry::Kind::Group, std::move(pendingGroup_), {}});
    pendingGroup_.clear();
    currentGroup_ = entries_.size() - 1;
  }
  if (const std::optional<size_t> at = findKey(name)) {
    entries_[*at].name = std::move(name);
    entries_[*at].value = std::move(value);
  } else {
    const auto where = entries_.begin() + static_cast<std::ptrdiff_t>(groupEnd());
    entries_.insert(where, Entry{Entry::Kind::Key, std::move(name), std::move(value)});
  }
  modified_ = true;
}
