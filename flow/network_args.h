// How a network battle is asked for on the command line: "--host [PORT]" or
// "--join HOST[:PORT]".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/link.h"

struct NetworkStart {
  bool host = false;
  std::string address;  // the host to join
  uint16_t port = 0;
};

// "--host" with what follows it (null at the end of the line). A port is optional: `next`
// is taken (and `used` set to 1) only when it reads as one. Nothing, with `error` set, when
// `next` is neither a port nor another option.
std::optional<NetworkStart> hostOption(const char* next, int& used, std::string& error);

// What is wrong with an address to join, for the player.
std::string joinProblemText(JoinProblem problem);

// What the player typed or pasted to join; nothing, with `problem` (German) saying what is
// wrong with it, when it cannot be joined.
std::optional<NetworkStart> joinStart(std::string_view typed, std::string& problem);

// "--join" with the address that must follow it; `used` is 1 when it was taken.
std::optional<NetworkStart> joinOption(const char* next, int& used, std::string& error);
