#include "flow/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "flow/settings_folder.h"
#include "state/build_identity.h"

namespace {

// Takes the option into `line`; `next` is the argument after it (null at the end), `used`
// how many of the arguments after it the option took. False with `error` set when the
// option cannot be used.
using Take = bool (*)(CommandLine& line, const char* next, int& used, std::string& error);

struct Option {
  std::string_view name;
  std::string_view shortName;  // empty when there is none
  std::string_view value;      // as the usage names it, empty when the option takes none
  std::string_view help;       // lines after the first are separated by '\n'
  Take take;
};

bool takeNetwork(CommandLine& line, std::optional<NetworkStart> start, std::string& error) {
  if (!start) return false;
  if (line.network) {
    error = "nur eine von --host und --join";
    return false;
  }
  line.network = std::move(start);
  return true;
}

// The file after --verify or --replay; one of them only, as each plays a replay and ends.
bool takeReplayFile(CommandLine& line, std::optional<std::string> CommandLine::*into,
                    std::string_view option, const char* next, int& used, std::string& error) {
  if (next == nullptr) {
    error = std::string(option) + " braucht eine Datei";
    return false;
  }
  if (line.verify || line.replay) {
    error = "nur eine von --verify und --replay";
    return false;
  }
  line.*into = next;
  used = 1;
  return true;
}

constexpr std::array<Option, 7> kOptions = {{
    {kMenuStartOption, "", "",
     "die Einstellungen im eigenen Datenordner halten:\n"
     "$XDG_DATA_HOME/kaperfahrt, sonst\n"
     "~/.local/share/kaperfahrt (so startet es das Menü)",
     [](CommandLine& line, const char*, int&, std::string&) {
       line.menuStart = true;
       return true;
     }},
    {"--host", "", "[PORT]", "ein Netzwerkspiel anbieten (ohne PORT an 47111)",
     [](CommandLine& line, const char* next, int& used, std::string& error) {
       return takeNetwork(line, hostOption(next, used, error), error);
     }},
    {"--join", "", "RECHNER[:PORT]", "einem Netzwerkspiel beitreten",
     [](CommandLine& line, const char* next, int& used, std::string& error) {
       return takeNetwork(line, joinOption(next, used, error), error);
     }},
    {"--verify", "", "DATEI", "eine Wiederholung ohne Fenster abspielen und prüfen",
     [](CommandLine& line, const char* next, int& used, std::string& error) {
       return takeReplayFile(line, &CommandLine::verify, "--verify", next, used, error);
     }},
    {"--replay", "", "DATEI",
     "eine Wiederholung im Schlachtfenster zeigen und enden:\n"
     "1, 2, 4 das Tempo, P Pause, Pfeil links und rechts\n"
     "10 Sekunden zurück und vor, Esc beendet",
     [](CommandLine& line, const char* next, int& used, std::string& error) {
       return takeReplayFile(line, &CommandLine::replay, "--replay", next, used, error);
     }},
    {"--help", "-h", "", "diese Hilfe zeigen und enden",
     [](CommandLine& line, const char*, int&, std::string&) {
       line.help = true;
       return true;
     }},
    {"--version", "", "", "die Version zeigen und enden",
     [](CommandLine& line, const char*, int&, std::string&) {
       line.version = true;
       return true;
     }},
}};

const Option* findOption(std::string_view arg) {
  for (const Option& option : kOptions) {
    if (arg == option.name || (!option.shortName.empty() && arg == option.shortName)) {
      return &option;
    }
  }
  return nullptr;
}

// "-h, --help", "--host [PORT]": the option as the usage's left column shows it.
std::string synopsis(const Option& option) {
  std::string text;
  if (!option.shortName.empty()) text.append(option.shortName).append(", ");
  text.append(option.name);
  if (!option.value.empty()) text.append(" ").append(option.value);
  return text;
}

}  // namespace

std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, std::string& error) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const Option* option = findOption(arg);
    if (option == nullptr) {
      error = arg.substr(0, 1) == "-" ? "unbekannte Option: " + std::string(arg)
                                      : "unerwartetes Argument: " + std::string(arg);
      return std::nullopt;
    }
    int used = 0;
    if (!option->take(line, i + 1 < argc ? argv[i + 1] : nullptr, used, error)) {
      return std::nullopt;
    }
    i += used;
  }
  return line;
}

std::string usageText() {
  size_t width = 0;
  for (const Option& option : kOptions) width = std::max(width, synopsis(option).size());
  const std::string indent(2 + width + 2, ' ');
  std::string text =
      "Aufruf: kaperfahrt [OPTION …]\n"
      "Seeschlachten zwischen Segelkriegsschiffen. Ohne Option beginnt das Spiel\n"
      "mit dem Startfenster „Kaper-Fahrt“.\n\n";
  for (const Option& option : kOptions) {
    const std::string left = synopsis(option);
    text += "  " + left + std::string(width - left.size() + 2, ' ');
    for (const char c : option.help) text += c == '\n' ? "\n" + indent : std::string(1, c);
    text += '\n';
  }
  text += "\nMehr in der Anleitung: man kaperfahrt\n";
  return text;
}

std::string versionText() { return "kaperfahrt " + std::string(gameVersion()) + "\n"; }
