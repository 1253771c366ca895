#include "flow/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Args = std::vector<const char*>;

// The arguments after the program's name.
std::optional<CommandLine> read(const Args& args, std::string& error) {
  Args argv = {"kaperfahrt"};
  argv.insert(argv.end(), args.begin(), args.end());
  return readCommandLine(static_cast<int>(argv.size()), argv.data(), error);
}

std::string nameOf(const Args& args) {
  std::string name;
  for (const char* a : args) name += std::string(a) + " ";
  return name;
}

TEST(CommandLine, OptionsAndTheirValues) {
  const struct {
    Args args;
    bool menuStart, help, version;
    std::optional<NetworkStart> network;
  } cases[] = {
      {{}, false, false, false, {}},
      {{"--desktop", "--desktop"}, true, false, false, {}},
      {{"-h"}, false, true, false, {}},
      {{"--version", "--help"}, false, true, true, {}},
      {{"--host"}, false, false, false, NetworkStart{true, {}, 47111}},
      {{"--host", "5000"}, false, false, false, NetworkStart{true, {}, 5000}},
      {{"--host", "65535"}, false, false, false, NetworkStart{true, {}, 65535}},
      {{"--host", "--desktop"}, true, false, false, NetworkStart{true, {}, 47111}},
      {{"--desktop", "--join", "10.0.0.2"},
       true,
       false,
       false,
       NetworkStart{false, "10.0.0.2", 47111}},
      {{"--join", "127.0.0.1:47112"}, false, false, false, NetworkStart{false, "127.0.0.1", 47112}},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<CommandLine> line = read(c.args, error);
    ASSERT_TRUE(line) << nameOf(c.args) << error;
    EXPECT_EQ(line->menuStart, c.menuStart) << nameOf(c.args);
    EXPECT_EQ(line->help, c.help) << nameOf(c.args);
    EXPECT_EQ(line->version, c.version) << nameOf(c.args);
    ASSERT_EQ(line->network.has_value(), c.network.has_value()) << nameOf(c.args);
    if (c.network) {
      EXPECT_EQ(line->network->host, c.network->host) << nameOf(c.args);
      EXPECT_EQ(line->network->address, c.network->address) << nameOf(c.args);
      EXPECT_EQ(line->network->port, c.network->port) << nameOf(c.args);
    }
  }
}

TEST(CommandLine, AReplayToWatchOrToCheck) {
  std::string error;
  EXPECT_EQ(read({"--replay", "x.kfr"}, error)->replay, "x.kfr");
  EXPECT_EQ(read({"--verify", "--replay"}, error)->verify, "--replay");  // a file so named
}

TEST(CommandLine, WhatCannotBeUsedIsRefusedInOneLine) {
  const struct {
    Args args;
    const char* error;  // how the line begins
  } cases[] = {
      {{"--host", "65536"}, "--host: kein Port: 65536"},
      {{"--host", "0"}, "--host: kein Port: 0"},
      {{"--host", "hafen"}, "--host: kein Port: hafen"},
      {{"--join"}, "--join braucht RECHNER[:PORT]"},
      {{"--join", "a:0"}, "--join braucht"},
      {{"--join", "::1"}, "--join braucht RECHNER[:PORT]: IPv6-Adressen gehen nicht"},
      {{"--join", "--host"}, "--join braucht"},
      {{"--host", "--join", "b"}, "nur eine von --host und --join"},
      {{"--desktopx"}, "unbekannte Option: --desktopx"},
      {{"-x", "--help"}, "unbekannte Option: -x"},
      {{"desktop"}, "unerwartetes Argument: desktop"},
      {{"--host", "5000", "6000"}, "unerwartetes Argument: 6000"},
      {{"--replay"}, "--replay braucht eine Datei"},
      {{"--verify", "a.kfr", "--replay", "a.kfr"}, "nur eine von --verify und --replay"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(read(c.args, error)) << nameOf(c.args);
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << nameOf(c.args) << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << nameOf(c.args);
  }
}

// Every option with its value, in lines that fit a terminal of 80 columns.
TEST(CommandLine, TheUsageNamesEveryOptionInLinesOfEightyColumns) {
  const std::string usage = usageText();
  for (const char* option : {"--desktop", "--host [PORT]", "--join RECHNER[:PORT]", "-h, --help",
                             "--version", "47111", "--verify DATEI", "--replay DATEI"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  std::istringstream lines(usage);
  for (std::string line; std::getline(lines, line);) {
    size_t columns = 0;
    for (const char c : line) columns += (c & 0xC0) != 0x80 ? 1 : 0;  // UTF-8 characters
    EXPECT_LE(columns, 80u) << line;
  }
  EXPECT_EQ(versionText(), "kaperfahrt 1.0\n");
}

}  // namespace
