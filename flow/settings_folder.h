// Where the settings file lives. Started from a terminal the game keeps it in the current
// folder; started from the desktop's menu (which starts programs in the home folder, where a
// loose settings file is out of place) it keeps it in a folder of its own under
// $XDG_DATA_HOME (default ~/.local/share).
#pragma once

#include <string>

// The command-line option the desktop entry starts the game with.
inline constexpr char kMenuStartOption[] = "--desktop";

struct SettingsFolder {
  std::string file;     // the settings file to read and write
  std::string problem;  // Latin-1 message for the player when the folder is unusable, else empty
};

// For a menu start: creates <data home>/kaperfahrt when missing and checks that a file can be
// written there. When it cannot, `problem` says so; `file` still names the file in that
// folder, so a settings file already there is read and the game plays with defaults
// otherwise (saves then write nothing). The environment values may be null.
SettingsFolder findSettingsFolder(bool menuStart, const char* xdgDataHome, const char* home);
