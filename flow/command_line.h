// The game's command line. One table of options serves both the reading of the arguments
// and the usage that --help prints, so that a new option is one row in it.
#pragma once

#include <optional>
#include <string>

#include "flow/network_args.h"

struct CommandLine {
  bool menuStart = false;  // --desktop: the settings in the player's data folder
  std::optional<NetworkStart> network;
  std::optional<std::string> verify;  // --verify FILE: the replay to check
  std::optional<std::string> replay;  // --replay FILE: the replay to watch
  bool help = false, version = false;
};

// Reads the arguments after the program's name. Nothing, with `error` saying what in one
// line, for an unknown option, an argument that belongs to no option or an option's value
// that cannot be used.
std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, std::string& error);

// How to start the game, in German (UTF-8), one line per option, ending with a newline.
std::string usageText();

// What --version prints, ending with a newline.
std::string versionText();
