#include "flow/settings_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "launcher/catalogue.h"
#include "settings/settings_keys.h"

namespace fs = std::filesystem;

namespace {

// XDG base directories must be absolute: a relative one would depend on the
// folder the desktop happened to start the game in.
bool usable(const char* path) { return path != nullptr && path[0] == '/'; }

// Writing a scratch file is the only test that also holds for root and read-only mounts.
bool canWriteIn(const fs::path& folder) {
  std::error_code ec;
  if (!fs::create_directories(folder, ec) && ec) return false;
  if (!fs::is_directory(folder, ec)) return false;
  const fs::path probe = folder / ".schreibprobe";
  bool written = false;
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    written = out && (out << 'x') && out.flush();
  }
  fs::remove(probe, ec);
  return written;
}

}  // namespace

SettingsFolder findSettingsFolder(bool menuStart, const char* xdgDataHome, const char* home) {
  if (!menuStart) return {kSettingsFile, {}};
  fs::path base;
  if (usable(xdgDataHome))
    base = xdgDataHome;
  else if (usable(home))
    base = fs::path(home) / ".local" / "share";
  else
    return {kSettingsFile, {}};  // no home to go by: the current folder, as from a terminal
  const fs::path folder = base / "kaperfahrt";
  SettingsFolder found{(folder / kSettingsFile).string(), {}};
  if (!canWriteIn(folder))
    found.problem = filledIn(translatedText("SettingsFolder",
                                            "Der Ordner für die Einstellungen lässt sich nicht "
                                            "anlegen oder beschreiben:\n%1\n\nDas Spiel läuft "
                                            "mit den gespeicherten oder den Grundeinstellungen "
                                            "weiter; Änderungen werden nicht gespeichert."),
                             {folder.string()});
  return found;
}
